#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The stored fields of the two data tables as the program reads and writes
// them, in view order: what export writes, import checks and a restored
// database must have.
namespace Tables {

enum class Kind { Text, Number, Date };

struct Column {
    QString name;
    Kind kind;
    int size = 0;      // most characters of a text field
    bool key = false;  // the table's primary key
};

struct Layout {
    QString name;
    std::vector<Column> columns;
};

// DataPelanggan, then DataBarang.
const std::vector<Layout>& data();
// The operator account's table and its columns, the name first.
inline const QString kOperator = QStringLiteral("Operator");
const QStringList& operatorColumns();
// The computed line amount that export adds to DataBarang.
inline const QString kJumlahHarga = QStringLiteral("Jumlah Harga");

}

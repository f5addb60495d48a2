#pragma once

#include <QHash>
#include <QString>

#include <functional>

class QSqlDatabase;

// Whether a database really holds the program's tables, looked at before
// any of it is read: SQLite reads an unknown double-quoted column name as a
// text, so a missing column would otherwise come out as its own name in
// every row. Failures raise std::runtime_error naming the table and column.
namespace SchemaCheck {

// The columns of one table: name -> declared type (empty when the table is missing).
using Columns = QHash<QString, QString>;
using ColumnsOf = std::function<Columns(const QString& table)>;

// Checks DataPelanggan, DataBarang (every column with a fitting type) and
// Operator (its columns) through `columnsOf`; `database` names it in messages.
void require(const ColumnsOf& columnsOf, const QString& database);
// The same on a Qt Sql connection of either engine.
void require(QSqlDatabase& db, const QString& database);

}

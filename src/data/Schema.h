#pragma once

#include <QString>

class QSqlDatabase;

// The fixed schema of the database: tables DataPelanggan and DataBarang (the
// views name them "DataPelanggan.DB" and "DataBarang.DB"), the index
// "Kode Pelanggan" on DataBarang, and the operator account table.
namespace Schema {

// Creates the tables and the index in an empty database, in one transaction,
// and sets WAL mode with full synchronisation. Raises EDBEngineError on failure.
void create(QSqlDatabase& db);

}

#pragma once

#include <QString>

class QSqlDatabase;

// The fixed schema of the database: tables DataPelanggan and DataBarang (the
// views name them "DataPelanggan.DB" and "DataBarang.DB"), the index
// "Kode Pelanggan" on DataBarang, and the operator account table.
namespace Schema {

// Creates the tables and the index in an empty database, in one transaction,
// on SQLite or PostgreSQL; a SQLite file gets WAL mode with full
// synchronisation. `replace` first drops the tables in the same transaction.
// Raises EDBEngineError on failure.
void create(QSqlDatabase& db, bool replace = false);
// Drops the three tables (and the index with them).
void drop(QSqlDatabase& db);
// True for a connection to PostgreSQL.
bool isPostgres(const QSqlDatabase& db);

}

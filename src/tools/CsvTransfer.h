#pragma once

#include "data/AliasConfig.h"

#include <QString>

// The data tables as comma-separated files, one per table
// (DataPelanggan.csv, DataBarang.csv): UTF-8, a header row of the field
// names, dates as YYYY-MM-DD, numbers with "." as decimal separator, and in
// DataBarang.csv the computed column "Jumlah Harga". The database is SQLite
// or PostgreSQL. Failures raise std::runtime_error or EDBEngineError.
namespace CsvTransfer {

// Writes both files from one consistent reading of the database (SQLite or
// PostgreSQL: the same files for the same rows); returns the number of rows
// written.
qint64 exportTo(const AliasConfig::Alias& database, const QString& dir);

// Reads both files into an empty database in one transaction. Every value is
// checked first; the first bad one (with its file, line and column) rejects
// the whole import and nothing is written. "Jumlah Harga" is ignored.
qint64 importFrom(const AliasConfig::Alias& database, const QString& dir);

}

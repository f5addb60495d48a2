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
// PostgreSQL: the same files for the same rows), after checking that it has
// every column; returns the number of rows written. The files are put in
// place only when both are complete, followed by the manifest
// "export.manifest" with both files' sizes and SHA-256 sums; an earlier
// export in the folder stays whole until then.
qint64 exportTo(const AliasConfig::Alias& database, const QString& dir);

// Reads both files into an empty database in one transaction, record by
// record (little memory whatever their size). The files must match their
// manifest, unless `edited` says the user changed them. The first bad value
// (with its file, line and column) rejects the whole import and nothing is
// written. "Jumlah Harga" is ignored.
qint64 importFrom(const AliasConfig::Alias& database, const QString& dir, bool edited);

}

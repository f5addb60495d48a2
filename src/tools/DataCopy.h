#pragma once

#include "DatabaseCare.h"

class QSqlDatabase;

// Copies the customers, the order lines and the operator account from one
// database to another, SQLite or PostgreSQL, row for row. Failures raise
// EDBEngineError or std::runtime_error with a text for the user.
namespace DataCopy {

// Row counts of the three tables.
DatabaseCare::Counts count(QSqlDatabase& db);

// Reads `from` in one consistent snapshot (a repeatable-read transaction on
// PostgreSQL) and writes every row into `to` in one transaction, after
// emptying its data tables when `replace` is set; the source's operator
// account always replaces the target's. Nothing is written on failure.
// Returns the counts copied.
DatabaseCare::Counts copy(QSqlDatabase& from, QSqlDatabase& to, bool replace);

}

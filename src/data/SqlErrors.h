#pragma once

#include <QString>

class QSqlError;

// Maps an error of a Qt Sql connection (SQLite or PostgreSQL) to the engine's
// error and raises it: a duplicate key is KeyViolation (9729), a missing
// required value RequiredField, a busy database RecordLocked, anything else
// General; the storage's text and native code follow as a second entry.
[[noreturn]] void raiseSqlError(const QSqlError& error, const QString& context);

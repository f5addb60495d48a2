#pragma once

#include <QString>

class QSqlError;

// Storage failures as the operator reads them. The first line names the kind
// of failure: "Key violation." (KeyViolation, 9729), "Field value required."
// (RequiredField), "Table is busy." (RecordLocked), else "Database error."
// (General). Each further line is a short plain sentence: the field a key or
// a required value concerns ("Field: Kode Pelanggan."), the cause ("The disk
// is full.", "The database file is read-only."), then the caller's context
// if it gives one (what was being done, in a sentence).
// The storage's own wording (constraint names, statements, the driver's
// "Unable to fetch row") is left out; it appears only, cleaned, for a cause
// no sentence here covers. The storage's code travels as the native code.

// A failure reported by the storage itself: `native` is SQLite's extended
// result code or PostgreSQL's SQLSTATE, `text` the storage's message.
[[noreturn]] void raiseStorageError(const QString& native, const QString& text, const QString& context);
// The same for an error of a Qt Sql connection (SQLite or PostgreSQL).
[[noreturn]] void raiseSqlError(const QSqlError& error, const QString& context);

#pragma once

#include <QByteArray>
#include <QString>

// Facts about a SQLite database file that decide how it can be opened.
namespace SqliteFiles {

// True when the file's folder can't be written, as on a write-protected
// medium: SQLite can't make the -wal and -shm files there, so the file can
// only be read, opened as immutable. A folder that can be written never
// counts, even when the file itself is read-only.
bool onReadOnlyMedium(const QString& path);
// The file's name as a SQLite URI that opens it immutable (no locks, no
// journal), for sqlite3_open_v2 with SQLITE_OPEN_URI and QSQLITE_OPEN_URI.
QString immutableUri(const QString& path);
// Raises EDBEngineError when a database on a read-only medium still has
// changes in its write-ahead log: read without it, recent changes would be
// missing.
void requireNoPendingLog(const QString& path);

}

#pragma once

#include "data/AliasConfig.h"

#include <QString>

// Backup and restore of a SQLite database file, and backup of a PostgreSQL
// database into one. Failures raise
// std::runtime_error with a text for the user.
namespace DatabaseCare {

struct Counts {
    qint64 customers = 0;  // DataPelanggan
    qint64 lines = 0;      // DataBarang
    qint64 operators = 0;  // Operator
    bool operator==(const Counts&) const = default;
};
QString describe(const Counts& counts);

// Checks that a database file has the tables with their fields and the
// index "Kode Pelanggan" (its contents are not read).
void checkTables(const QString& path);
// Checks a database file: integrity, the tables with their fields and the
// index "Kode Pelanggan"; returns its row counts.
Counts check(const QString& path);

// Copies the live database to `target` with the online backup API (a
// consistent snapshot while programs go on reading and writing), as a
// self-contained file in rollback-journal mode, checks the copy and only then
// moves it to its name.
Counts backup(const QString& database, const QString& target);

// Writes the data of a PostgreSQL database, read in one repeatable-read
// transaction, into a new database file `target` the program can open, and
// checks it like a backup of a SQLite database.
Counts backupFromServer(const AliasConfig::Alias& server, const QString& target);

// An exclusive lock on the in-use mark of a database file: granted only while
// no program (and no pwangsa-admin) has the database open, and while held none
// can open it. Raises std::runtime_error when the database is in use.
class InUseLock {
public:
    explicit InUseLock(const QString& database);
    ~InUseLock();
    InUseLock(const InUseLock&) = delete;
    InUseLock& operator=(const InUseLock&) = delete;

private:
    int m_fd = -1;
};

// Replaces the database with a checked copy of `source`, keeping the old one
// as "<database>.before-restore". Refuses while a program has the database
// open, and keeps programs from opening it until the switch is done.
Counts restore(const QString& source, const QString& database);

}

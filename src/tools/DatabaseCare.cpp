#include "DatabaseCare.h"

#include "DataCopy.h"
#include "SchemaCheck.h"
#include "SqliteHandle.h"

#include "data/RecordLock.h"
#include "data/Schema.h"
#include "data/SqlConnection.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace DatabaseCare {

namespace {

constexpr int kBusyRetries = 600;  // 30 s of 50 ms waits for a writer to finish

[[noreturn]] void failWith(const QString& text)
{
    throw std::runtime_error(text.toStdString());
}

// A file of ours with the files SQLite and the record locks keep beside it.
void removeFiles(const QString& path)
{
    for (const char* suffix : {"", "-wal", "-shm", "-journal", "-locks"})
        QFile::remove(path + QLatin1String(suffix));
}

// Copies `from` into the new file `to` with the backup API, all pages in one
// step: one read transaction, so the copy is one committed state and ends
// however busily other programs write meanwhile (they go on writing; in WAL
// mode a reader holds nobody up). Only a writer still starting up can keep
// the source busy, and that is waited for a bounded time.
void copy(const QString& from, const QString& to)
{
    SqliteHandle source(from, SqliteHandle::Open::Read);
    SqliteHandle target(to, SqliteHandle::Open::Create);
    sqlite3_backup* backup = sqlite3_backup_init(target.get(), "main", source.get(), "main");
    if (!backup)
        target.fail(QStringLiteral("Cannot start copying %1").arg(from));
    int result = SQLITE_OK;
    for (int busy = 0; busy < kBusyRetries; ++busy) {
        result = sqlite3_backup_step(backup, -1);
        if (result != SQLITE_BUSY && result != SQLITE_LOCKED)
            break;
        sqlite3_sleep(50);
    }
    const int finish = sqlite3_backup_finish(backup);
    if (result == SQLITE_BUSY || result == SQLITE_LOCKED)
        failWith(QStringLiteral("Cannot copy %1: it stayed busy for %2 seconds; try again later")
                     .arg(from)
                     .arg(kBusyRetries / 20));
    if (result != SQLITE_DONE || finish != SQLITE_OK)
        failWith(QStringLiteral("Cannot copy %1: %2").arg(from, QString::fromUtf8(sqlite3_errstr(result == SQLITE_DONE ? finish : result))));
    target.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
}

void checkSchema(SqliteHandle& db)
{
    SchemaCheck::require(
        [&db](const QString& table) {
            SchemaCheck::Columns columns;
            SqliteStatement query(db, QStringLiteral("SELECT name, type FROM pragma_table_info(?)"));
            query.bind(1, table);
            while (query.next())
                columns.insert(query.value(0).toString(), query.value(1).toString());
            return columns;
        },
        db.path());
    if (db.column(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='index' AND name='Kode Pelanggan' "
                                 "AND tbl_name='DataBarang'"))
            .value(0)
            .toInt()
        != 1)
        failWith(QStringLiteral("%1 is not a PWANGSA database: the index \"Kode Pelanggan\" is missing").arg(db.path()));
}

// Folds the write-ahead log of a database nobody has open into the file (so
// no log of the old file is ever read with the new one) and keeps the file
// under a second name.
void settleAndKeep(const QString& database, const QString& before)
{
    {
        SqliteHandle db(database);
        db.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        db.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    }
    removeFiles(before);
    if (::link(QFile::encodeName(database).constData(), QFile::encodeName(before).constData()) == 0)
        return;
    if (!QFile::copy(database, before))
        failWith(QStringLiteral("Cannot keep the previous database as %1").arg(before));
    QFile::setPermissions(before, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

// Copies and checks `from` as `staged`; the staged file is removed on failure.
Counts stage(const QString& from, const QString& staged)
{
    removeFiles(staged);
    try {
        copy(from, staged);
        return check(staged);
    } catch (...) {
        removeFiles(staged);
        throw;
    }
}

void moveInto(const QString& staged, const QString& target)
{
    if (::rename(QFile::encodeName(staged).constData(), QFile::encodeName(target).constData()) != 0) {
        removeFiles(staged);
        failWith(QStringLiteral("Cannot move %1 to %2: %3").arg(staged, target, QString::fromLocal8Bit(strerror(errno))));
    }
}

}

QString describe(const Counts& counts)
{
    return QStringLiteral("DataPelanggan %1 rows, DataBarang %2 rows, Operator %3 rows")
        .arg(counts.customers)
        .arg(counts.lines)
        .arg(counts.operators);
}

InUseLock::InUseLock(const QString& database)
{
    const QByteArray path = QFile::encodeName(database + QStringLiteral("-locks"));
    m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0)
        failWith(QStringLiteral("Cannot open the lock file %1").arg(QString::fromLocal8Bit(path)));
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = RecordLocks::kInUseByte;
    lock.l_len = 1;
    int result = 0;
    while ((result = ::fcntl(m_fd, F_SETLK, &lock)) != 0 && errno == EINTR) {
    }
    if (result != 0) {
        ::close(m_fd);
        failWith(QStringLiteral("The database %1 is in use by a running program; close PWANGSA (and any "
                                "pwangsa-admin working on it) everywhere it is open and try again")
                     .arg(database));
    }
}

InUseLock::~InUseLock()
{
    ::close(m_fd);
}

void checkTables(const QString& path)
{
    SqliteHandle db(path, SqliteHandle::Open::Read);
    checkSchema(db);
}

Counts check(const QString& path)
{
    SqliteHandle db(path, SqliteHandle::Open::Read);
    const QVariantList integrity = db.column(QStringLiteral("PRAGMA integrity_check"));
    if (integrity.size() != 1 || integrity.first().toString() != QLatin1String("ok"))
        failWith(QStringLiteral("%1 is damaged: %2").arg(path, integrity.value(0).toString()));
    checkSchema(db);
    const auto count = [&db](const char* table) {
        return db.column(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(QLatin1String(table))).value(0).toLongLong();
    };
    return Counts{count("DataPelanggan"), count("DataBarang"), count("Operator")};
}

Counts backup(const QString& database, const QString& target)
{
    const Counts counts = stage(database, target + QStringLiteral(".part"));
    moveInto(target + QStringLiteral(".part"), target);
    return counts;
}

Counts restore(const QString& source, const QString& database)
{
    const InUseLock lock(database);
    const QString staged = database + QStringLiteral(".restoring");
    const Counts counts = stage(source, staged);
    if (QFileInfo::exists(database)) {
        try {
            settleAndKeep(database, database + QStringLiteral(".before-restore"));
        } catch (...) {
            removeFiles(staged);
            throw;
        }
    }
    moveInto(staged, database);
    return counts;
}

Counts backupFromServer(const AliasConfig::Alias& server, const QString& target)
{
    const QString staged = target + QStringLiteral(".part");
    removeFiles(staged);
    try {
        SqliteHandle(staged, SqliteHandle::Open::Create).exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
        AliasConfig::Alias file;
        file.driver = AliasConfig::kSqlite;
        file.path = staged;
        Counts copied;
        SqlConnection::with(server, QStringLiteral("pwangsa-backup-source"), [&](QSqlDatabase& from) {
            SqlConnection::with(file, QStringLiteral("pwangsa-backup-target"), [&](QSqlDatabase& to) {
                Schema::create(to);
                copied = DataCopy::copy(from, to, false);
            });
        });
        SqliteHandle(staged).exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
        const Counts checked = check(staged);
        if (!(checked == copied))
            failWith(QStringLiteral("The copy in %1 holds %2, but %3 were read").arg(staged, describe(checked), describe(copied)));
        moveInto(staged, target);
        QFile::remove(staged + QStringLiteral("-locks"));  // the staged file's, now of no use
        return checked;
    } catch (...) {
        removeFiles(staged);
        throw;
    }
}

}

#pragma once

#include "KeysetCursor.h"
#include "SqlErrors.h"
#include "StorageEngine.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>

class RecordLocks;
struct sqlite3;
struct sqlite3_stmt;

// The SQLite engine: one Qt Sql connection per database file and process,
// WAL journal with full synchronisation, every write one committed transaction.
class SqliteDatabase : public StorageDatabase, public std::enable_shared_from_this<SqliteDatabase> {
public:
    // Opens an existing file; a missing file raises FileNotFound.
    explicit SqliteDatabase(const QString& path);
    ~SqliteDatabase() override;

    std::unique_ptr<StorageTable> openTable(const QString& tableName) override;
    QString path() const override { return m_path; }

    // A prepared statement, kept for reuse; raises on a preparation error.
    QSqlQuery& prepared(const QString& sql);
    // Runs a statement with its bound values; raises the mapped engine error.
    void execute(QSqlQuery& query);
    // Runs a SELECT straight on the connection's sqlite3 handle (reading many
    // rows through Qt Sql's value layer costs several times more). Its last
    // bound value is the row limit (or, for one row, the offset).
    QList<StorageRow> selectRows(const QString& sql, const QVariantList& values, int width);
    // Runs work inside BEGIN IMMEDIATE ... COMMIT, rolling back on failure.
    template <class Work> void inTransaction(Work&& work);
    RecordLocks& locks() { return *m_locks; }
    QSqlDatabase connection() const { return QSqlDatabase::database(m_connectionName, false); }

private:
    void run(const QString& sql);
    // Raises FileNotFound when the file at the path is no longer the one this
    // connection opened (deleted or replaced): its writes would go nowhere.
    void checkFileInPlace() const;

    QString m_path;
    quint64 m_fileDevice = 0;
    quint64 m_fileInode = 0;
    QString m_connectionName;
    QHash<QString, QSqlQuery> m_statements;
    QHash<QString, sqlite3_stmt*> m_selects;
    sqlite3* m_handle = nullptr;
    std::shared_ptr<RecordLocks> m_locks;
};

template <class Work>
void SqliteDatabase::inTransaction(Work&& work)
{
    checkFileInPlace();
    run(QStringLiteral("BEGIN IMMEDIATE"));
    try {
        work();
        run(QStringLiteral("COMMIT"));
    } catch (...) {
        QSqlQuery rollback(connection());
        rollback.exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

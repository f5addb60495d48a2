#pragma once

#include "AliasConfig.h"
#include "RecordLock.h"
#include "StorageEngine.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>

class PostgresDatabase;

// Record locks between programs on one PostgreSQL database: session-level
// advisory locks of this process's connection, which the server drops when
// the connection ends, so a program that dies releases its locks. When the
// connection is lost, the locks held through it are gone: an owner that
// held one must cancel and edit again (checkNotLost) rather than overwrite a
// record someone else may have changed meanwhile.
class PostgresLocks : public RecordLockTable {
public:
    explicit PostgresLocks(PostgresDatabase& db) : m_db(db) {}

    // The connection was replaced: every lock held until now is lost.
    void connectionReplaced();
    // Raises ConnectionLost when the owner's lock on key went with a lost connection.
    void checkNotLost(const QString& key, const void* owner) const;
    // Forgets a lost lock (the owner cancelled or finished).
    void forget(const QString& key, const void* owner) { m_lost.remove({key, owner}); }

protected:
    bool lockOthers(const QString& key) override;
    void unlockOthers(const QString& key) override;

private:
    PostgresDatabase& m_db;
    QSet<std::pair<QString, const void*>> m_lost;
};

// The PostgreSQL engine: one Qt Sql connection per alias and process; every
// write is one statement, committed on its own. A broken connection raises
// ConnectionLost once; the next operation connects again.
class PostgresDatabase : public StorageDatabase, public std::enable_shared_from_this<PostgresDatabase> {
public:
    // Connects; raises ConnectionFailed with the server's message.
    PostgresDatabase(const AliasConfig::Alias& alias, const QString& aliasName);
    ~PostgresDatabase() override;

    std::unique_ptr<StorageTable> openTable(const QString& tableName) override;
    QString path() const override { return m_alias.describe(); }

    // Runs a statement (prepared once and kept) with its values and returns
    // it positioned before its first row; raises the mapped engine error.
    QSqlQuery& run(const QString& sql, const QVariantList& values);
    PostgresLocks& locks() { return m_locks; }
    // Connects again after a lost connection; raises ConnectionFailed.
    void reconnectIfLost();

private:
    void connect();
    [[noreturn]] void fail(const QSqlError& error);
    bool connectionAlive();

    AliasConfig::Alias m_alias;
    QString m_connectionName;
    QHash<QString, QSqlQuery> m_statements;
    PostgresLocks m_locks;
    bool m_lost = false;
};

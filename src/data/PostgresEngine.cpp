#include "PostgresEngine.h"

#include "Exceptions.h"
#include "KeysetCursor.h"
#include "SqlConnection.h"
#include "SqlErrors.h"

#include <QMap>
#include <QSqlError>

// ---------------------------------------------------------------- locks

bool PostgresLocks::lockOthers(const QString& key)
{
    QSqlQuery& query = m_db.run(QStringLiteral("SELECT pg_try_advisory_lock(?)"),
                                {qint64(recordLockNumber(key))});
    const bool locked = query.next() && query.value(0).toBool();
    query.finish();
    return locked;
}

void PostgresLocks::unlockOthers(const QString& key)
{
    try {
        m_db.run(QStringLiteral("SELECT pg_advisory_unlock(?)"), {qint64(recordLockNumber(key))})
            .finish();
    } catch (const EDBEngineError&) {
        // A lock that can't be released went with its connection.
    }
}

void PostgresLocks::connectionReplaced()
{
    for (auto it = owners().cbegin(); it != owners().cend(); ++it)
        m_lost.insert({it.key(), it.value()});
    owners().clear();
}

void PostgresLocks::checkNotLost(const QString& key, const void* owner) const
{
    if (m_lost.contains({key, owner}))
        raiseEngineError(EngineCode::ConnectionLost,
                         QStringLiteral("The connection to the database server was lost while this record was being "
                                        "edited; cancel and edit the record again."));
}

// ---------------------------------------------------------------- database

namespace {

// SQLSTATE classes of a broken connection or a server going away; an error
// without a SQLSTATE comes from the client library itself.
bool mayBeConnectionError(const QString& state)
{
    return state.isEmpty() || state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P"));
}

}

PostgresDatabase::PostgresDatabase(const AliasConfig::Alias& alias, const QString& aliasName)
    : m_alias(alias), m_connectionName(QStringLiteral("pwangsa-pg:") + aliasName), m_locks(*this)
{
    connect();
}

PostgresDatabase::~PostgresDatabase()
{
    m_statements.clear();
    SqlConnection::close(m_connectionName);
}

void PostgresDatabase::connect()
{
    SqlConnection::open(m_alias, m_connectionName);
}

void PostgresDatabase::reconnectIfLost()
{
    if (!m_lost)
        return;
    m_statements.clear();
    SqlConnection::close(m_connectionName);
    connect();
    m_lost = false;
    m_locks.connectionReplaced();
}

bool PostgresDatabase::connectionAlive()
{
    QSqlQuery probe(QSqlDatabase::database(m_connectionName, false));
    return probe.exec(QStringLiteral("SELECT 1"));
}

void PostgresDatabase::fail(const QSqlError& error)
{
    if (mayBeConnectionError(error.nativeErrorCode()) && !connectionAlive()) {
        m_lost = true;
        raiseEngineError(EngineCode::ConnectionLost,
                         QStringLiteral("The connection to the database server %1 was lost; nothing of this "
                                        "operation was written.")
                             .arg(path()),
                         (error.databaseText().isEmpty() ? error.text() : error.databaseText()).trimmed());
    }
    raiseSqlError(error, QString());
}

QSqlQuery& PostgresDatabase::run(const QString& sql, const QVariantList& values)
{
    reconnectIfLost();
    auto it = m_statements.find(sql);
    if (it == m_statements.end()) {
        QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
        query.setForwardOnly(true);
        if (!query.prepare(sql))
            fail(query.lastError());
        it = m_statements.insert(sql, query);
    }
    QSqlQuery& query = it.value();
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec()) {
        const QSqlError error = query.lastError();
        query.finish();
        m_statements.erase(it);
        fail(error);
    }
    return query;
}

// ---------------------------------------------------------------- table

namespace {

// PostgreSQL: NULL compared with IS NULL (so "=" can use the index), NULL
// sorted first like the other engine, dates bound as dates. A column that
// can't be NULL gets no NULLS clause, so its order matches a plain index.
class PostgresDialect : public SqlDialect {
public:
    QString always() const override { return QStringLiteral("TRUE"); }
    QString never() const override { return QStringLiteral("FALSE"); }
    QString equal(const QString& column, const QVariant& value, QVariantList& bound) const override
    {
        if (value.isNull())
            return column + QStringLiteral(" IS NULL");
        bound.append(value);
        return column + QStringLiteral(" = ?");
    }
    QString orderTerm(const QString& column, ScanDirection direction, bool nullable) const override
    {
        const bool forward = direction == ScanDirection::Forward;
        if (!nullable)
            return column + (forward ? QStringLiteral(" ASC") : QStringLiteral(" DESC"));
        return column + (forward ? QStringLiteral(" ASC NULLS FIRST") : QStringLiteral(" DESC NULLS LAST"));
    }
    QVariant toStorage(const QVariant& value) const override { return value.isNull() ? QVariant() : value; }
};

StorageType typeOf(const QString& declared)
{
    if (declared == QLatin1String("double precision") || declared == QLatin1String("real")
        || declared.startsWith(QLatin1String("numeric")))
        return StorageType::Float;
    if (declared == QLatin1String("date"))
        return StorageType::Date;
    return StorageType::String;
}

class PostgresTable : public SqlTableBase {
public:
    PostgresTable(std::shared_ptr<PostgresDatabase> db, const QString& name);

    void insert(const QStringList& columns, const QVariantList& values) override;
    void modify(const QVariantList& key, const QStringList& columns, const QVariantList& values,
                const void* owner) override;
    void remove(const QVariantList& key, const void* owner) override;
    void lock(const QVariantList& key, const void* owner) override
    {
        m_db->locks().acquireOrRaise(recordLockKey(m_name, key), owner);
    }
    void unlock(const QVariantList& key, const void* owner) override
    {
        const QString text = recordLockKey(m_name, key);
        m_db->locks().forget(text, owner);
        m_db->locks().release(text, owner);
    }

    const SqlDialect& dialect() const override { return m_dialect; }
    QList<StorageRow> selectRows(const QString& sql, const QVariantList& values, int width) override;
    qint64 selectCount(const QString& sql, const QVariantList& values) override;

private:
    void readColumns();
    void readIndexes();
    QString keyCondition(const QVariantList& key, QVariantList& bound) const;
    // Writes under the record's lock, refusing when that lock was lost;
    // `mustExist` raises RecordDeleted when no row was there.
    void writeLocked(const QVariantList& key, const void* owner, const QString& sql, const QVariantList& values,
                     bool mustExist);

    std::shared_ptr<PostgresDatabase> m_db;
    PostgresDialect m_dialect;
};

PostgresTable::PostgresTable(std::shared_ptr<PostgresDatabase> db, const QString& name)
    : SqlTableBase(name), m_db(std::move(db))
{
    readColumns();
    checkFound(name);
    readIndexes();
}

void PostgresTable::readColumns()
{
    QSqlQuery& info = m_db->run(QStringLiteral(
        "SELECT a.attname, format_type(a.atttypid, a.atttypmod), a.attnotnull, "
        "coalesce(array_position(i.indkey::int2[], a.attnum) - array_lower(i.indkey::int2[], 1) + 1, 0) "
        "FROM pg_attribute a LEFT JOIN pg_index i ON i.indrelid = a.attrelid AND i.indisprimary "
        "WHERE a.attrelid = to_regclass(?) AND a.attnum > 0 AND NOT a.attisdropped ORDER BY a.attnum"),
                                {m_quoted});
    QMap<int, QString> keyColumns;
    while (info.next()) {
        const QString column = info.value(0).toString();
        m_fields.append(StorageField{column, typeOf(info.value(1).toString()), 0, info.value(2).toBool()});
        if (info.value(3).toInt() > 0)
            keyColumns.insert(info.value(3).toInt(), column);
    }
    info.finish();
    m_primaryKey = keyColumns.values();
}

void PostgresTable::readIndexes()
{
    QSqlQuery& list = m_db->run(QStringLiteral(
        "SELECT c.relname, a.attname FROM pg_index i JOIN pg_class c ON c.oid = i.indexrelid "
        "CROSS JOIN LATERAL unnest(i.indkey::int2[]) WITH ORDINALITY AS k(attnum, n) "
        "JOIN pg_attribute a ON a.attrelid = i.indrelid AND a.attnum = k.attnum "
        "WHERE i.indrelid = to_regclass(?) AND NOT i.indisprimary ORDER BY c.relname, k.n"),
                                {m_quoted});
    while (list.next())
        addIndexColumn(list.value(0).toString(), list.value(1).toString());
    list.finish();
}

QList<StorageRow> PostgresTable::selectRows(const QString& sql, const QVariantList& values, int width)
{
    QSqlQuery& query = m_db->run(sql, values);
    StorageRowWriter rows;
    while (query.next()) {
        rows.beginRow(width);
        for (int column = 0; column < width; ++column)
            rows.addVariant(query.value(column));
        rows.endRow();
    }
    query.finish();
    return rows.takeRows();
}

qint64 PostgresTable::selectCount(const QString& sql, const QVariantList& values)
{
    QSqlQuery& query = m_db->run(sql, values);
    const qint64 result = query.next() ? query.value(0).toLongLong() : -1;
    query.finish();
    return result;
}

QString PostgresTable::keyCondition(const QVariantList& key, QVariantList& bound) const
{
    QStringList parts;
    for (int i = 0; i < m_primaryKey.size(); ++i)
        parts.append(m_dialect.equal(quoteName(m_primaryKey.at(i)), m_dialect.toStorage(key.value(i)), bound));
    return parts.join(QLatin1String(" AND "));
}

void PostgresTable::insert(const QStringList& columns, const QVariantList& values)
{
    QVariantList bound;
    for (const QVariant& value : values)
        bound.append(m_dialect.toStorage(value));
    m_db->run(insertStatement(columns), bound).finish();
}

void PostgresTable::writeLocked(const QVariantList& key, const void* owner, const QString& sql,
                                const QVariantList& values, bool mustExist)
{
    const QString text = recordLockKey(m_name, key);
    m_db->reconnectIfLost();  // which tells the locks that went with the old connection
    m_db->locks().checkNotLost(text, owner);
    m_db->locks().whileHeld(text, owner, [&] {
        QSqlQuery& query = m_db->run(sql, values);
        const int affected = query.numRowsAffected();
        query.finish();
        if (mustExist && affected == 0)
            raiseEngineError(EngineCode::RecordDeleted, QStringLiteral("Record/Key deleted."));
    });
}

void PostgresTable::modify(const QVariantList& key, const QStringList& columns, const QVariantList& values,
                           const void* owner)
{
    QVariantList bound;
    for (const QVariant& value : values)
        bound.append(m_dialect.toStorage(value));
    const QString where = keyCondition(key, bound);
    writeLocked(key, owner, updateStatement(columns, where), bound, true);
}

void PostgresTable::remove(const QVariantList& key, const void* owner)
{
    QVariantList bound;
    const QString where = keyCondition(key, bound);
    writeLocked(key, owner, deleteStatement(where), bound, false);
}

}

std::unique_ptr<StorageTable> PostgresDatabase::openTable(const QString& tableName)
{
    return std::make_unique<PostgresTable>(shared_from_this(), tableName);
}

#include "SqliteEngine.h"

#include "AliasConfig.h"
#include "Exceptions.h"
#include "RecordLock.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSqlError>
#include <QSet>
#include <QSqlDriver>

#include <sqlite3.h>
#include <sys/stat.h>

// ---------------------------------------------------------------- errors

void raiseEngineError(int code, const QString& message, const QString& detail, int nativeCode)
{
    QList<TDBError> errors{TDBError{code, message}};
    if (!detail.isEmpty())
        errors.append(TDBError{code, detail, nativeCode});
    throw EDBEngineError(errors);
}

void raiseSqlError(const QSqlError& error, const QString& context)
{
    const QString native = error.nativeErrorCode();
    const int nativeCode = native.toInt();
    const QString detail = error.text();
    if (native == QLatin1String("1555") || native == QLatin1String("2067"))
        raiseEngineError(EngineCode::KeyViolation, QStringLiteral("Key violation."), detail, nativeCode);
    if (native == QLatin1String("1299"))
        raiseEngineError(EngineCode::RequiredField, QStringLiteral("Field value required."), detail, nativeCode);
    if (native == QLatin1String("5") || native == QLatin1String("517") || native == QLatin1String("6"))
        raiseEngineError(EngineCode::RecordLocked, QStringLiteral("Table is busy: %1").arg(context), detail,
                         nativeCode);
    raiseEngineError(EngineCode::General, error.text(), context, nativeCode);
}

QString quoteName(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

namespace {

QVariant toStorage(const QVariant& value)
{
    if (value.isNull())
        return QVariant();
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(Qt::ISODate);
    return value;
}

// The text by which a record's lock is known in every process.
QString lockKey(const QString& table, const QVariantList& key)
{
    QString text = table;
    for (const QVariant& value : key) {
        text += QChar(0x1f);
        if (value.isNull())
            continue;
        text += value.typeId() == QMetaType::Double ? QString::number(value.toDouble(), 'g', 17)
                                                   : toStorage(value).toString();
    }
    return text;
}

StorageType typeOfDeclaration(const QString& declared)
{
    const QString type = declared.toUpper();
    if (type.contains(QLatin1String("REAL")) || type.contains(QLatin1String("FLOA"))
        || type.contains(QLatin1String("DOUB")))
        return StorageType::Float;
    if (type.contains(QLatin1String("DATE")))
        return StorageType::Date;
    return StorageType::String;
}

QString baseTableName(const QString& tableName)
{
    return tableName.endsWith(QLatin1String(".DB"), Qt::CaseInsensitive) ? tableName.chopped(3) : tableName;
}

QString joinConditions(const QStringList& parts)
{
    return parts.isEmpty() ? QStringLiteral("1") : parts.join(QLatin1String(" AND "));
}

}

// ---------------------------------------------------------------- database

SqliteDatabase::SqliteDatabase(const QString& path)
    : m_path(QFileInfo(path).absoluteFilePath())
    , m_connectionName(QStringLiteral("pwangsa:") + m_path)
{
    if (!QFileInfo(m_path).isFile())
        raiseEngineError(EngineCode::FileNotFound, QStringLiteral("Database file not found: %1").arg(path));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(m_path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
        const QSqlError error = db.lastError();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        raiseSqlError(error, QStringLiteral("Cannot open %1").arg(path));
    }
    try {
        run(QStringLiteral("PRAGMA journal_mode=WAL"));
        run(QStringLiteral("PRAGMA synchronous=FULL"));
        const QVariant handle = db.driver()->handle();
        if (qstrcmp(handle.typeName(), "sqlite3*") == 0)
            m_handle = *static_cast<sqlite3* const*>(handle.constData());
        if (!m_handle)
            raiseEngineError(EngineCode::General, QStringLiteral("Cannot open %1: no SQLite handle").arg(path));
        m_locks = RecordLocks::forDatabase(m_path);
        struct stat info {};
        if (::stat(QFile::encodeName(m_path).constData(), &info) == 0) {
            m_fileDevice = info.st_dev;
            m_fileInode = info.st_ino;
        }
    } catch (...) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        throw;
    }
}

SqliteDatabase::~SqliteDatabase()
{
    for (sqlite3_stmt* statement : std::as_const(m_selects))
        sqlite3_finalize(statement);
    m_statements.clear();
    {
        QSqlDatabase db = connection();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

void SqliteDatabase::run(const QString& sql)
{
    QSqlQuery query(connection());
    if (!query.exec(sql))
        raiseSqlError(query.lastError(), sql);
}

void SqliteDatabase::checkFileInPlace() const
{
    struct stat info {};
    if (::stat(QFile::encodeName(m_path).constData(), &info) != 0 || info.st_dev != m_fileDevice
        || info.st_ino != m_fileInode) {
        raiseEngineError(EngineCode::FileNotFound,
                         QStringLiteral("Database file %1 was removed or replaced while in use; "
                                        "the change was not written").arg(m_path));
    }
}

QSqlQuery& SqliteDatabase::prepared(const QString& sql)
{
    auto it = m_statements.find(sql);
    if (it == m_statements.end()) {
        QSqlQuery query(connection());
        query.setForwardOnly(true);
        if (!query.prepare(sql))
            raiseSqlError(query.lastError(), sql);
        it = m_statements.insert(sql, query);
    }
    return it.value();
}

void SqliteDatabase::execute(QSqlQuery& query, const QString& context)
{
    if (!query.exec()) {
        const QSqlError error = query.lastError();
        query.finish();
        raiseSqlError(error, context);
    }
}

namespace {

void bindValue(sqlite3_stmt* statement, int index, const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        sqlite3_bind_null(statement, index);
        break;
    case QMetaType::Double:
        sqlite3_bind_double(statement, index, value.toDouble());
        break;
    case QMetaType::Int:
    case QMetaType::LongLong:
        sqlite3_bind_int64(statement, index, value.toLongLong());
        break;
    default:
        if (value.isNull()) {
            sqlite3_bind_null(statement, index);
        } else {
            const QByteArray text = value.toString().toUtf8();
            sqlite3_bind_text(statement, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        }
    }
}

QVariant columnValue(sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return qint64(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(statement, column);
    case SQLITE_TEXT:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                                 sqlite3_column_bytes(statement, column));
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, column)),
                          sqlite3_column_bytes(statement, column));
    default:
        return QVariant();
    }
}

[[noreturn]] void raiseSqliteError(sqlite3* handle, const QString& sql)
{
    const int code = sqlite3_extended_errcode(handle);
    const QString text = QString::fromUtf8(sqlite3_errmsg(handle));
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
        raiseEngineError(EngineCode::RecordLocked, QStringLiteral("Table is busy."), text, code);
    raiseEngineError(EngineCode::General, text, sql, code);
}

}

QList<StorageRow> SqliteDatabase::selectRows(const QString& sql, const QVariantList& values, int width)
{
    sqlite3_stmt*& statement = m_selects[sql];
    if (!statement) {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v3(m_handle, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT, &statement,
                               nullptr) != SQLITE_OK) {
            m_selects.remove(sql);
            raiseSqliteError(m_handle, sql);
        }
    }
    for (int i = 0; i < values.size(); ++i)
        bindValue(statement, i + 1, values.at(i));
    QList<StorageRow> rows;
    rows.reserve(values.isEmpty() ? 0 : values.last().toInt());
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        StorageRow row;
        row.reserve(width);
        for (int column = 0; column < width; ++column)
            row.append(columnValue(statement, column));
        rows.append(std::move(row));
    }
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (step != SQLITE_DONE)
        raiseSqliteError(m_handle, sql);
    return rows;
}

// ---------------------------------------------------------------- table

namespace {

class SqliteTable : public StorageTable {
public:
    SqliteTable(std::shared_ptr<SqliteDatabase> db, const QString& name);

    QString name() const override { return m_name; }
    QList<StorageField> fields() const override { return m_fields; }
    QStringList primaryKey() const override { return m_primaryKey; }
    QList<StorageIndex> indexes() const override { return m_indexes; }
    std::unique_ptr<StorageCursor> openCursor(const QString& indexName) override;

    void insert(const QStringList& columns, const QVariantList& values) override;
    void modify(const QVariantList& key, const QStringList& columns, const QVariantList& values,
                const void* owner) override;
    void remove(const QVariantList& key, const void* owner) override;
    void lock(const QVariantList& key, const void* owner) override;
    void unlock(const QVariantList& key, const void* owner) override;

    SqliteDatabase& database() { return *m_db; }
    const QString& quotedName() const { return m_quoted; }

private:
    void readColumns();
    void readIndexes();
    QString keyCondition() const;
    void bindAll(QSqlQuery& query, const QVariantList& values);
    // Runs work holding the record's lock, taking it for the time of the work
    // when the owner doesn't hold it already.
    template <class Work> void underLock(const QVariantList& key, const void* owner, Work&& work);

    std::shared_ptr<SqliteDatabase> m_db;
    QString m_name;
    QString m_quoted;
    QList<StorageField> m_fields;
    QStringList m_primaryKey;
    QList<StorageIndex> m_indexes;
};

class SqliteCursor : public StorageCursor {
public:
    SqliteCursor(SqliteTable& table, const QStringList& order);

    QStringList columns() const override { return m_columns; }
    QList<int> orderKey() const override { return m_orderKey; }
    QList<int> primaryKey() const override { return m_primaryKeyIndexes; }
    void setRange(const QVariantList& values) override { m_range = values; }
    void clearRange() override { m_range.clear(); }
    QList<StorageRow> fetch(const QVariantList& from, ScanDirection direction, bool inclusive,
                            int limit) override;
    std::optional<StorageRow> findKey(const QStringList& columns, const QVariantList& values,
                                      int partialLength, bool caseInsensitive) override;
    qint64 count() override;

private:
    void addRangeConditions(QStringList& where, QVariantList& bound) const;
    void addKeysetCondition(QStringList& where, QVariantList& bound, const QVariantList& from,
                            ScanDirection direction, bool inclusive) const;
    QString orderBy(const QStringList& order, ScanDirection direction) const;
    QList<StorageRow> select(const QStringList& where, const QVariantList& bound,
                             const QString& order, int limit);

    SqliteTable& m_table;
    QStringList m_order;
    QStringList m_columns;
    QString m_selectList;
    QList<int> m_orderKey;
    QList<int> m_primaryKeyIndexes;
    QSet<QString> m_notNull;
    QVariantList m_range;
};

SqliteTable::SqliteTable(std::shared_ptr<SqliteDatabase> db, const QString& name)
    : m_db(std::move(db)), m_name(baseTableName(name)), m_quoted(quoteName(m_name))
{
    readColumns();
    if (m_fields.isEmpty())
        raiseEngineError(EngineCode::NoSuchTable, QStringLiteral("Table does not exist: %1").arg(name));
    readIndexes();
}

void SqliteTable::readColumns()
{
    QSqlQuery& info = m_db->prepared(QStringLiteral("SELECT name, type, pk, \"notnull\" FROM pragma_table_info(?)"));
    info.addBindValue(m_name);
    m_db->execute(info, m_name);
    QMap<int, QString> keyColumns;
    while (info.next()) {
        m_fields.append(StorageField{info.value(0).toString(), typeOfDeclaration(info.value(1).toString()), 0,
                                     info.value(3).toInt() != 0});
        if (info.value(2).toInt() > 0)
            keyColumns.insert(info.value(2).toInt(), info.value(0).toString());
    }
    info.finish();
    m_primaryKey = keyColumns.values();
}

void SqliteTable::readIndexes()
{
    QSqlQuery& list = m_db->prepared(QStringLiteral(
        "SELECT il.name, ii.name FROM pragma_index_list(?) AS il, pragma_index_info(il.name) AS ii "
        "WHERE il.origin = 'c' ORDER BY il.name, ii.seqno"));
    list.addBindValue(m_name);
    m_db->execute(list, m_name);
    while (list.next()) {
        const QString index = list.value(0).toString();
        if (m_indexes.isEmpty() || m_indexes.last().name != index)
            m_indexes.append(StorageIndex{index, {}});
        m_indexes.last().columns.append(list.value(1).toString());
    }
    list.finish();
}

std::unique_ptr<StorageCursor> SqliteTable::openCursor(const QString& indexName)
{
    QStringList order;
    if (!indexName.isEmpty()) {
        auto it = std::find_if(m_indexes.cbegin(), m_indexes.cend(),
                               [&](const StorageIndex& index) { return index.name == indexName; });
        if (it == m_indexes.cend())
            raiseEngineError(EngineCode::NoSuchIndex,
                             QStringLiteral("Index does not exist. Index: %1").arg(indexName));
        order = it->columns;
    }
    for (const QString& column : m_primaryKey) {
        if (!order.contains(column))
            order.append(column);
    }
    return std::make_unique<SqliteCursor>(*this, order);
}

QString SqliteTable::keyCondition() const
{
    QStringList parts;
    for (const QString& column : m_primaryKey)
        parts.append(quoteName(column) + QStringLiteral(" IS ?"));
    return joinConditions(parts);
}

void SqliteTable::bindAll(QSqlQuery& query, const QVariantList& values)
{
    for (const QVariant& value : values)
        query.addBindValue(toStorage(value));
}

template <class Work>
void SqliteTable::underLock(const QVariantList& key, const void* owner, Work&& work)
{
    const QString text = lockKey(m_name, key);
    const bool held = m_db->locks().heldBy(text, owner);
    if (!held && !m_db->locks().acquire(text, owner))
        raiseEngineError(EngineCode::RecordLocked, QStringLiteral("Record locked by another user."));
    try {
        work();
    } catch (...) {
        if (!held)
            m_db->locks().release(text, owner);
        throw;
    }
    if (!held)
        m_db->locks().release(text, owner);
}

void SqliteTable::insert(const QStringList& columns, const QVariantList& values)
{
    QStringList names;
    QStringList marks;
    for (const QString& column : columns) {
        names.append(quoteName(column));
        marks.append(QStringLiteral("?"));
    }
    QSqlQuery& query = m_db->prepared(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                          .arg(m_quoted, names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    // Values are bound once the transaction has begun: bound before a BEGIN
    // that fails (busy, read-only), they would stay on the kept statement and
    // break every later write through it.
    m_db->inTransaction([&] {
        bindAll(query, values);
        m_db->execute(query, m_name);
    });
}

void SqliteTable::modify(const QVariantList& key, const QStringList& columns, const QVariantList& values,
                         const void* owner)
{
    QStringList sets;
    for (const QString& column : columns)
        sets.append(quoteName(column) + QStringLiteral(" = ?"));
    QSqlQuery& query = m_db->prepared(
        QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(m_quoted, sets.join(QLatin1Char(',')), keyCondition()));
    underLock(key, owner, [&] {
        m_db->inTransaction([&] {
            bindAll(query, values);
            bindAll(query, key);
            m_db->execute(query, m_name);
        });
        if (query.numRowsAffected() == 0)
            raiseEngineError(EngineCode::RecordDeleted, QStringLiteral("Record/Key deleted."));
    });
}

void SqliteTable::remove(const QVariantList& key, const void* owner)
{
    QSqlQuery& query = m_db->prepared(QStringLiteral("DELETE FROM %1 WHERE %2").arg(m_quoted, keyCondition()));
    underLock(key, owner, [&] {
        m_db->inTransaction([&] {
            bindAll(query, key);
            m_db->execute(query, m_name);
        });
    });
}

void SqliteTable::lock(const QVariantList& key, const void* owner)
{
    if (!m_db->locks().acquire(lockKey(m_name, key), owner))
        raiseEngineError(EngineCode::RecordLocked, QStringLiteral("Record locked by another user."));
}

void SqliteTable::unlock(const QVariantList& key, const void* owner)
{
    m_db->locks().release(lockKey(m_name, key), owner);
}

// ---------------------------------------------------------------- cursor

SqliteCursor::SqliteCursor(SqliteTable& table, const QStringList& order) : m_table(table), m_order(order)
{
    for (const StorageField& field : table.fields()) {
        m_columns.append(field.name);
        if (field.required)
            m_notNull.insert(field.name);
    }
    QStringList quoted;
    for (const QString& column : m_columns)
        quoted.append(quoteName(column));
    m_selectList = quoted.join(QLatin1Char(','));
    for (const QString& column : m_order)
        m_orderKey.append(int(m_columns.indexOf(column)));
    for (const QString& column : table.primaryKey())
        m_primaryKeyIndexes.append(int(m_columns.indexOf(column)));
}

void SqliteCursor::addRangeConditions(QStringList& where, QVariantList& bound) const
{
    for (int i = 0; i < m_range.size(); ++i) {
        where.append(quoteName(m_order.at(i)) + QStringLiteral(" IS ?"));
        bound.append(toStorage(m_range.at(i)));
    }
}

// Rows after (before) `from` in the cursor's order, written so that SQLite
// seeks in the index. NULL sorts first: "greater than NULL" is "not NULL" and
// nothing is smaller than NULL.
void SqliteCursor::addKeysetCondition(QStringList& where, QVariantList& bound, const QVariantList& from,
                                      ScanDirection direction, bool inclusive) const
{
    const bool forward = direction == ScanDirection::Forward;
    const int fixed = int(m_range.size());
    const int last = int(m_order.size()) - 1;
    QStringList alternatives;
    QString equalPrefix;
    QVariantList prefixValues;
    for (int i = fixed; i <= last; ++i) {
        const QString column = quoteName(m_order.at(i));
        const QVariant value = toStorage(from.at(i));
        const bool orEqual = inclusive && i == last;
        QString beyond;
        if (forward && value.isNull())
            beyond = orEqual ? QStringLiteral("1") : column + QStringLiteral(" IS NOT NULL");
        else if (forward)
            beyond = column + (orEqual ? QStringLiteral(" >= ?") : QStringLiteral(" > ?"));
        else if (value.isNull())
            beyond = orEqual ? column + QStringLiteral(" IS NULL") : QString();
        else if (m_notNull.contains(m_order.at(i)))
            beyond = column + (orEqual ? QStringLiteral(" <= ?") : QStringLiteral(" < ?"));
        else
            beyond = QStringLiteral("(%1 %2 ? OR %1 IS NULL)").arg(column, orEqual ? QStringLiteral("<=") : QStringLiteral("<"));
        if (!beyond.isEmpty()) {
            alternatives.append(QStringLiteral("(%1%2)").arg(equalPrefix, beyond));
            bound += prefixValues;
            if (!value.isNull())
                bound.append(value);
        }
        equalPrefix += column + QStringLiteral(" IS ? AND ");
        prefixValues.append(value);
    }
    where.append(alternatives.isEmpty() ? QStringLiteral("0") : QStringLiteral("(%1)").arg(alternatives.join(QLatin1String(" OR "))));
    // A bound on the first column alone lets the index seek past the alternatives.
    const QVariant first = toStorage(from.value(fixed));
    if (last > fixed && !first.isNull() && (forward || m_notNull.contains(m_order.at(fixed)))) {
        where.append(quoteName(m_order.at(fixed)) + (forward ? QStringLiteral(" >= ?") : QStringLiteral(" <= ?")));
        bound.append(first);
    }
}

QString SqliteCursor::orderBy(const QStringList& order, ScanDirection direction) const
{
    QStringList terms;
    for (const QString& column : order)
        terms.append(quoteName(column) + (direction == ScanDirection::Forward ? QStringLiteral(" ASC") : QStringLiteral(" DESC")));
    return terms.join(QLatin1Char(','));
}

QList<StorageRow> SqliteCursor::select(const QStringList& where, const QVariantList& bound, const QString& order,
                                       int limit)
{
    QVariantList values = bound;
    values.append(limit);
    return m_table.database().selectRows(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4 LIMIT ?")
                                             .arg(m_selectList, m_table.quotedName(), joinConditions(where), order),
                                         values, int(m_columns.size()));
}

QList<StorageRow> SqliteCursor::fetch(const QVariantList& from, ScanDirection direction, bool inclusive, int limit)
{
    QStringList where;
    QVariantList bound;
    addRangeConditions(where, bound);
    if (!from.isEmpty())
        addKeysetCondition(where, bound, from, direction, inclusive);
    return select(where, bound, orderBy(m_order, direction), limit);
}

std::optional<StorageRow> SqliteCursor::findKey(const QStringList& columns, const QVariantList& values,
                                                int partialLength, bool caseInsensitive)
{
    QStringList where;
    QVariantList bound;
    addRangeConditions(where, bound);
    for (int i = 0; i < columns.size(); ++i) {
        const QString column = quoteName(columns.at(i));
        const QVariant value = toStorage(values.value(i));
        const bool text = value.typeId() == QMetaType::QString;
        const bool partial = partialLength >= 0 && i == columns.size() - 1 && text;
        const QString prefix = partial ? value.toString().left(partialLength) : QString();
        // SQLite counts characters, not UTF-16 units as QString does.
        const qsizetype characters = prefix.toUcs4().size();
        if (partial && caseInsensitive) {
            where.append(QStringLiteral("upper(substr(%1, 1, %2)) = upper(?)").arg(column).arg(characters));
            bound.append(prefix);
        } else if (partial) {
            // The bounds let the index seek; the prefix test decides.
            where.append(QStringLiteral("%1 >= ? AND %1 < ? AND substr(%1, 1, %2) = ?").arg(column).arg(characters));
            bound << prefix << prefix + QChar(0xDBFF) + QChar(0xDFFF) << prefix;
        } else if (caseInsensitive && text) {
            where.append(QStringLiteral("upper(%1) = upper(?)").arg(column));
            bound.append(value);
        } else {
            where.append(column + QStringLiteral(" IS ?"));
            bound.append(value);
        }
    }
    // The first match in the order of an index that starts with the key columns.
    QStringList order = m_order;
    if (m_order.mid(0, columns.size()) != columns) {
        for (const StorageIndex& index : m_table.indexes()) {
            if (index.columns.mid(0, columns.size()) == columns) {
                order = index.columns + m_table.primaryKey();
                break;
            }
        }
    }
    const QList<StorageRow> rows = select(where, bound, orderBy(order, ScanDirection::Forward), 1);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

qint64 SqliteCursor::count()
{
    QStringList where;
    QVariantList bound;
    addRangeConditions(where, bound);
    SqliteDatabase& db = m_table.database();
    QSqlQuery& query =
        db.prepared(QStringLiteral("SELECT count(*) FROM %1 WHERE %2").arg(m_table.quotedName(), joinConditions(where)));
    for (const QVariant& value : bound)
        query.addBindValue(value);
    db.execute(query, m_table.name());
    const qint64 result = query.next() ? query.value(0).toLongLong() : -1;
    query.finish();
    return result;
}

}

std::unique_ptr<StorageTable> SqliteDatabase::openTable(const QString& tableName)
{
    return std::make_unique<SqliteTable>(shared_from_this(), tableName);
}

// ---------------------------------------------------------------- aliases

namespace {

// Shut down with the application object, while Qt Sql still exists; the map
// itself is never destroyed at exit for the same reason.
QMap<QString, std::shared_ptr<StorageDatabase>>& openDatabases()
{
    static auto* databases = [] {
        qAddPostRoutine(closeAllDatabases);
        return new QMap<QString, std::shared_ptr<StorageDatabase>>;
    }();
    return *databases;
}

}

std::shared_ptr<StorageDatabase> openDatabase(const QString& alias)
{
    if (auto existing = openDatabases().value(alias))
        return existing;
    const auto entry = AliasConfig::find(alias);
    if (!entry)
        raiseEngineError(EngineCode::UnknownAlias, QStringLiteral("Unknown database alias: %1").arg(alias));
    if (entry->driver.compare(QLatin1String("sqlite"), Qt::CaseInsensitive) != 0)
        raiseEngineError(EngineCode::UnknownAlias,
                         QStringLiteral("Unsupported database driver '%1' for alias %2").arg(entry->driver, alias));
    if (entry->path.isEmpty())
        raiseEngineError(EngineCode::FileNotFound, QStringLiteral("Database alias %1 names no file").arg(alias));
    auto db = std::make_shared<SqliteDatabase>(entry->path);
    openDatabases().insert(alias, db);
    return db;
}

void closeAllDatabases()
{
    openDatabases().clear();
}

#include "SqliteEngine.h"

#include "Exceptions.h"
#include "RecordLock.h"
#include "SqliteFiles.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSqlError>
#include <QSqlDriver>

#include <sqlite3.h>
#include <sys/stat.h>

namespace {

QVariant toStorage(const QVariant& value)
{
    if (value.isNull())
        return QVariant();
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(Qt::ISODate);
    return value;
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

}

// ---------------------------------------------------------------- database

SqliteDatabase::SqliteDatabase(const QString& path)
    : m_path(QFileInfo(path).absoluteFilePath())
    , m_connectionName(QStringLiteral("pwangsa:") + m_path)
{
    if (!QFileInfo(m_path).isFile())
        raiseEngineError(EngineCode::FileNotFound, QStringLiteral("Database file not found: %1").arg(path));
    // A database on a write-protected medium (a backup on a locked stick) can
    // still be read: immutable, without journal, locks or a side file.
    const bool readOnlyMedium = SqliteFiles::onReadOnlyMedium(m_path);
    if (readOnlyMedium)
        SqliteFiles::requireNoPendingLog(m_path);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(readOnlyMedium ? SqliteFiles::immutableUri(m_path) : m_path);
    db.setConnectOptions(readOnlyMedium ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI")
                                        : QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
        const QSqlError error = db.lastError();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        raiseSqlError(error, QStringLiteral("Database file: %1.").arg(path));
    }
    try {
        if (!readOnlyMedium) {
            run(QStringLiteral("PRAGMA journal_mode=WAL"));
            run(QStringLiteral("PRAGMA synchronous=FULL"));
        }
        const QVariant handle = db.driver()->handle();
        if (qstrcmp(handle.typeName(), "sqlite3*") == 0)
            m_handle = *static_cast<sqlite3* const*>(handle.constData());
        if (!m_handle)
            raiseEngineError(EngineCode::General, QStringLiteral("Cannot open %1: no SQLite handle").arg(path));
        m_locks = readOnlyMedium ? RecordLocks::withinProcess() : RecordLocks::forDatabase(m_path);
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
        raiseSqlError(query.lastError(), QString());
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
            raiseSqlError(query.lastError(), QString());
        it = m_statements.insert(sql, query);
    }
    return it.value();
}

void SqliteDatabase::execute(QSqlQuery& query)
{
    if (!query.exec()) {
        const QSqlError error = query.lastError();
        query.finish();
        raiseSqlError(error, QString());
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

// Packs one column of the current result row as SQLite holds it.
void addColumn(StorageRowWriter& row, sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        row.addInteger(sqlite3_column_int64(statement, column));
        return;
    case SQLITE_FLOAT:
        row.addReal(sqlite3_column_double(statement, column));
        return;
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        row.addText(text, sqlite3_column_bytes(statement, column));
        return;
    }
    case SQLITE_BLOB:
        row.addBlob(static_cast<const char*>(sqlite3_column_blob(statement, column)),
                    sqlite3_column_bytes(statement, column));
        return;
    default:
        row.addNull();
    }
}

[[noreturn]] void raiseSqliteError(sqlite3* handle)
{
    raiseStorageError(QString::number(sqlite3_extended_errcode(handle)), QString::fromUtf8(sqlite3_errmsg(handle)),
                      QString());
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
            raiseSqliteError(m_handle);
        }
    }
    for (int i = 0; i < values.size(); ++i)
        bindValue(statement, i + 1, values.at(i));
    StorageRowWriter rows;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        rows.beginRow(width);
        for (int column = 0; column < width; ++column)
            addColumn(rows, statement, column);
        rows.endRow();
    }
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (step != SQLITE_DONE)
        raiseSqliteError(m_handle);
    return rows.takeRows();
}

// ---------------------------------------------------------------- table

namespace {

// SQLite: "IS" compares NULL as a value, NULL sorts first, dates are text.
class SqliteDialect : public SqlDialect {
public:
    QString always() const override { return QStringLiteral("1"); }
    QString never() const override { return QStringLiteral("0"); }
    QString equal(const QString& column, const QVariant& value, QVariantList& bound) const override
    {
        bound.append(value);
        return column + QStringLiteral(" IS ?");
    }
    QString orderTerm(const QString& column, ScanDirection direction, bool /*nullable*/) const override
    {
        return column + (direction == ScanDirection::Forward ? QStringLiteral(" ASC") : QStringLiteral(" DESC"));
    }
    QVariant toStorage(const QVariant& value) const override { return ::toStorage(value); }
};

class SqliteTable : public SqlTableBase {
public:
    SqliteTable(std::shared_ptr<SqliteDatabase> db, const QString& name);

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
        m_db->locks().release(recordLockKey(m_name, key), owner);
    }

    const SqlDialect& dialect() const override { return m_dialect; }
    QList<StorageRow> selectRows(const QString& sql, const QVariantList& values, int width) override
    {
        return m_db->selectRows(sql, values, width);
    }
    qint64 selectCount(const QString& sql, const QVariantList& values) override;

private:
    void readColumns();
    void readIndexes();
    QString keyCondition() const;
    void bindAll(QSqlQuery& query, const QVariantList& values);

    std::shared_ptr<SqliteDatabase> m_db;
    SqliteDialect m_dialect;
};

SqliteTable::SqliteTable(std::shared_ptr<SqliteDatabase> db, const QString& name)
    : SqlTableBase(name), m_db(std::move(db))
{
    readColumns();
    checkFound(name);
    readIndexes();
}

void SqliteTable::readColumns()
{
    QSqlQuery& info = m_db->prepared(QStringLiteral("SELECT name, type, pk, \"notnull\" FROM pragma_table_info(?)"));
    info.addBindValue(m_name);
    m_db->execute(info);
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
    m_db->execute(list);
    while (list.next())
        addIndexColumn(list.value(0).toString(), list.value(1).toString());
    list.finish();
}

QString SqliteTable::keyCondition() const
{
    QStringList parts;
    for (const QString& column : m_primaryKey)
        parts.append(quoteName(column) + QStringLiteral(" IS ?"));
    return parts.join(QLatin1String(" AND "));
}

void SqliteTable::bindAll(QSqlQuery& query, const QVariantList& values)
{
    for (const QVariant& value : values)
        query.addBindValue(toStorage(value));
}

void SqliteTable::insert(const QStringList& columns, const QVariantList& values)
{
    QSqlQuery& query = m_db->prepared(insertStatement(columns));
    // Values are bound once the transaction has begun: bound before a BEGIN
    // that fails (busy, read-only), they would stay on the kept statement and
    // break every later write through it.
    m_db->inTransaction([&] {
        bindAll(query, values);
        m_db->execute(query);
    });
}

void SqliteTable::modify(const QVariantList& key, const QStringList& columns, const QVariantList& values,
                         const void* owner)
{
    QSqlQuery& query = m_db->prepared(updateStatement(columns, keyCondition()));
    m_db->locks().whileHeld(recordLockKey(m_name, key), owner, [&] {
        m_db->inTransaction([&] {
            bindAll(query, values);
            bindAll(query, key);
            m_db->execute(query);
        });
        if (query.numRowsAffected() == 0)
            raiseEngineError(EngineCode::RecordDeleted, QStringLiteral("Record/Key deleted."));
    });
}

void SqliteTable::remove(const QVariantList& key, const void* owner)
{
    QSqlQuery& query = m_db->prepared(deleteStatement(keyCondition()));
    m_db->locks().whileHeld(recordLockKey(m_name, key), owner, [&] {
        m_db->inTransaction([&] {
            bindAll(query, key);
            m_db->execute(query);
        });
    });
}

qint64 SqliteTable::selectCount(const QString& sql, const QVariantList& values)
{
    QSqlQuery& query = m_db->prepared(sql);
    for (const QVariant& value : values)
        query.addBindValue(value);
    m_db->execute(query);
    const qint64 result = query.next() ? query.value(0).toLongLong() : -1;
    query.finish();
    return result;
}

}

std::unique_ptr<StorageTable> SqliteDatabase::openTable(const QString& tableName)
{
    return std::make_unique<SqliteTable>(shared_from_this(), tableName);
}

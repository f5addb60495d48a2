#include "SqliteHandle.h"

#include "data/SqliteFiles.h"

#include <QFile>

#include <sqlite3.h>

#include <stdexcept>

namespace {

constexpr int kBusyMilliseconds = 5000;

}

SqliteHandle::SqliteHandle(const QString& path, Open mode) : m_path(path)
{
    int flags = SQLITE_OPEN_READWRITE | (mode == Open::Create ? SQLITE_OPEN_CREATE : 0);
    QByteArray name = QFile::encodeName(path);
    if (mode == Open::Read) {
        flags = SQLITE_OPEN_READONLY;
        if (SqliteFiles::onReadOnlyMedium(path)) {
            SqliteFiles::requireNoPendingLog(path);
            flags |= SQLITE_OPEN_URI;
            name = SqliteFiles::immutableUri(path).toUtf8();
        }
    }
    if (sqlite3_open_v2(name.constData(), &m_db, flags, nullptr) != SQLITE_OK) {
        const QString reason = QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : "out of memory");
        sqlite3_close(m_db);
        throw std::runtime_error(QStringLiteral("Cannot open %1: %2").arg(path, reason).toStdString());
    }
    sqlite3_busy_timeout(m_db, kBusyMilliseconds);
}

SqliteHandle::~SqliteHandle()
{
    sqlite3_close(m_db);
}

void SqliteHandle::fail(const QString& context) const
{
    throw std::runtime_error(
        QStringLiteral("%1 (%2): %3").arg(context, m_path, QString::fromUtf8(sqlite3_errmsg(m_db))).toStdString());
}

void SqliteHandle::exec(const QString& sql)
{
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(sql);
}

void SqliteHandle::rollback() noexcept
{
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

QVariantList SqliteHandle::column(const QString& sql)
{
    SqliteStatement statement(*this, sql);
    QVariantList values;
    while (statement.next())
        values.append(statement.value(0));
    return values;
}

SqliteStatement::SqliteStatement(SqliteHandle& db, const QString& sql) : m_db(db)
{
    if (sqlite3_prepare_v2(db.get(), sql.toUtf8().constData(), -1, &m_statement, nullptr) != SQLITE_OK)
        db.fail(sql);
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

void SqliteStatement::bind(int index, const QVariant& value)
{
    int result = SQLITE_OK;
    if (value.isNull()) {
        result = sqlite3_bind_null(m_statement, index);
    } else if (value.typeId() == QMetaType::Double) {
        result = sqlite3_bind_double(m_statement, index, value.toDouble());
    } else {
        const QByteArray text = value.toString().toUtf8();
        result = sqlite3_bind_text(m_statement, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    }
    if (result != SQLITE_OK)
        m_db.fail(QStringLiteral("Binding a value"));
}

bool SqliteStatement::next()
{
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW)
        return true;
    if (result != SQLITE_DONE)
        m_db.fail(QString::fromUtf8(sqlite3_sql(m_statement)));
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
    return false;
}

QVariant SqliteStatement::value(int column) const
{
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_NULL:
        return QVariant();
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_statement, column);
    default:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column)),
                                 sqlite3_column_bytes(m_statement, column));
    }
}

int SqliteStatement::width() const
{
    return sqlite3_column_count(m_statement);
}

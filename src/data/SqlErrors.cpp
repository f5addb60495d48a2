#include "SqlErrors.h"

#include "Exceptions.h"
#include "StorageEngine.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QStringList>

void raiseEngineError(int code, const QString& message, const QString& detail, int nativeCode)
{
    QList<TDBError> errors{TDBError{code, message}};
    if (!detail.isEmpty())
        errors.append(TDBError{code, detail, nativeCode});
    throw EDBEngineError(errors);
}

namespace {

// SQLite's extended result codes and PostgreSQL's SQLSTATEs never coincide.
bool isOneOf(const QString& native, std::initializer_list<const char*> codes)
{
    return std::any_of(codes.begin(), codes.end(), [&](const char* code) { return native == QLatin1String(code); });
}

// SQLite's primary result code (the low byte of an extended one), or -1.
int sqlitePrimary(const QString& native)
{
    bool numeric = false;
    const int code = native.toInt(&numeric);
    return numeric ? code & 0xFF : -1;
}

// The fields named by a key or not-null failure: SQLite's "... failed:
// Table.Field, Table.Other", PostgreSQL's Key ("Field")=(...) or column "Field".
QStringList fieldsNamed(const QString& text)
{
    QStringList fields;
    static const QRegularExpression sqlite(QStringLiteral("constraint failed: ([^\\n]+)"));
    static const QRegularExpression postgresKey(QStringLiteral("Key \\((.+?)\\)="));
    static const QRegularExpression postgresColumn(QStringLiteral("column \"([^\"]+)\""));
    if (const auto m = sqlite.match(text); m.hasMatch()) {
        for (const QString& column : m.captured(1).split(QStringLiteral(", ")))
            fields.append(column.section(QLatin1Char('.'), 1).trimmed());
    } else if (const auto k = postgresKey.match(text); k.hasMatch()) {
        for (QString column : k.captured(1).split(QStringLiteral(", ")))
            fields.append(column.remove(QLatin1Char('"')).trimmed());
    } else if (const auto c = postgresColumn.match(text); c.hasMatch()) {
        fields.append(c.captured(1));
    }
    fields.removeAll(QString());
    return fields;
}

// The cause of a failure in a plain sentence, or empty for none known.
QString causeOf(const QString& native)
{
    switch (sqlitePrimary(native)) {
    case 3:  // SQLITE_PERM
    case 23: // SQLITE_AUTH
        return QStringLiteral("Permission denied.");
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return QStringLiteral("Another program is using the database.");
    case 7: return QStringLiteral("Out of memory.");
    case 8: return QStringLiteral("The database file is read-only.");
    case 10: return QStringLiteral("The database file could not be read or written.");
    case 11: return QStringLiteral("The database file is damaged.");
    case 13: return QStringLiteral("The disk is full.");
    case 14: return QStringLiteral("The database file can't be opened.");
    case 26: return QStringLiteral("The file is not a database.");
    default: break;
    }
    if (isOneOf(native, {"53100"}))
        return QStringLiteral("The disk is full.");
    if (isOneOf(native, {"53200"}))
        return QStringLiteral("Out of memory.");
    if (isOneOf(native, {"25006"}))
        return QStringLiteral("The database is read-only.");
    if (isOneOf(native, {"42501"}))
        return QStringLiteral("Permission denied.");
    if (isOneOf(native, {"55P03", "40P01"}))
        return QStringLiteral("Another user is using the data.");
    if (isOneOf(native, {"53300"}))
        return QStringLiteral("The database server accepts no more connections.");
    return QString();
}

// The storage's own message as a sentence: its first line, without the
// server's "ERROR:" and the SQLSTATE in brackets the driver appends.
QString cleaned(const QString& text)
{
    static const QRegularExpression severity(QStringLiteral("^(ERROR|FATAL|PANIC):\\s+"));
    static const QRegularExpression state(QStringLiteral("\\s*\\([0-9A-Z]{5}\\)$"));
    QString line = text.trimmed().section(QLatin1Char('\n'), 0, 0).trimmed();
    line.remove(severity).remove(state);
    if (line.isEmpty())
        return line;
    line[0] = line.at(0).toUpper();
    return line.endsWith(QLatin1Char('.')) ? line : line + QLatin1Char('.');
}

} // namespace

void raiseStorageError(const QString& native, const QString& text, const QString& context)
{
    int code = EngineCode::General;
    QString first = QStringLiteral("Database error.");
    if (isOneOf(native, {"1555", "2067", "23505"})) {
        code = EngineCode::KeyViolation;
        first = QStringLiteral("Key violation.");
    } else if (isOneOf(native, {"1299", "23502"})) {
        code = EngineCode::RequiredField;
        first = QStringLiteral("Field value required.");
    } else if (const int primary = sqlitePrimary(native); primary == 5 || primary == 6
               || isOneOf(native, {"55P03", "40P01"})) {
        code = EngineCode::RecordLocked;
        first = QStringLiteral("Table is busy.");
    }
    QStringList lines;
    const QStringList fields = fieldsNamed(text);
    if (!fields.isEmpty())
        lines.append(QStringLiteral("Field: %1.").arg(fields.join(QStringLiteral(", "))));
    const QString cause = causeOf(native);
    if (!cause.isEmpty())
        lines.append(cause);
    else if (fields.isEmpty() && code == EngineCode::General)
        lines.append(cleaned(text));
    if (!context.isEmpty())
        lines.append(context);
    lines.removeAll(QString());
    const int nativeCode = native.toInt();
    QList<TDBError> errors{TDBError{code, first}};
    for (const QString& line : std::as_const(lines))
        errors.append(TDBError{code, line, nativeCode});
    throw EDBEngineError(errors);
}

void raiseSqlError(const QSqlError& error, const QString& context)
{
    const QString text = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    raiseStorageError(error.nativeErrorCode(), text, context);
}

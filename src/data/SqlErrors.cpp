#include "SqlErrors.h"

#include "Exceptions.h"
#include "StorageEngine.h"

#include <QSqlError>

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

}

void raiseSqlError(const QSqlError& error, const QString& context)
{
    const QString native = error.nativeErrorCode();
    const int nativeCode = native.toInt();
    const QString detail = error.text();
    if (isOneOf(native, {"1555", "2067", "23505"}))
        raiseEngineError(EngineCode::KeyViolation, QStringLiteral("Key violation."), detail, nativeCode);
    if (isOneOf(native, {"1299", "23502"}))
        raiseEngineError(EngineCode::RequiredField, QStringLiteral("Field value required."), detail, nativeCode);
    if (isOneOf(native, {"5", "517", "6", "55P03", "40P01"}))
        raiseEngineError(EngineCode::RecordLocked, QStringLiteral("Table is busy: %1").arg(context), detail,
                         nativeCode);
    raiseEngineError(EngineCode::General, error.text(), context, nativeCode);
}

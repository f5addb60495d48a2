#pragma once

#include "errors/Exception.h"

#include <QList>
#include <QString>
#include <QStringList>

// The error kinds of the dataset layer, the formats and the storage engines.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

class EDatabaseError : public Exception {
public:
    using Exception::Exception;
};

// One entry of a storage error: the engine's numeric code and its text.
struct TDBError {
    int ErrorCode = 0;
    QString Message;
    int NativeCode = 0;  // the storage's own code, for context entries
};

// A storage error. Code 9729 is a duplicate key.
class EDBEngineError : public EDatabaseError {
public:
    EDBEngineError(int code, const QString& message)
        : EDatabaseError(message), m_errors{TDBError{code, message}} {}
    // The message is the entries' texts joined by line breaks.
    explicit EDBEngineError(const QList<TDBError>& errors)
        : EDatabaseError(joined(errors)), m_errors(errors) {}

    int ErrorCount() const { return int(m_errors.size()); }
    const TDBError& Errors(int index) const { return m_errors.at(index); }
    // The code of the first entry, 0 when there is none.
    int ErrorCode() const { return m_errors.isEmpty() ? 0 : m_errors.constFirst().ErrorCode; }

private:
    static QString joined(const QList<TDBError>& errors)
    {
        QStringList lines;
        for (const TDBError& error : errors)
            lines.append(error.Message);
        return lines.join(QLatin1Char('\n'));
    }

    QList<TDBError> m_errors;
};

class EDBEditError : public Exception {
public:
    using Exception::Exception;
};

// Duplicate key, as the storage engine reports it.
constexpr int DBIERR_KEYVIOL = 9729;

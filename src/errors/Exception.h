#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The base of the program's error kinds. Every error travels as one of these;
// handlers are entered through guarded() (HandlerGuard.h) so none ever escapes
// into Qt.
class Exception : public std::exception {
public:
    explicit Exception(const QString& message);
    ~Exception() override;

    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

    // The kind's class name, as shown by the "Application Error" box.
    QString className() const;
    // Code address where the error was raised (the constructor's caller).
    const void* raiseAddress() const { return m_address; }

private:
    QString m_message;
    QByteArray m_utf8;
    const void* m_address;
};

// The silent abort: ends an operation; the default error report drops it.
class EAbort : public Exception {
public:
    EAbort() : Exception(QStringLiteral("Operation aborted")) {}
    explicit EAbort(const QString& message) : Exception(message) {}
};

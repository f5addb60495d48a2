#pragma once

// What an operation ended with, for tests that expect errors, and a second
// copy of the test program run as "another program".

#include "data/Exceptions.h"

#include <QCoreApplication>
#include <QProcess>

#include <cstdio>
#include <functional>

// The message of the exception an operation raised; empty when none.
inline QString messageOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const Exception& error) {
        return error.message();
    }
    return QString();
}

// The engine code of the storage error an operation raised; 0 when none.
inline int engineCodeOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const EDBEngineError& error) {
        return error.ErrorCode();
    }
    return 0;
}

// Runs this test program again with `mode` as its argument; its errors go
// to this program's error output.
inline QProcess* startSelf(QObject* parent, const QString& mode)
{
    auto* child = new QProcess(parent);
    child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child->start(QCoreApplication::applicationFilePath(), {mode});
    return child;
}

// In such a copy: a line for the test program to wait for.
inline void say(const char* text)
{
    std::puts(text);
    std::fflush(stdout);
}

// The next line the copy says, without its line break (empty after 20 s).
inline QByteArray nextLine(QProcess* child)
{
    while (!child->canReadLine() && child->waitForReadyRead(20000)) {}
    return child->readLine().trimmed();
}

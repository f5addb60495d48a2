#pragma once

// Helpers shared by the benchmarks.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

// A figure of /proc/self/status in kB ("VmRSS:", "VmHWM:"), -1 when unknown.
inline long memoryKb(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// Makes a database with `lines` order lines over the demonstration customers
// in `dir` with the companion tool built beside the benchmark.
inline QString makeDatabase(const QTemporaryDir& dir, int lines)
{
    const QString file = dir.filePath(QStringLiteral("bench.sqlite"));
    const QString admin = QCoreApplication::applicationDirPath() + QStringLiteral("/../src/pwangsa-admin");
    std::fprintf(stderr, "making %s with %d lines...\n", qPrintable(file), lines);
    QProcess::execute(admin, {QStringLiteral("init"), QStringLiteral("--lines"), QString::number(lines),
                              QStringLiteral("--demo"), QStringLiteral("--path"), file});
    return file;
}

inline double msSince(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// One summary line, "name: value unit", as scripts/bench collects them.
inline void figure(const char* name, double value, const char* unit)
{
    std::printf("%s: %.2f %s\n", name, value, unit);
}

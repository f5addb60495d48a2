#pragma once

// Points the alias configuration and the default database folder
// (XDG_CONFIG_HOME and XDG_DATA_HOME) into a test's temporary folder.

#include <QFile>
#include <QTemporaryDir>

inline void useTemporaryHome(const QTemporaryDir& dir)
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
}

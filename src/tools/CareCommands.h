#pragma once

#include <QStringList>

// The data care commands of pwangsa-admin; each returns its exit code and
// raises CommandLine::UsageError or another exception on failure.
namespace CareCommands {

int runBackup(const QStringList& arguments);
int runRestore(const QStringList& arguments);
int runExport(const QStringList& arguments);
int runImport(const QStringList& arguments);

}

#pragma once

#include <QStringList>

// The pwangsa-admin commands for a shared database on a PostgreSQL server:
// init --driver postgres, and copy between two aliases of either engine.
// Each returns its exit code and raises on failure (CommandLine::UsageError
// for wrong usage).
namespace ServerCommands {

// True when init's arguments ask for the postgres driver.
bool wantsPostgres(const QStringList& initArguments);
int runInit(const QStringList& arguments);
int runCopy(const QStringList& arguments);

}

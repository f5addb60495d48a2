#include "StorageEngine.h"

#include "AliasConfig.h"
#include "PostgresEngine.h"
#include "SqliteEngine.h"

#include <QCoreApplication>
#include <QMap>

namespace {

// Shut down with the application object, while Qt Sql still exists; the map
// itself is never destroyed at exit for the same reason.
QMap<QString, std::shared_ptr<StorageDatabase>>& openDatabases()
{
    static auto* databases = [] {
        qAddPostRoutine(closeAllDatabases);
        return new QMap<QString, std::shared_ptr<StorageDatabase>>;
    }();
    return *databases;
}

std::shared_ptr<StorageDatabase> connectAlias(const QString& alias, const AliasConfig::Alias& entry)
{
    if (entry.isPostgres())
        return std::make_shared<PostgresDatabase>(entry, alias);
    if (!entry.isSqlite())
        raiseEngineError(EngineCode::UnknownAlias,
                         QStringLiteral("Unsupported database driver '%1' for alias %2").arg(entry.driver, alias));
    if (entry.path.isEmpty())
        raiseEngineError(EngineCode::FileNotFound, QStringLiteral("Database alias %1 names no file").arg(alias));
    return std::make_shared<SqliteDatabase>(entry.path);
}

}

std::shared_ptr<StorageDatabase> openDatabase(const QString& alias)
{
    if (auto existing = openDatabases().value(alias))
        return existing;
    const auto entry = AliasConfig::find(alias);
    if (!entry)
        raiseEngineError(EngineCode::UnknownAlias, QStringLiteral("Unknown database alias: %1").arg(alias));
    auto db = connectAlias(alias, *entry);
    openDatabases().insert(alias, db);
    return db;
}

void closeAllDatabases()
{
    openDatabases().clear();
}

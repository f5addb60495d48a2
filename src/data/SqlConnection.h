#pragma once

#include "AliasConfig.h"

#include <QSqlDatabase>

// Qt Sql connections to the database of an alias, SQLite or PostgreSQL.
namespace SqlConnection {

// Adds and opens the connection `name`. A failure removes it again and raises
// EDBEngineError with the server's (or the library's) message.
QSqlDatabase open(const AliasConfig::Alias& alias, const QString& name, bool readOnly = false);
// Closes and removes the connection `name`.
void close(const QString& name);

// Runs work(QSqlDatabase&) on a connection of its own, closed afterwards.
template <class Work>
void with(const AliasConfig::Alias& alias, const QString& name, Work&& work, bool readOnly = false)
{
    try {
        QSqlDatabase db = open(alias, name, readOnly);
        work(db);
    } catch (...) {
        close(name);
        throw;
    }
    close(name);
}

}

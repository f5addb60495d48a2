#pragma once

#include <QString>

#include <optional>

// Database aliases, kept by the engine in $XDG_CONFIG_HOME/pwangsa/aliases.ini
// (default ~/.config/pwangsa/aliases.ini), one INI group per alias:
//   [Dor]
//   driver=sqlite
//   path=/home/me/.local/share/pwangsa/dor.sqlite
// or, for a database shared by an office on a PostgreSQL server:
//   [Dor]
//   driver=postgres
//   host=127.0.0.1
//   port=5432
//   dbname=pwangsa
//   user=kasir
//   passfile=/home/me/.pgpass     (or password=..., the weaker choice)
namespace AliasConfig {

inline const QString kSqlite = QStringLiteral("sqlite");
inline const QString kPostgres = QStringLiteral("postgres");

struct Alias {
    Alias() = default;
    Alias(const QString& driverName, const QString& file) : driver(driverName), path(file) {}

    QString driver;
    QString path;  // SQLite: the database file
    // PostgreSQL: the server and database; an empty passfile and password
    // leave the choice to the client library (~/.pgpass, PGPASSWORD).
    QString host;
    int port = 5432;
    QString dbname;
    QString user;
    QString passfile;
    QString password;

    bool isPostgres() const { return driver.compare(kPostgres, Qt::CaseInsensitive) == 0; }
    bool isSqlite() const { return driver.compare(kSqlite, Qt::CaseInsensitive) == 0; }
    // "user@host:port/dbname" or the file, for messages.
    QString describe() const;
};

QString configFile();
// $XDG_DATA_HOME/pwangsa/dor.sqlite (default ~/.local/share/pwangsa/dor.sqlite).
QString defaultDatabasePath();
// Raises EDatabaseError for an alias whose settings are wrong (port=abc).
std::optional<Alias> find(const QString& name);
// A warning for the user when the alias file holds a server password and
// other users of the computer can read it; empty otherwise.
QString exposedPasswordWarning();
// Writes (or replaces) the alias; raises EDatabaseError when the file can't be written.
void write(const QString& name, const Alias& alias);

}

#include "SqlConnection.h"

#include "SqlErrors.h"
#include "StorageEngine.h"

#include <QFileInfo>
#include <QSqlError>

namespace SqlConnection {

namespace {

constexpr int kConnectSeconds = 10;

// A value for the client library's connection string, quoted as it reads it.
QString quoted(QString value)
{
    value.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    value.replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

void configurePostgres(QSqlDatabase& db, const AliasConfig::Alias& alias, bool readOnly)
{
    db.setHostName(alias.host);
    db.setPort(alias.port);
    db.setDatabaseName(alias.dbname);
    db.setUserName(alias.user);
    if (!alias.password.isEmpty())
        db.setPassword(alias.password);
    QStringList options{QStringLiteral("connect_timeout=%1").arg(kConnectSeconds),
                        QStringLiteral("application_name=pwangsa")};
    if (!alias.passfile.isEmpty())
        options.append(QStringLiteral("passfile=") + quoted(alias.passfile));
    if (readOnly)
        options.append(QStringLiteral("options='-c default_transaction_read_only=on'"));
    db.setConnectOptions(options.join(QLatin1Char(';')));
}

}

QSqlDatabase open(const AliasConfig::Alias& alias, const QString& name, bool readOnly)
{
    const bool postgres = alias.isPostgres();
    if (!postgres && !alias.isSqlite())
        raiseEngineError(EngineCode::UnknownAlias, QStringLiteral("Unsupported database driver '%1'").arg(alias.driver));
    if (!postgres && !QFileInfo(alias.path).isFile())
        raiseEngineError(EngineCode::FileNotFound, QStringLiteral("Database file not found: %1").arg(alias.path));
    QSqlDatabase db = QSqlDatabase::addDatabase(postgres ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"), name);
    if (postgres) {
        configurePostgres(db, alias, readOnly);
    } else {
        db.setDatabaseName(alias.path);
        db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000")
                                      : QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    }
    if (!db.open()) {
        // The server's own message, without the driver's "Unable to connect".
        const QSqlError error = db.lastError();
        const QString text = (error.databaseText().isEmpty() ? error.text() : error.databaseText()).trimmed();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        raiseEngineError(EngineCode::ConnectionFailed,
                         QStringLiteral("Cannot connect to the database %1").arg(alias.describe()), text);
    }
    return db;
}

void close(const QString& name)
{
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isValid())
            db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

}

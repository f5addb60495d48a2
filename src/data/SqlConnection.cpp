#include "SqlConnection.h"

#include "RecordLock.h"
#include "SqlErrors.h"
#include "SqliteFiles.h"
#include "StorageEngine.h"

#include <QFileInfo>
#include <QHash>
#include <QSqlError>

#include <memory>

namespace SqlConnection {

namespace {

constexpr int kConnectSeconds = 10;

// A desk that loses its network or power leaves its session, and with it its
// record locks, on the server until the server notices: probing an idle
// connection after 30 s, every 10 s, and giving up after 3 unanswered probes
// (or 60 s of unacknowledged data) frees them within about a minute. Both
// ends probe, so a desk notices a vanished server as well.
const QStringList kClientKeepalives{QStringLiteral("keepalives=1"), QStringLiteral("keepalives_idle=30"),
                                    QStringLiteral("keepalives_interval=10"), QStringLiteral("keepalives_count=3")};
const char* const kServerKeepalives =
    "-c tcp_keepalives_idle=30 -c tcp_keepalives_interval=10 -c tcp_keepalives_count=3 -c tcp_user_timeout=60000";

// The in-use mark of each open SQLite connection: while a connection holds
// it, pwangsa-admin restore refuses to replace the file.
QHash<QString, std::shared_ptr<RecordLocks>>& inUseMarks()
{
    static QHash<QString, std::shared_ptr<RecordLocks>> marks;
    return marks;
}

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
    options.append(kClientKeepalives);
    if (!alias.passfile.isEmpty())
        options.append(QStringLiteral("passfile=") + quoted(alias.passfile));
    QString serverOptions = QString::fromLatin1(kServerKeepalives);
    if (readOnly)
        serverOptions += QStringLiteral(" -c default_transaction_read_only=on");
    options.append(QStringLiteral("options=") + quoted(serverOptions));
    db.setConnectOptions(options.join(QLatin1Char(';')));
}

// A file on a read-only medium is opened immutable, for reading only.
void configureSqlite(QSqlDatabase& db, const AliasConfig::Alias& alias, bool readOnly)
{
    if (readOnly && SqliteFiles::onReadOnlyMedium(alias.path)) {
        SqliteFiles::requireNoPendingLog(alias.path);
        db.setDatabaseName(SqliteFiles::immutableUri(alias.path));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
        return;
    }
    db.setDatabaseName(alias.path);
    db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000")
                                  : QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
}

}

QSqlDatabase open(const AliasConfig::Alias& alias, const QString& name, bool readOnly)
{
    const bool postgres = alias.isPostgres();
    if (!postgres && !alias.isSqlite())
        raiseEngineError(EngineCode::UnknownAlias, QStringLiteral("Unsupported database driver '%1'").arg(alias.driver));
    if (!postgres && !QFileInfo(alias.path).isFile())
        raiseEngineError(EngineCode::FileNotFound, QStringLiteral("Database file not found: %1").arg(alias.path));
    // A writer marks the file as in use before it opens it.
    if (!postgres && !readOnly)
        inUseMarks().insert(name, RecordLocks::forDatabase(QFileInfo(alias.path).absoluteFilePath()));
    QSqlDatabase db = QSqlDatabase::addDatabase(postgres ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"), name);
    if (postgres)
        configurePostgres(db, alias, readOnly);
    else
        configureSqlite(db, alias, readOnly);
    if (!db.open()) {
        inUseMarks().remove(name);
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
    inUseMarks().remove(name);
}

}

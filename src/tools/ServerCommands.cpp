#include "ServerCommands.h"

#include "CommandLine.h"
#include "Console.h"
#include "Credentials.h"
#include "DataCopy.h"
#include "DemoData.h"
#include "SchemaCheck.h"

#include "data/AliasConfig.h"
#include "data/OperatorAccount.h"
#include "data/Schema.h"
#include "data/SqlConnection.h"
#include "data/SqlErrors.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace ServerCommands {

namespace {

using CommandLine::UsageError;

constexpr int kDemoLines = 200;
const QString kConnection = QStringLiteral("pwangsa-admin-server");

QCommandLineOption option(const char* name, const char* help, const char* value = nullptr,
                          const QString& defaultValue = QString())
{
    return value ? QCommandLineOption(QLatin1String(name), QLatin1String(help), QLatin1String(value), defaultValue)
                 : QCommandLineOption(QLatin1String(name), QLatin1String(help));
}

// The tables this database holds already, of the three the program uses.
qint64 existingTables(QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT count(*) FROM pg_tables WHERE schemaname = current_schema() AND "
                                   "tablename IN ('DataPelanggan', 'DataBarang', 'Operator')"))
        || !query.next())
        raiseSqlError(query.lastError(), QStringLiteral("Reading the tables"));
    return query.value(0).toLongLong();
}

struct InitRequest {
    AliasConfig::Alias server;
    Credentials::Account account;
    int lines = 0;
    bool customers = false;
    bool replace = false;
};

void createOnServer(const InitRequest& request)
{
    SqlConnection::with(request.server, kConnection, [&](QSqlDatabase& db) {
        if (existingTables(db) > 0 && !request.replace)
            throw std::runtime_error(QStringLiteral("the database %1 already holds PWANGSA tables (use --force to "
                                                    "replace them and everything in them)")
                                         .arg(request.server.describe())
                                         .toStdString());
        Schema::create(db, request.replace);
        try {
            OperatorAccount::store(db, request.account.name, request.account.password);
            if (request.customers)
                DemoData::addCustomers(db);
            if (request.lines > 0)
                DemoData::addOrderLines(db, request.lines);
        } catch (...) {
            Schema::drop(db);  // no half-made database stays behind
            throw;
        }
    });
}

AliasConfig::Alias serverAlias(const QCommandLineParser& parser)
{
    AliasConfig::Alias alias;
    alias.driver = AliasConfig::kPostgres;
    alias.host = parser.value(QStringLiteral("host"));
    bool numeric = false;
    alias.port = parser.value(QStringLiteral("port")).toInt(&numeric);
    if (!numeric || alias.port <= 0 || alias.port > 65535)
        throw UsageError("--port needs a port number");
    alias.dbname = parser.value(QStringLiteral("dbname"));
    alias.user = parser.value(QStringLiteral("user"));
    if (alias.host.isEmpty() || alias.dbname.isEmpty() || alias.user.isEmpty())
        throw UsageError("--driver postgres needs --host, --dbname and --user");
    if (parser.isSet(QStringLiteral("passfile")) && parser.isSet(QStringLiteral("password-stdin")))
        throw UsageError("give either --passfile or --password-stdin");
    if (parser.isSet(QStringLiteral("passfile")))
        alias.passfile = QFileInfo(parser.value(QStringLiteral("passfile"))).absoluteFilePath();
    if (parser.isSet(QStringLiteral("password-stdin")))
        alias.password = Credentials::readPassword(true);
    return alias;
}

void recordAlias(const QString& name, const AliasConfig::Alias& alias)
{
    const auto existing = AliasConfig::find(name);
    if (existing) {
        Console::print(QStringLiteral("Alias %1 still points to %2 (left unchanged; edit %3 to change it).")
                           .arg(name, existing->describe(), AliasConfig::configFile()));
        return;
    }
    AliasConfig::write(name, alias);
    Console::print(QStringLiteral("Alias %1 recorded in %2.").arg(name, AliasConfig::configFile()));
    if (!alias.password.isEmpty())
        Console::print(QStringLiteral("The server password is kept in that file (readable by you only); a "
                                      "password file (--passfile) keeps it out of the alias."));
}

}

bool wantsPostgres(const QStringList& initArguments)
{
    const qsizetype at = initArguments.indexOf(QStringLiteral("--driver"));
    return (at >= 0 && initArguments.value(at + 1) == AliasConfig::kPostgres)
        || initArguments.contains(QStringLiteral("--driver=") + AliasConfig::kPostgres);
}

int runInit(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Creates the tables DataPelanggan and DataBarang, the index \"Kode Pelanggan\" and the operator account in "
        "an existing PostgreSQL database, and records its alias in %1 when it is not there yet. The server "
        "password comes from --passfile (a password file, the better choice), from the first line of standard "
        "input (--password-stdin; then kept in the alias file), or from ~/.pgpass.")
                                         .arg(AliasConfig::configFile()));
    const QString operatorHint = QStringLiteral("--operator-password-stdin needs --operator NAME");
    parser.addOptions({
        option("driver", "postgres (without it: a SQLite database file).", "DRIVER"),
        option("host", "The server's host name or address.", "HOST"),
        option("port", "The server's port (default 5432).", "PORT", QStringLiteral("5432")),
        option("dbname", "The database, made beforehand (createdb).", "NAME"),
        option("user", "The server user (role).", "ROLE"),
        option("passfile", "The server user's password file, written into the alias.", "FILE"),
        option("password-stdin", "Read the server user's password from standard input."),
        option("alias", "The alias to record (default Dor).", "NAME", QStringLiteral("Dor")),
        option("operator", "The operator's name.", "NAME"),
        option("operator-password-stdin", "Read the operator's password from standard input (after the server's)."),
        option("demo", "Fill in demonstration data and, without --operator, the operator ADMIN with password wangsa."),
        option("lines", "Make N order lines over the demonstration customers.", "N"),
        option("force", "Replace the tables (and all their data) when the database has them."),
    });
    if (!CommandLine::parse(parser, QStringLiteral("init"), arguments))
        return 0;
    bool numeric = true;
    const int lineCount = parser.isSet(QStringLiteral("lines")) ? parser.value(QStringLiteral("lines")).toInt(&numeric) : 0;
    if (!numeric || lineCount < 0)
        throw UsageError("--lines needs a whole number of at least 0");
    const bool demo = parser.isSet(QStringLiteral("demo"));
    const bool demoAccount = demo && !parser.isSet(QStringLiteral("operator"));
    InitRequest request;
    request.server = serverAlias(parser);
    request.account = demoAccount ? Credentials::demoAccount()
                                  : Credentials::ask(parser.value(QStringLiteral("operator")),
                                                     parser.isSet(QStringLiteral("operator-password-stdin")), QString(),
                                                     operatorHint);
    request.lines = parser.isSet(QStringLiteral("lines")) ? lineCount : demo ? kDemoLines : 0;
    request.customers = demo || request.lines > 0;
    request.replace = parser.isSet(QStringLiteral("force"));
    createOnServer(request);
    Console::print(QStringLiteral("Created the tables in %1 with %2 order lines.").arg(request.server.describe()).arg(request.lines));
    if (demoAccount)
        Console::print(QStringLiteral("Operator account: ADMIN, password wangsa (demonstration)."));
    recordAlias(parser.value(QStringLiteral("alias")), request.server);
    return 0;
}

int runCopy(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Copies the customers, the order lines and the operator account from the database of one alias to that of "
        "another (SQLite or PostgreSQL, either way). The source is read in one consistent snapshot; the target is "
        "written in one transaction, so a failure leaves it as it was. The target must have the tables (pwangsa-admin "
        "init) and hold no customers or order lines unless --force is given; its operator account is replaced by "
        "the source's."));
    const QCommandLineOption from = option("from", "The alias to copy from.", "ALIAS");
    const QCommandLineOption to = option("to", "The alias to copy to.", "ALIAS");
    const QCommandLineOption force = option("force", "Replace whatever the target holds.");
    parser.addOptions({from, to, force});
    if (!CommandLine::parse(parser, QStringLiteral("copy"), arguments))
        return 0;
    if (!parser.isSet(from) || !parser.isSet(to))
        throw UsageError("copy needs --from ALIAS and --to ALIAS");
    const AliasConfig::Alias source = CommandLine::findAlias(parser.value(from));
    const AliasConfig::Alias target = CommandLine::findAlias(parser.value(to));
    if (source.describe() == target.describe())
        throw UsageError("--from and --to name the same database");
    const auto copy = [&](QSqlDatabase& in) {
        SqlConnection::with(target, QStringLiteral("pwangsa-copy-target"), [&](QSqlDatabase& out) {
            SchemaCheck::require(in, source.describe());
            SchemaCheck::require(out, target.describe());
            const DatabaseCare::Counts present = DataCopy::count(out);
            if ((present.customers > 0 || present.lines > 0) && !parser.isSet(force))
                throw std::runtime_error(QStringLiteral("%1 is not empty (%2); use --force to replace its data")
                                             .arg(target.describe(), DatabaseCare::describe(present))
                                             .toStdString());
            const DatabaseCare::Counts copied = DataCopy::copy(in, out, parser.isSet(force));
            Console::print(QStringLiteral("Copied from %1 to %2: %3.")
                               .arg(source.describe(), target.describe(), DatabaseCare::describe(copied)));
        });
    };
    SqlConnection::with(source, QStringLiteral("pwangsa-copy-source"), copy, true);  // only read
    return 0;
}

}

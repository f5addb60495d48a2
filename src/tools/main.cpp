// pwangsa-admin: creates the database and its alias, keeps the operator
// account, backs up, restores, exports and imports the data, and produces
// the reports.

#include "CareCommands.h"
#include "CommandLine.h"
#include "Console.h"
#include "Credentials.h"
#include "DatabaseCare.h"
#include "DemoData.h"
#include "FileChecks.h"
#include "OutputFile.h"
#include "RenderCommand.h"
#include "ReportCommand.h"
#include "SchemaCheck.h"
#include "ServerCommands.h"

#include "data/AliasConfig.h"
#include "data/Exceptions.h"
#include "data/OperatorAccount.h"
#include "data/Schema.h"
#include "data/SqlConnection.h"
#include "data/SqliteEngine.h"
#include "data/StorageEngine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSqlDatabase>
#include <QSqlError>

#include <cstdio>

#include <memory>
#include <stdexcept>
#include <sys/stat.h>

namespace {

constexpr int kDemoLines = 200;
const QString kConnection = QStringLiteral("pwangsa-admin");

const char* const kUsage = R"(Usage: pwangsa-admin COMMAND [OPTIONS]

Commands:
  init     create the database file with its tables and the operator account,
           and record its alias (--driver postgres: on a PostgreSQL server)
  copy     copy all data from one alias's database to another's
  passwd   change the operator's password
  backup   write a checked copy of the database (SQLite or PostgreSQL) to a
           database file, also while the program runs
  restore  replace the database with a backup (the program must be closed)
  export   write the data tables as CSV files
  import   read CSV files into an empty database
  report   produce a report as a PDF file, a prepared-report file or on paper
  render   draw a saved prepared-report file into a PDF file or on paper

Run "pwangsa-admin COMMAND --help" for the options of a command.)";

using CommandLine::UsageError;

const QString kUserHint = QStringLiteral("--password-stdin needs --user NAME");

// Opens a database file on the tool's own connection for the time of work.
template <class Work>
void withDatabase(const QString& path, Work&& work)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
        db.setDatabaseName(path);
        if (!db.open())
            raiseSqlError(db.lastError(), QStringLiteral("Cannot open %1").arg(path));
        work(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(kConnection);
}

// What init --force may replace: only a database of this program, and only
// while nobody has it open (the lock is held until the new file is in place).
std::unique_ptr<DatabaseCare::InUseLock> claimForReplacing(const QString& path)
{
    try {
        DatabaseCare::checkTables(path);
    } catch (const std::runtime_error& error) {
        throw std::runtime_error(QStringLiteral("init --force replaces only a PWANGSA database, and %1 is none (%2); "
                                                "remove it yourself if you mean to replace it")
                                     .arg(path, QString::fromLocal8Bit(error.what()))
                                     .toStdString());
    }
    return std::make_unique<DatabaseCare::InUseLock>(path);
}

// Builds the new database beside the target and moves it into place only when
// complete, so a failure never destroys an existing file.
void createDatabase(const QString& path, const Credentials::Account& account, int lines, bool demo)
{
    OutputFile building(path);
    withDatabase(building.path(), [&](QSqlDatabase& db) {
        Schema::create(db);
        OperatorAccount::store(db, account.name, account.password);
        if (demo || lines > 0)
            DemoData::addCustomers(db);
        if (lines > 0)
            DemoData::addOrderLines(db, lines);
    });
    const auto lock = QFileInfo::exists(path) ? claimForReplacing(path) : nullptr;
    // The old file's log must not be read with the new file.
    for (const char* suffix : {"-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
    building.commit();
}

int runInit(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Creates the database file with the tables DataPelanggan and DataBarang, the index \"Kode Pelanggan\" and "
        "the operator account, and records the alias in %1 when it is not there yet.")
                                         .arg(AliasConfig::configFile()));
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Fill in demonstration data (customers P001 to P020, about 200 order "
                                                 "lines) and the operator ADMIN with password wangsa."));
    const QCommandLineOption lines(QStringLiteral("lines"),
                                   QStringLiteral("Make N order lines over the demonstration customers (for benchmarks)."),
                                   QStringLiteral("N"));
    const QCommandLineOption path(QStringLiteral("path"),
                                  QStringLiteral("The database file (default: the alias's file, or %1).")
                                      .arg(AliasConfig::defaultDatabasePath()),
                                  QStringLiteral("FILE"));
    const QCommandLineOption alias(QStringLiteral("alias"), QStringLiteral("The alias to record (default Dor)."),
                                   QStringLiteral("NAME"), QStringLiteral("Dor"));
    const QCommandLineOption force(QStringLiteral("force"), QStringLiteral("Replace an existing database file."));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("The operator's name."), QStringLiteral("NAME"));
    const QCommandLineOption passwordStdin(QStringLiteral("password-stdin"),
                                           QStringLiteral("Read the operator's password from standard input."));
    const QCommandLineOption driver(QStringLiteral("driver"),
                                    QStringLiteral("sqlite (the default), or postgres for a database on a PostgreSQL "
                                                   "server (see pwangsa-admin init --driver postgres --help)."),
                                    QStringLiteral("DRIVER"), AliasConfig::kSqlite);
    parser.addOptions({demo, lines, path, alias, force, user, passwordStdin, driver});
    if (!CommandLine::parse(parser, QStringLiteral("init"), arguments))
        return 0;
    if (parser.value(driver) != AliasConfig::kSqlite)
        throw UsageError("--driver is sqlite or postgres");

    bool numeric = true;
    const int lineCount = parser.isSet(lines) ? parser.value(lines).toInt(&numeric) : 0;
    if (!numeric || lineCount < 0)
        throw UsageError("--lines needs a whole number of at least 0");
    const QString aliasName = parser.value(alias);
    if (aliasName.isEmpty() || aliasName.contains(QLatin1Char('/')) || aliasName.contains(QLatin1Char('\\')))
        throw UsageError("--alias needs a name without slashes");
    const auto existing = AliasConfig::find(aliasName);
    QString file = parser.isSet(path) ? parser.value(path) : existing ? existing->path : AliasConfig::defaultDatabasePath();
    file = QFileInfo(file).absoluteFilePath();
    FileChecks::requireRegularOrMissing(file, QStringLiteral("The database file"));
    if (QFileInfo::exists(file) && !parser.isSet(force))
        throw std::runtime_error(
            QStringLiteral("database already exists: %1 (use --force to replace it)").arg(file).toStdString());
    if (QFileInfo::exists(file))
        claimForReplacing(file);  // refuses early, before anything is asked or built

    const bool demoAccount = parser.isSet(demo) && !parser.isSet(user) && !parser.isSet(passwordStdin);
    const Credentials::Account account = demoAccount
        ? Credentials::demoAccount()
        : Credentials::ask(parser.value(user), parser.isSet(passwordStdin), QString(), kUserHint);
    const int orderLines = parser.isSet(lines) ? lineCount : parser.isSet(demo) ? kDemoLines : 0;

    createDatabase(file, account, orderLines, parser.isSet(demo));
    Console::print(QStringLiteral("Created %1 with %2 order lines.").arg(file).arg(orderLines));
    if (demoAccount)
        Console::print(QStringLiteral("Operator account: ADMIN, password wangsa (demonstration)."));
    if (!existing) {
        AliasConfig::write(aliasName, AliasConfig::Alias{QStringLiteral("sqlite"), file});
        Console::print(QStringLiteral("Alias %1 recorded in %2.").arg(aliasName, AliasConfig::configFile()));
    } else if (QFileInfo(existing->path).absoluteFilePath() != file) {
        Console::print(QStringLiteral("Alias %1 still points to %2 (left unchanged; edit %3 to change it).")
                           .arg(aliasName, existing->path, AliasConfig::configFile()));
    }
    return 0;
}

int runPasswd(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Changes the operator's password (and, with --user, the name)."));
    const QCommandLineOption alias = CommandLine::aliasOption();
    const QCommandLineOption user(QStringLiteral("user"),
                                  QStringLiteral("The operator's name (default: the current one)."), QStringLiteral("NAME"));
    const QCommandLineOption passwordStdin(QStringLiteral("password-stdin"),
                                           QStringLiteral("Read the new password from standard input."));
    parser.addOptions({alias, user, passwordStdin});
    if (!CommandLine::parse(parser, QStringLiteral("passwd"), arguments))
        return 0;
    const AliasConfig::Alias database = CommandLine::findAlias(parser.value(alias));
    SqlConnection::with(database, kConnection, [&](QSqlDatabase& db) {
        SchemaCheck::require(db, database.describe());
        const Credentials::Account account =
            Credentials::ask(parser.value(user), parser.isSet(passwordStdin), OperatorAccount::storedName(db), kUserHint);
        OperatorAccount::store(db, account.name, account.password);
        Console::print(QStringLiteral("Password of %1 changed.").arg(account.name));
    });
    return 0;
}

int run(const QStringList& arguments)
{
    const QString command = arguments.value(1);
    const QStringList options = arguments.mid(2);
    if (command == QLatin1String("init"))
        return ServerCommands::wantsPostgres(options) ? ServerCommands::runInit(options) : runInit(options);
    if (command == QLatin1String("copy"))
        return ServerCommands::runCopy(options);
    if (command == QLatin1String("passwd"))
        return runPasswd(options);
    if (command == QLatin1String("backup"))
        return CareCommands::runBackup(options);
    if (command == QLatin1String("restore"))
        return CareCommands::runRestore(options);
    if (command == QLatin1String("export"))
        return CareCommands::runExport(options);
    if (command == QLatin1String("import"))
        return CareCommands::runImport(options);
    if (command == QLatin1String("report"))
        return ReportCommand::run(options);
    if (command == QLatin1String("render"))
        return RenderCommand::run(options);
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        Console::print(QString::fromUtf8(kUsage));
        return 0;
    }
    throw UsageError(command.isEmpty() ? "no command given" : "unknown command: " + command.toStdString());
}

}

int main(int argc, char** argv)
{
    // Everything the tool creates (databases with their side files, backups,
    // exports, reports, the alias file, folders) is for its owner's eyes only.
    ::umask(077);
    // Only the report and render commands paint; the others run without a display.
    const char* command = argc > 1 ? argv[1] : nullptr;
    const bool gui = ReportCommand::needsGui(command) || RenderCommand::needsGui(command);
    if (gui)
        ReportCommand::useOffscreenWithoutDisplay();
    const std::unique_ptr<QCoreApplication> app =
        gui ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    int code = 1;
    try {
        code = run(app->arguments());
    } catch (const UsageError& error) {
        Console::printError(QString::fromStdString(error.what()));
        std::fprintf(stderr, "%s\n", kUsage);
        code = 2;
    } catch (const Exception& error) {
        Console::printError(error.message());
    } catch (const std::exception& error) {
        Console::printError(QString::fromLocal8Bit(error.what()));
    }
    // Close the databases here, while Qt Sql is certainly intact: left to
    // the application's shut-down, the report command's connection stayed
    // open at exit.
    closeAllDatabases();
    return code;
}

#include "CareCommands.h"

#include "CommandLine.h"
#include "Console.h"
#include "CsvTransfer.h"
#include "DatabaseCare.h"
#include "FileChecks.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace CareCommands {

namespace {

using CommandLine::UsageError;

QString absolute(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

// Export and import: the same options (the alias and the folder of the
// files), the same checks, one piece of work and its report.
struct CsvCommand {
    QString name;
    QString description;
    QString folderHelp;
    qint64 (*work)(const AliasConfig::Alias& database, const QString& dir, bool edited);
    QString report;  // %1 rows, %2 the folder, %3 the database
    QString editedHelp;  // import's --edited option; empty for export
};

// The alias's database; a SQLite file must exist and is named absolutely.
AliasConfig::Alias databaseOf(const CsvCommand& command, const QString& name)
{
    AliasConfig::Alias database = CommandLine::findAlias(name);
    if (!database.isPostgres())
        database.path = CommandLine::sqliteFile(name, command.name);
    return database;
}

int runCsv(const CsvCommand& command, const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(command.description);
    const QCommandLineOption alias = CommandLine::aliasOption();
    const QCommandLineOption csv(QStringLiteral("csv"), command.folderHelp, QStringLiteral("DIR"));
    const QCommandLineOption edited(QStringLiteral("edited"), command.editedHelp);
    parser.addOptions({alias, csv});
    if (!command.editedHelp.isEmpty())
        parser.addOption(edited);
    if (!CommandLine::parse(parser, command.name, arguments))
        return 0;
    if (!parser.isSet(csv))
        throw UsageError("--csv DIR is required");
    const QString dir = absolute(parser.value(csv));
    const AliasConfig::Alias database = databaseOf(command, parser.value(alias));
    const qint64 rows = command.work(database, dir, !command.editedHelp.isEmpty() && parser.isSet(edited));
    Console::print(command.report.arg(rows).arg(dir, database.isPostgres() ? database.describe() : database.path));
    return 0;
}

}

int runBackup(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes a consistent copy of the database to FILE while the program may be running, as a database file the "
        "program can open directly (for a PostgreSQL database: its data, read in one repeatable-read transaction); "
        "checks the copy (integrity, the tables and their row counts) and prints its row counts."));
    const QCommandLineOption alias = CommandLine::aliasOption();
    const QCommandLineOption force(QStringLiteral("force"), QStringLiteral("Replace FILE when it exists."));
    parser.addOptions({alias, force});
    if (!CommandLine::parse(parser, QStringLiteral("backup"), arguments, {QStringLiteral("FILE")}))
        return 0;
    const AliasConfig::Alias source = CommandLine::findAlias(parser.value(alias));
    const QString database = source.isPostgres() ? source.describe()
                                                 : CommandLine::sqliteFile(parser.value(alias), QStringLiteral("Backup"));
    const QString target = absolute(parser.positionalArguments().first());
    if (target == database || FileChecks::sameFile(target, database))
        throw UsageError("the backup file must not be the database itself");
    FileChecks::requireRegularOrMissing(target, QStringLiteral("The backup file"));
    if (QFileInfo::exists(target) && !parser.isSet(force))
        throw std::runtime_error(QStringLiteral("%1 already exists (use --force to replace it)").arg(target).toStdString());
    FileChecks::makeParentFolder(target);
    const DatabaseCare::Counts counts = source.isPostgres() ? DatabaseCare::backupFromServer(source, target)
                                                            : DatabaseCare::backup(database, target);
    Console::print(QStringLiteral("Backup of %1 written to %2 and checked: %3.")
                       .arg(database, target, DatabaseCare::describe(counts)));
    return 0;
}

int runRestore(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Replaces the database with the backup FILE. Refuses while a program has the database open. The backup is "
        "checked (integrity and the tables) before the switch; the previous database is kept as "
        "NAME.before-restore beside it."));
    const QCommandLineOption alias = CommandLine::aliasOption();
    parser.addOption(alias);
    if (!CommandLine::parse(parser, QStringLiteral("restore"), arguments, {QStringLiteral("FILE")}))
        return 0;
    if (CommandLine::findAlias(parser.value(alias)).isPostgres())
        throw std::runtime_error(
            QStringLiteral("restore replaces a database file; alias %1 is a PostgreSQL database. To put a backup on "
                           "the server, give the backup file an alias and copy it over: pwangsa-admin copy --from "
                           "BACKUP-ALIAS --to %1 --force")
                .arg(parser.value(alias))
                .toStdString());
    const QString database = CommandLine::sqliteFile(parser.value(alias), QStringLiteral("Restore"), false);
    const QString source = absolute(parser.positionalArguments().first());
    if (!QFileInfo::exists(source))
        throw std::runtime_error(QStringLiteral("Backup file not found: %1").arg(source).toStdString());
    FileChecks::requireRegularOrMissing(source, QStringLiteral("The backup file"));
    if (source == database || FileChecks::sameFile(source, database))
        throw UsageError("the backup file must not be the database itself");
    FileChecks::makeParentFolder(database);
    const bool hadDatabase = QFileInfo::exists(database);
    const DatabaseCare::Counts counts = DatabaseCare::restore(source, database);
    Console::print(QStringLiteral("Restored %1 from %2: %3.").arg(database, source, DatabaseCare::describe(counts)));
    if (hadDatabase)
        Console::print(QStringLiteral("The previous database is kept as %1.before-restore.").arg(database));
    return 0;
}

int runExport(const QStringList& arguments)
{
    return runCsv(
        CsvCommand{QStringLiteral("export"),
                   QStringLiteral("Writes DataPelanggan.csv and DataBarang.csv into DIR, from one consistent reading of the "
                                  "database (SQLite or PostgreSQL, the same files for the same rows): UTF-8, a header row of the field "
                                  "names, quoted as RFC 4180 says, dates as YYYY-MM-DD, numbers with \".\" as decimal "
                                  "separator; DataBarang.csv has the computed column \"Jumlah Harga\" (Harga Satuan x "
                                  "Banyak Barang, 0 when either is empty) at the end. Both files are put in place only when both are complete, "
                                  "followed by export.manifest with their sizes and checksums, which import checks; "
                                  "an earlier export in DIR stays whole until then."),
                   QStringLiteral("The folder for the files (made when missing)."),
                   [](const AliasConfig::Alias& database, const QString& dir, bool) {
                       return CsvTransfer::exportTo(database, dir);
                   },
                   QStringLiteral("Exported %1 rows to %2 from %3."), QString()},
        arguments);
}

int runImport(const QStringList& arguments)
{
    return runCsv(
        CsvCommand{QStringLiteral("import"),
                   QStringLiteral("Reads DataPelanggan.csv and DataBarang.csv from DIR (as export writes them; the column "
                                  "\"Jumlah Harga\" is ignored) into an empty database (SQLite or PostgreSQL), in one transaction. Every value is checked: a "
                                  "wrong date, a number that isn't one, a text longer than its field or a duplicate key "
                                  "rejects the whole import with its file, line and column, and nothing is written. The files must be the pair one "
                                  "export wrote (export.manifest says so), unless --edited is given."),
                   QStringLiteral("The folder holding the files."), &CsvTransfer::importFrom,
                   QStringLiteral("Imported %1 rows from %2 into %3."),
                   QStringLiteral("The files were changed after the export (or made by hand): import them without "
                                  "checking them against export.manifest.")},
        arguments);
}

}

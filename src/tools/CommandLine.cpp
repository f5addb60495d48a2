#include "CommandLine.h"

#include "Console.h"

#include "data/AliasConfig.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QPrinterInfo>

namespace CommandLine {

bool parse(QCommandLineParser& parser, const QString& command, const QStringList& arguments,
           const QStringList& positional)
{
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    parser.addOption(help);
    for (const QString& name : positional)
        parser.addPositionalArgument(name, QString());
    if (!parser.parse(QStringList{QStringLiteral("pwangsa-admin ") + command} + arguments))
        throw UsageError(parser.errorText().toStdString());
    if (parser.isSet(help)) {
        QStringList lines = parser.helpText().trimmed().split(QLatin1Char('\n'));
        lines.first() = QStringLiteral("Usage: pwangsa-admin %1 [options]").arg(command);
        if (!positional.isEmpty())
            lines.first() += QLatin1Char(' ') + positional.join(QLatin1Char(' '));
        Console::print(lines.join(QLatin1Char('\n')));
        return false;
    }
    const QStringList given = parser.positionalArguments();
    if (given.size() > positional.size())
        throw UsageError("unexpected argument: " + given.value(positional.size()).toStdString());
    if (given.size() < positional.size())
        throw UsageError(QStringLiteral("%1 needs %2").arg(command, positional.join(QLatin1Char(' '))).toStdString());
    return true;
}

QCommandLineOption aliasOption()
{
    return QCommandLineOption(QStringLiteral("alias"), QStringLiteral("The database alias (default Dor)."),
                              QStringLiteral("NAME"), QStringLiteral("Dor"));
}

AliasConfig::Alias findAlias(const QString& alias)
{
    const QString warning = AliasConfig::exposedPasswordWarning();
    if (!warning.isEmpty())
        Console::printError(QStringLiteral("warning: ") + warning);
    const auto entry = AliasConfig::find(alias);
    if (!entry)
        throw std::runtime_error(QStringLiteral("Unknown database alias: %1").arg(alias).toStdString());
    return *entry;
}

int printerIndex(const QString& name)
{
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.isEmpty())
        throw std::runtime_error("no printer is installed");
    if (name.isEmpty())
        return -1;
    for (int i = 0; i < printers.size(); ++i)
        if (printers.at(i).printerName() == name)
            return i;
    throw UsageError(QStringLiteral("unknown printer: %1").arg(name).toStdString());
}

QString sqliteFile(const QString& alias, const QString& work, bool mustExist)
{
    const AliasConfig::Alias entry = findAlias(alias);
    if (!entry.isSqlite())
        throw std::runtime_error(QStringLiteral("%1 of a database with driver \"%2\" (alias %3) is not supported yet; "
                                                "only SQLite databases can be handled here")
                                     .arg(work, entry.driver, alias)
                                     .toStdString());
    const QString path = QFileInfo(entry.path).absoluteFilePath();
    if (mustExist && !QFileInfo(path).isFile())
        throw std::runtime_error(QStringLiteral("Database file not found: %1").arg(path).toStdString());
    return path;
}

}

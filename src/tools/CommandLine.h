#pragma once

#include "data/AliasConfig.h"

#include <QString>
#include <QStringList>

#include <stdexcept>

class QCommandLineOption;
class QCommandLineParser;

// What the subcommands of pwangsa-admin share: parsing their options, the
// alias option and the database file it names.
namespace CommandLine {

// Wrong usage (exit code 2); any other exception is a failure (exit code 1).
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses a command's options and the expected number of positional arguments
// (named in `positional` for the help text); returns false when help was
// asked for (and shown).
bool parse(QCommandLineParser& parser, const QString& command, const QStringList& arguments,
           const QStringList& positional = {});
// The --alias option, default Dor.
QCommandLineOption aliasOption();
// The settings of an alias; raises std::runtime_error for an unknown one.
AliasConfig::Alias findAlias(const QString& alias);
// The index of the named printer in the system's list, -1 for the default
// printer when `name` is empty. Raises std::runtime_error when no printer is
// installed and UsageError for an unknown name.
int printerIndex(const QString& name);
// The database file of a SQLite alias. Raises std::runtime_error for an
// unknown alias or another driver; `mustExist` also for a missing file.
QString sqliteFile(const QString& alias, const QString& work, bool mustExist = true);

}

#include "Credentials.h"

#include "CommandLine.h"
#include "Console.h"

#include "data/OperatorAccount.h"

namespace Credentials {

QString readPassword(bool fromStdin)
{
    QString password;
    if (fromStdin) {
        if (!Console::readLine(&password))
            throw std::runtime_error("no password on standard input");
    } else {
        password = Console::askHidden(QStringLiteral("Password: "));
        if (Console::askHidden(QStringLiteral("Password again: ")) != password)
            throw std::runtime_error("the two passwords differ");
    }
    if (password.isEmpty())
        throw std::runtime_error("the password must not be empty");
    return password;
}

Account ask(const QString& user, bool fromStdin, const QString& storedName, const QString& options)
{
    QString name = user;
    if (name.isEmpty())
        name = storedName;
    if (name.isEmpty() && fromStdin)
        throw CommandLine::UsageError(options.toStdString());
    if (name.isEmpty())
        name = Console::ask(QStringLiteral("Operator name: "));
    // Stored as the login window types it; refused when that window could never accept it.
    name = OperatorAccount::loginName(name);
    if (const QString problem = OperatorAccount::unusableName(name); !problem.isEmpty())
        throw CommandLine::UsageError(problem.toStdString());
    const QString password = readPassword(fromStdin);
    if (const QString problem = OperatorAccount::unusablePassword(password); !problem.isEmpty())
        throw CommandLine::UsageError(problem.toStdString());
    return Account{name, password};
}

}

#include "Credentials.h"

#include "CommandLine.h"
#include "Console.h"

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
    if (name.trimmed().isEmpty() || name != name.trimmed())
        throw std::runtime_error("the operator name must not be empty nor start or end with a blank");
    return Account{name, readPassword(fromStdin)};
}

}

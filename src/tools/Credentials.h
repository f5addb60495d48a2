#pragma once

#include <QString>

// The operator's name and password as pwangsa-admin asks for them.
namespace Credentials {

struct Account {
    QString name;
    QString password;
};

// The demonstration operator of --demo.
inline Account demoAccount()
{
    return Account{QStringLiteral("ADMIN"), QStringLiteral("wangsa")};
}

// A password from one line of standard input, or asked twice on the
// terminal; never empty.
QString readPassword(bool fromStdin);
// The operator's name (given, else the stored one, else asked) and password.
// `options` names the two options for the usage error, e.g.
// "--password-stdin needs --user NAME".
Account ask(const QString& user, bool fromStdin, const QString& storedName, const QString& options);

}

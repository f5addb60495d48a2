#include "OperatorAccount.h"

namespace OperatorAccount {

// Held here until the account moves into the database.
bool accepts(const QString& name, const QString& password)
{
    return name == QLatin1String("ADMIN") && password == QLatin1String("wangsa");
}

QString name()
{
    return QStringLiteral("ADMIN");
}

}

#pragma once

#include <QString>

// The one operator account the login window accepts.
namespace OperatorAccount {
// True when name and password are exactly the operator's (no trimming).
bool accepts(const QString& name, const QString& password);
// The operator's name, for filling in the login window.
QString name();
}

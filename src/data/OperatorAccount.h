#pragma once

#include <QString>

class QSqlDatabase;

// The operator account, kept in the table Operator of the database of alias
// Dor: the name, a random salt and a PBKDF2-HMAC-SHA256 hash of the password.
// No password is held in the program. accepts() and name() open the alias's
// database (SQLite file or PostgreSQL server) on a private read-only
// connection of their own each time, so they work before any view is open;
// when the alias, its database or the account is missing, accepts() is false
// and name() empty.
namespace OperatorAccount {

constexpr int kIterations = 120000;

// True when name and password are exactly the operator's (no trimming).
bool accepts(const QString& name, const QString& password);
// The operator's name, for filling in the login window.
QString name();

// Replaces the account stored in db (used by pwangsa-admin). Raises
// EDBEngineError when the database can't be written.
void store(QSqlDatabase& db, const QString& name, const QString& password);
bool verify(QSqlDatabase& db, const QString& name, const QString& password);
QString storedName(QSqlDatabase& db);

}

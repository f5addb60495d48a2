#pragma once

#include <QString>

class QSqlDatabase;

// The operator account, kept in the table Operator of the database of alias
// Dor: the name, a random salt and a PBKDF2-HMAC-SHA256 hash of the password.
// No password is held in the program. accepts() and name() open the alias's
// database (SQLite file or PostgreSQL server) on a private read-only
// connection of their own each time, so they work before any view is open;
// name() is empty when the alias, its database or the account is missing.
namespace OperatorAccount {

constexpr int kIterations = 120000;

// What the login window takes, and so what an account may hold: a name of at
// most 16 characters whose typed letters it shows in upper case, and a
// password of at most 10 characters.
constexpr int kNameLength = 16;
constexpr int kPasswordLength = 10;
// A name as the login window turns what is typed: letters in upper case.
QString loginName(const QString& typed);
// Why the login window could never accept this name or this password
// (empty or too long, blanks around it, a name not as the window types it);
// empty when it can.
QString unusableName(const QString& name);
QString unusablePassword(const QString& password);

// True when name and password are exactly the operator's (no trimming).
// Raises EDBEngineError when the account can't be read (no alias, no
// database file or server, no account table), so that a database fault is
// not taken for a wrong password.
bool accepts(const QString& name, const QString& password);
// The operator's name, for filling in the login window.
QString name();

// Replaces the account stored in db (used by pwangsa-admin). Raises
// EDBEngineError when the database can't be written.
void store(QSqlDatabase& db, const QString& name, const QString& password);
bool verify(QSqlDatabase& db, const QString& name, const QString& password);
QString storedName(QSqlDatabase& db);

}

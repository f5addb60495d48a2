#include "OperatorAccount.h"

#include "AliasConfig.h"
#include "Exceptions.h"
#include "Pbkdf2.h"
#include "SqlConnection.h"
#include "SqlErrors.h"
#include "StorageEngine.h"

#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace OperatorAccount {

namespace {

constexpr int kHashLength = 32;
const QString kConnection = QStringLiteral("pwangsa-operator");

QByteArray hashOf(const QString& password, const QByteArray& salt, int iterations)
{
    return pbkdf2Sha256(password.toUtf8(), salt, iterations, kHashLength);
}

// Compares without stopping at the first difference.
bool sameBytes(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference = char(difference | (a[i] ^ b[i]));
    return difference == 0;
}

const QString kAlias = QStringLiteral("Dor");

// Runs work on a read-only connection to the alias's database; raises
// EDBEngineError when there is none (no alias, no file, no server).
template <class Work>
void withAliasDatabase(Work&& work)
{
    const auto alias = AliasConfig::find(kAlias);
    if (!alias)
        raiseEngineError(EngineCode::UnknownAlias, QStringLiteral("Unknown database alias: %1").arg(kAlias));
    SqlConnection::with(*alias, kConnection, work, true);
}

bool hasBlankAround(const QString& text)
{
    return text != text.trimmed();
}

}

QString loginName(const QString& typed)
{
    return typed.toUpper();
}

QString unusableName(const QString& name)
{
    if (name.trimmed().isEmpty() || hasBlankAround(name))
        return QStringLiteral("the operator name must not be empty nor start or end with a blank");
    if (name.size() > kNameLength)
        return QStringLiteral("the operator name must not be longer than %1 characters, as the login window takes no more")
            .arg(kNameLength);
    if (name != loginName(name))
        return QStringLiteral("the operator name must be in upper case, as the login window types it");
    return QString();
}

QString unusablePassword(const QString& password)
{
    if (password.isEmpty())
        return QStringLiteral("the password must not be empty");
    if (hasBlankAround(password))
        return QStringLiteral("the password must not start or end with a blank");
    if (password.size() > kPasswordLength)
        return QStringLiteral("the password must not be longer than %1 characters, as the login window takes no more")
            .arg(kPasswordLength);
    return QString();
}

bool accepts(const QString& name, const QString& password)
{
    bool accepted = false;
    withAliasDatabase([&](QSqlDatabase& db) { accepted = verify(db, name, password); });
    return accepted;
}

QString name()
{
    QString stored;
    try {
        withAliasDatabase([&](QSqlDatabase& db) { stored = storedName(db); });
    } catch (const EDBEngineError&) {
        // Nothing to fill in; the login itself reports the fault.
    }
    return stored;
}

void store(QSqlDatabase& db, const QString& name, const QString& password)
{
    QByteArray salt(16, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(salt.data()), salt.size() / 4);
    const QByteArray hash = hashOf(password, salt, kIterations);
    QSqlQuery query(db);
    if (!db.transaction())
        raiseSqlError(db.lastError(), QStringLiteral("Storing the operator account"));
    const bool written = query.exec(QStringLiteral("DELETE FROM \"Operator\""))
        && query.prepare(QStringLiteral(
            "INSERT INTO \"Operator\" (\"Nama\", \"Salt\", \"Hash\", \"Iterations\") VALUES (?, ?, ?, ?)"));
    if (written) {
        query.addBindValue(name);
        query.addBindValue(salt);
        query.addBindValue(hash);
        query.addBindValue(kIterations);
    }
    if (!written || !query.exec() || !db.commit()) {
        const QSqlError error = query.lastError().isValid() ? query.lastError() : db.lastError();
        db.rollback();
        raiseSqlError(error, QStringLiteral("Storing the operator account"));
    }
}

bool verify(QSqlDatabase& db, const QString& name, const QString& password)
{
    QSqlQuery query(db);
    // A file that is no database fails already here, with the engine's own words.
    if (!query.prepare(QStringLiteral("SELECT \"Salt\", \"Hash\", \"Iterations\" FROM \"Operator\" WHERE \"Nama\" = ?")))
        raiseSqlError(query.lastError(), QStringLiteral("Reading the operator account."));
    query.addBindValue(name);
    if (!query.exec())
        raiseSqlError(query.lastError(), QStringLiteral("Reading the operator account."));
    if (!query.next())
        return false;
    const int iterations = query.value(2).toInt();
    return iterations > 0 && sameBytes(hashOf(password, query.value(0).toByteArray(), iterations),
                                       query.value(1).toByteArray());
}

QString storedName(QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT \"Nama\" FROM \"Operator\" ORDER BY \"Nama\" LIMIT 1")) || !query.next())
        return QString();
    return query.value(0).toString();
}

}

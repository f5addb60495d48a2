#include "SqlWork.h"

#include "data/Schema.h"
#include "data/SqlErrors.h"

#include <QSqlDatabase>
#include <QSqlError>

namespace SqlWork {

QSqlQuery run(QSqlDatabase& db, const QString& sql, const QVariantList& values)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (values.isEmpty()) {  // also statements a server can't prepare (BEGIN)
        if (!query.exec(sql))
            raiseSqlError(query.lastError(), sql);
        return query;
    }
    if (!query.prepare(sql))
        raiseSqlError(query.lastError(), sql);
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        raiseSqlError(query.lastError(), sql);
    return query;
}

void beginSnapshot(QSqlDatabase& db)
{
    run(db, Schema::isPostgres(db) ? QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY")
                                   : QStringLiteral("BEGIN"));
}

void beginWriting(QSqlDatabase& db)
{
    run(db, Schema::isPostgres(db) ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"));
}

void rollback(QSqlDatabase& db) noexcept
{
    QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
}

}

#pragma once

#include <QSqlQuery>
#include <QVariantList>

class QSqlDatabase;

// Statements and transactions on a Qt Sql connection of either engine, for
// the commands that read or write whole tables. Failures raise EDBEngineError.
namespace SqlWork {

// Runs `sql` with its values bound in order; returns the forward-only query.
QSqlQuery run(QSqlDatabase& db, const QString& sql, const QVariantList& values = {});

// Starts one consistent reading (a repeatable-read, read-only transaction on
// PostgreSQL; on SQLite a reader keeps its snapshot from its first read).
void beginSnapshot(QSqlDatabase& db);
// Starts a transaction that writes (on SQLite it takes the write lock now).
void beginWriting(QSqlDatabase& db);
// Ends an open transaction without its changes; errors are ignored, as this
// runs after the work is done or while another error is on its way.
void rollback(QSqlDatabase& db) noexcept;

}

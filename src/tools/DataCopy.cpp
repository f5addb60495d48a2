#include "DataCopy.h"

#include "Progress.h"
#include "SqlWork.h"
#include "Tables.h"

#include "data/Schema.h"
#include "data/SqlErrors.h"

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace DataCopy {

namespace {

using SqlWork::beginSnapshot;
using SqlWork::beginWriting;
using SqlWork::rollback;
using SqlWork::run;

constexpr int kBatch = 2000;

struct Table {
    QString name;
    QStringList columns;  // the primary key first
};

QList<Table> tables()
{
    QList<Table> all;
    for (const Tables::Layout& layout : Tables::data()) {
        Table table{layout.name, {}};
        for (const Tables::Column& column : layout.columns)
            table.columns.append(column.name);
        all.append(table);
    }
    all.append(Table{Tables::kOperator, Tables::operatorColumns()});
    return all;
}

QString quoted(const QString& name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QString columnList(const Table& table)
{
    QStringList names;
    for (const QString& column : table.columns)
        names.append(quoted(column));
    return names.join(QLatin1Char(','));
}

// A date as the target keeps it: a date on PostgreSQL, ISO text on SQLite.
QVariant forTarget(const QVariant& value, bool postgresTarget)
{
    if (value.isNull())
        return QVariant();
    if (value.typeId() == QMetaType::QDate && !postgresTarget)
        return value.toDate().toString(Qt::ISODate);
    return value;
}

// Reads the rows after `after` (all rows when it is null) in key order.
QSqlQuery readBatch(QSqlDatabase& from, const Table& table, const QVariant& after)
{
    const QString key = quoted(table.columns.first());
    const QString where = after.isNull() ? QString() : QStringLiteral(" WHERE %1 > ?").arg(key);
    return run(from,
               QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %4 LIMIT %5")
                   .arg(columnList(table), quoted(table.name), where, key)
                   .arg(kBatch),
               after.isNull() ? QVariantList() : QVariantList{after});
}

qint64 copyTable(QSqlDatabase& from, QSqlDatabase& to, const Table& table, Progress& progress)
{
    QStringList marks;
    for (int i = 0; i < table.columns.size(); ++i)
        marks.append(QStringLiteral("?"));
    QSqlQuery insert(to);
    if (!insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(quoted(table.name), columnList(table), marks.join(QLatin1Char(',')))))
        raiseSqlError(insert.lastError(), table.name);
    const bool postgresTarget = Schema::isPostgres(to);
    qint64 copied = 0;
    QVariant last;
    for (bool more = true; more;) {
        QSqlQuery rows = readBatch(from, table, last);
        int inBatch = 0;
        while (rows.next()) {
            for (int i = 0; i < table.columns.size(); ++i)
                insert.bindValue(i, forTarget(rows.value(i), postgresTarget));
            if (!insert.exec())
                raiseSqlError(insert.lastError(), QStringLiteral("Copying %1").arg(table.name));
            last = rows.value(0);
            ++inBatch;
        }
        copied += inBatch;
        progress.report(copied);
        more = inBatch == kBatch;
    }
    return copied;
}

DatabaseCare::Counts countsOf(const QList<qint64>& numbers)
{
    return DatabaseCare::Counts{numbers.value(0), numbers.value(1), numbers.value(2)};
}

}

DatabaseCare::Counts count(QSqlDatabase& db)
{
    QList<qint64> numbers;
    for (const Table& table : tables()) {
        QSqlQuery query = run(db, QStringLiteral("SELECT count(*) FROM %1").arg(quoted(table.name)));
        numbers.append(query.next() ? query.value(0).toLongLong() : 0);
    }
    return countsOf(numbers);
}

DatabaseCare::Counts copy(QSqlDatabase& from, QSqlDatabase& to, bool replace)
{
    beginSnapshot(from);
    try {
        beginWriting(to);
        QList<qint64> numbers;
        try {
            Progress progress(QStringLiteral("Copying"), QStringLiteral("rows"));
            for (const Table& table : tables()) {
                if (replace || table.name == Tables::kOperator)  // one operator account: the source's
                    run(to, QStringLiteral("DELETE FROM %1").arg(quoted(table.name)));
                numbers.append(copyTable(from, to, table, progress));
            }
            run(to, QStringLiteral("COMMIT"));
        } catch (...) {
            rollback(to);
            throw;
        }
        rollback(from);  // the snapshot was only read
        return countsOf(numbers);
    } catch (...) {
        rollback(from);
        throw;
    }
}

}

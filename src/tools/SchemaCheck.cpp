#include "SchemaCheck.h"

#include "SqlWork.h"
#include "Tables.h"

#include "data/Schema.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

#include <stdexcept>

namespace SchemaCheck {

namespace {

[[noreturn]] void refuse(const QString& database, const QString& what)
{
    throw std::runtime_error(QStringLiteral("%1 is not a PWANGSA database: %2").arg(database, what).toStdString());
}

bool typeFits(Tables::Kind kind, const QString& declared)
{
    const QString type = declared.toUpper();
    const auto any = [&type](std::initializer_list<const char*> words) {
        for (const char* word : words) {
            if (type.contains(QLatin1String(word)))
                return true;
        }
        return false;
    };
    switch (kind) {
    case Tables::Kind::Text:
        return any({"TEXT", "CHAR", "CLOB"});
    case Tables::Kind::Number:
        return any({"REAL", "FLOA", "DOUB", "NUM", "INT", "DEC"});
    case Tables::Kind::Date:  // ISO text on SQLite, a date on PostgreSQL
        return any({"DATE", "TEXT"});
    }
    return false;
}

void requireTable(const Columns& present, const QString& table, const QString& database)
{
    if (present.isEmpty())
        refuse(database, QStringLiteral("the table %1 is missing").arg(table));
}

}

void require(const ColumnsOf& columnsOf, const QString& database)
{
    for (const Tables::Layout& layout : Tables::data()) {
        const Columns present = columnsOf(layout.name);
        requireTable(present, layout.name, database);
        for (const Tables::Column& column : layout.columns) {
            if (!present.contains(column.name))
                refuse(database, QStringLiteral("table %1 lacks the field \"%2\"").arg(layout.name, column.name));
            if (!typeFits(column.kind, present.value(column.name)))
                refuse(database, QStringLiteral("the field \"%2\" of table %1 has the type %3")
                                     .arg(layout.name, column.name, present.value(column.name)));
        }
    }
    const Columns account = columnsOf(Tables::kOperator);
    requireTable(account, Tables::kOperator, database);
    for (const QString& column : Tables::operatorColumns()) {
        if (!account.contains(column))
            refuse(database, QStringLiteral("table %1 lacks the field \"%2\"").arg(Tables::kOperator, column));
    }
}

void require(QSqlDatabase& db, const QString& database)
{
    const QString sql = Schema::isPostgres(db)
        ? QStringLiteral("SELECT column_name, data_type FROM information_schema.columns "
                         "WHERE table_schema = current_schema() AND table_name = ?")
        : QStringLiteral("SELECT name, type FROM pragma_table_info(?)");
    require(
        [&](const QString& table) {
            Columns columns;
            QSqlQuery query = SqlWork::run(db, sql, {table});
            while (query.next())
                columns.insert(query.value(0).toString(), query.value(1).toString());
            return columns;
        },
        database);
}

}

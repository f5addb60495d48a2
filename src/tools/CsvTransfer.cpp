#include "CsvTransfer.h"

#include "Csv.h"
#include "Progress.h"
#include "SqlWork.h"
#include "Tables.h"

#include "data/Schema.h"
#include "data/SqlConnection.h"
#include "data/SqlErrors.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>

#include <cmath>
#include <stdexcept>

namespace CsvTransfer {

namespace {

using Tables::Column;
using Tables::Kind;
using Tables::Layout;

[[noreturn]] void failWith(const QString& text)
{
    throw std::runtime_error(text.toStdString());
}

QString fileName(const Layout& layout)
{
    return layout.name + QStringLiteral(".csv");
}

// Only DataBarang.csv carries the line amount.
bool hasAmount(const Layout& layout)
{
    return layout.name == QLatin1String("DataBarang");
}

QString selectAll(const Layout& layout)
{
    QStringList names;
    for (const Column& column : layout.columns)
        names.append(QLatin1Char('"') + column.name + QLatin1Char('"'));
    return QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY \"%3\"")
        .arg(names.join(QLatin1Char(',')), layout.name, layout.columns.front().name);
}

QString numberText(double value)
{
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QString valueText(const QVariant& value, Kind kind)
{
    if (value.isNull())
        return QString();
    return kind == Kind::Number ? numberText(value.toDouble()) : value.toString();
}

// Harga Satuan x Banyak Barang, 0 when either is empty: the rule of the views.
QString amountText(const QVariant& harga, const QVariant& banyak)
{
    return numberText(harga.isNull() || banyak.isNull() ? 0.0 : harga.toDouble() * banyak.toDouble());
}

qint64 writeTable(QSqlDatabase& db, const Layout& layout, const QDir& dir)
{
    QSaveFile file(dir.filePath(fileName(layout)));
    if (!file.open(QIODevice::WriteOnly))
        failWith(QStringLiteral("Cannot write %1: %2").arg(file.fileName(), file.errorString()));
    QStringList header;
    for (const Column& column : layout.columns)
        header.append(column.name);
    if (hasAmount(layout))
        header.append(Tables::kJumlahHarga);
    file.write(Csv::formatRecord(header).toUtf8());
    QSqlQuery rows = SqlWork::run(db, selectAll(layout));
    Progress progress(QStringLiteral("Writing ") + fileName(layout), QStringLiteral("rows"));
    qint64 count = 0;
    for (; rows.next(); progress.report(++count)) {
        QStringList fields;
        for (int i = 0; i < int(layout.columns.size()); ++i)
            fields.append(valueText(rows.value(i), layout.columns[i].kind));
        if (hasAmount(layout))
            fields.append(amountText(rows.value(5), rows.value(6)));
        file.write(Csv::formatRecord(fields).toUtf8());
    }
    if (!file.commit())
        failWith(QStringLiteral("Cannot write %1: %2").arg(file.fileName(), file.errorString()));
    return count;
}

// One table's file read and checked: the stored values in layout order.
struct TableRows {
    const Layout* layout;
    QList<QVariantList> rows;
};

// The value of one field, or a text saying what is wrong with it.
QVariant convert(const Column& column, const QString& text, QString* problem)
{
    if (text.isEmpty()) {
        if (column.key)
            *problem = QStringLiteral("the key must not be empty");
        return QVariant();
    }
    switch (column.kind) {
    case Kind::Text:
        if (text.size() > column.size)
            *problem = QStringLiteral("\"%1\" is longer than %2 characters").arg(text).arg(column.size);
        return text;
    case Kind::Number: {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        bool ok = false;
        const double value = c.toDouble(text, &ok);
        if (!ok || !std::isfinite(value) || text != text.trimmed())
            *problem = QStringLiteral("\"%1\" is not a number (write it like 1250.5)").arg(text);
        return value;
    }
    case Kind::Date: {
        static const QRegularExpression iso(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
        if (!iso.match(text).hasMatch() || !QDate::fromString(text, Qt::ISODate).isValid())
            *problem = QStringLiteral("\"%1\" is not a date (write it as YYYY-MM-DD)").arg(text);
        return text;
    }
    }
    return QVariant();
}

// Where each field of the layout stands in the file, from its header row.
QList<int> readHeader(const Csv::Record& header, const Layout& layout)
{
    const QString file = fileName(layout);
    QList<int> positions(int(layout.columns.size()), -1);
    for (int i = 0; i < header.fields.size(); ++i) {
        const QString& name = header.fields[i];
        const auto column = std::find_if(layout.columns.begin(), layout.columns.end(),
                                         [&name](const Column& c) { return c.name == name; });
        if (column != layout.columns.end() && positions[column - layout.columns.begin()] < 0)
            positions[column - layout.columns.begin()] = i;
        else if (hasAmount(layout) && name == Tables::kJumlahHarga)
            continue;
        else
            Csv::failAt(file, header.line, i + 1, QStringLiteral("\"%1\" is not a field of %2, or comes twice").arg(name, layout.name));
    }
    for (int i = 0; i < positions.size(); ++i) {
        if (positions[i] < 0)
            Csv::failAt(file, header.line, int(header.fields.size()) + 1,
                        QStringLiteral("the header lacks the field \"%1\"").arg(layout.columns[i].name));
    }
    return positions;
}

QString readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        failWith(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(file.readAll());
    if (utf8.hasError())
        failWith(QStringLiteral("%1 is not UTF-8 text").arg(path));
    return text;
}

TableRows readTable(const QDir& dir, const Layout& layout)
{
    const QString file = fileName(layout);
    const QList<Csv::Record> records = Csv::parse(readText(dir.filePath(file)), file);
    if (records.isEmpty())
        failWith(QStringLiteral("%1 is empty: it needs at least the header row").arg(file));
    const QList<int> positions = readHeader(records.first(), layout);
    TableRows table{&layout, {}};
    QHash<QString, int> keys;  // key value -> line of its first record
    Progress progress(QStringLiteral("Checking ") + file, QStringLiteral("rows"));
    for (const Csv::Record& record : records.mid(1)) {
        progress.report(table.rows.size(), records.size() - 1);
        if (record.fields.size() != records.first().fields.size())
            Csv::failAt(file, record.line, 1, QStringLiteral("%1 fields where the header has %2")
                                                   .arg(record.fields.size())
                                                   .arg(records.first().fields.size()));
        QVariantList row;
        for (int i = 0; i < positions.size(); ++i) {
            QString problem;
            row.append(convert(layout.columns[i], record.fields[positions[i]], &problem));
            if (!problem.isEmpty())
                Csv::failAt(file, record.line, positions[i] + 1, layout.columns[i].name + QStringLiteral(": ") + problem);
        }
        const QString key = valueText(row.first(), layout.columns.front().kind);
        const int firstLine = keys.value(key, 0);
        if (firstLine > 0)
            Csv::failAt(file, record.line, positions[0] + 1,
                        QStringLiteral("%1: the key \"%2\" is already on line %3")
                            .arg(layout.columns[0].name, record.fields[positions[0]])
                            .arg(firstLine));
        keys.insert(key, record.line);
        table.rows.append(row);
    }
    return table;
}

QString insertInto(const Layout& layout)
{
    QStringList names;
    QStringList marks;
    for (const Column& column : layout.columns) {
        names.append(QLatin1Char('"') + column.name + QLatin1Char('"'));
        marks.append(QStringLiteral("?"));
    }
    return QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
        .arg(layout.name, names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
}

// A checked value as the database keeps it: a date is a date on PostgreSQL
// and ISO text on SQLite.
QVariant stored(const QVariant& value, Kind kind, bool postgres)
{
    if (kind == Kind::Date && postgres && !value.isNull())
        return QDate::fromString(value.toString(), Qt::ISODate);
    return value;
}

qint64 insertRows(QSqlDatabase& db, const TableRows& table)
{
    QSqlQuery insert(db);
    if (!insert.prepare(insertInto(*table.layout)))
        raiseSqlError(insert.lastError(), table.layout->name);
    const bool postgres = Schema::isPostgres(db);
    Progress progress(QStringLiteral("Importing ") + table.layout->name, QStringLiteral("rows"));
    qint64 count = 0;
    for (const QVariantList& row : table.rows) {
        for (int i = 0; i < row.size(); ++i)
            insert.bindValue(i, stored(row[i], table.layout->columns[i].kind, postgres));
        if (!insert.exec())
            raiseSqlError(insert.lastError(), QStringLiteral("Importing %1").arg(table.layout->name));
        progress.report(++count, table.rows.size());
    }
    return count;
}

// Refuses a database with rows; on PostgreSQL it also keeps other programs
// from adding any until the import ends.
void requireEmpty(QSqlDatabase& db, const AliasConfig::Alias& database)
{
    if (Schema::isPostgres(db))
        SqlWork::run(db, QStringLiteral("LOCK TABLE \"DataPelanggan\", \"DataBarang\" IN EXCLUSIVE MODE"));
    for (const Layout& layout : Tables::data()) {
        QSqlQuery rows = SqlWork::run(db, QStringLiteral("SELECT count(*) FROM \"%1\"").arg(layout.name));
        if (rows.next() && rows.value(0).toLongLong() > 0)
            failWith(QStringLiteral("The database %1 is not empty (table %2 has rows); import needs an empty database, "
                                    "for example one made with \"pwangsa-admin init\"")
                         .arg(database.isPostgres() ? database.describe() : database.path, layout.name));
    }
}

// Runs work(db) on the database in one transaction: a snapshot that is only
// read, or a writing one that is committed when the work succeeds.
template <class Work>
void inTransaction(const AliasConfig::Alias& database, bool writing, Work&& work)
{
    SqlConnection::with(
        database, QStringLiteral("csv"),
        [&](QSqlDatabase& db) {
            writing ? SqlWork::beginWriting(db) : SqlWork::beginSnapshot(db);
            try {
                work(db);
                if (writing)
                    SqlWork::run(db, QStringLiteral("COMMIT"));
            } catch (...) {
                SqlWork::rollback(db);
                throw;
            }
            if (!writing)
                SqlWork::rollback(db);  // nothing was written
        },
        !writing);
}

}

qint64 exportTo(const AliasConfig::Alias& database, const QString& dir)
{
    if (!QDir().mkpath(dir))
        failWith(QStringLiteral("Cannot create the folder %1").arg(dir));
    qint64 count = 0;
    inTransaction(database, false, [&](QSqlDatabase& db) {
        for (const Layout& layout : Tables::data())  // both files from one reading
            count += writeTable(db, layout, QDir(dir));
    });
    return count;
}

qint64 importFrom(const AliasConfig::Alias& database, const QString& dir)
{
    qint64 count = 0;
    inTransaction(database, true, [&](QSqlDatabase& db) {
        requireEmpty(db, database);
        QList<TableRows> tables;
        for (const Layout& layout : Tables::data())
            tables.append(readTable(QDir(dir), layout));
        for (const TableRows& table : tables)
            count += insertRows(db, table);
    });
    return count;
}

}

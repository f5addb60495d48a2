#include "CsvTransfer.h"

#include "Csv.h"
#include "FileChecks.h"
#include "OutputFile.h"
#include "Progress.h"
#include "SchemaCheck.h"
#include "SqlWork.h"
#include "Tables.h"

#include "data/Exceptions.h"
#include "data/Schema.h"
#include "data/SqlConnection.h"
#include "data/SqlErrors.h"
#include "errors/WriteFailure.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

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

// The manifest that export writes last: the size and SHA-256 of both files.
const QString kManifest = QStringLiteral("export.manifest");
const QString kManifestHeading = QStringLiteral("PWANGSA export 1");

struct FileSum {
    qint64 size = 0;
    QString sha256;  // hex
    bool operator==(const FileSum&) const = default;
};

// Writes text into a file, checking every write, and sums what it wrote.
class SummedWriter {
public:
    SummedWriter(const QString& path, const QString& target) : m_file(path), m_target(target)
    {
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            fail();
    }
    void write(const QString& text)
    {
        const QByteArray bytes = text.toUtf8();
        if (m_file.write(bytes) != bytes.size())
            fail();
        m_hash.addData(bytes);
        m_size += bytes.size();
    }
    FileSum finish()
    {
        if (!m_file.flush())
            fail();
        m_file.close();
        if (m_file.error() != QFile::NoError)
            fail();
        return FileSum{m_size, QString::fromLatin1(m_hash.result().toHex())};
    }

private:
    [[noreturn]] void fail() { failWith(QStringLiteral("Cannot write %1: %2").arg(m_target, writeFailure(m_file))); }

    QFile m_file;
    QString m_target;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
    qint64 m_size = 0;
};

// Writes one table's file; returns its rows and the file's sum.
std::pair<qint64, FileSum> writeTable(QSqlDatabase& db, const Layout& layout, OutputFile& output)
{
    SummedWriter file(output.path(), output.describe());
    QStringList header;
    for (const Column& column : layout.columns)
        header.append(column.name);
    if (hasAmount(layout))
        header.append(Tables::kJumlahHarga);
    file.write(Csv::formatRecord(header));
    QSqlQuery rows = SqlWork::run(db, selectAll(layout));
    Progress progress(QStringLiteral("Writing ") + fileName(layout), QStringLiteral("rows"));
    qint64 count = 0;
    for (; rows.next(); progress.report(++count)) {
        QStringList fields;
        for (int i = 0; i < int(layout.columns.size()); ++i)
            fields.append(valueText(rows.value(i), layout.columns[i].kind));
        if (hasAmount(layout))
            fields.append(amountText(rows.value(5), rows.value(6)));
        file.write(Csv::formatRecord(fields));
    }
    return {count, file.finish()};
}

QString manifestText(const QList<FileSum>& sums)
{
    QString text = kManifestHeading + QLatin1Char('\n');
    for (int i = 0; i < sums.size(); ++i)
        text += QStringLiteral("%1 %2 sha256:%3\n").arg(fileName(Tables::data()[i])).arg(sums[i].size).arg(sums[i].sha256);
    return text;
}

// The sum of a file as it is now.
FileSum sumOf(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        failWith(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    return FileSum{file.size(), QString::fromLatin1(hash.result().toHex())};
}

// Refuses files that are not the pair the manifest in `dir` describes.
void requireManifest(const QDir& dir)
{
    QFile file(dir.filePath(kManifest));
    if (!file.open(QIODevice::ReadOnly))
        failWith(QStringLiteral("%1 has no %2: DataPelanggan.csv and DataBarang.csv were not written together by one "
                                "pwangsa-admin export (one that was cut short leaves them so). Export again, or give "
                                "--edited to import files you changed yourself.")
                     .arg(dir.path(), kManifest));
    const QStringList lines = QString::fromUtf8(file.read(4096)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    int checked = 0;
    for (const Layout& layout : Tables::data()) {
        const QStringList parts = lines.value(checked + 1).split(QLatin1Char(' '));
        bool numeric = false;
        const qint64 size = parts.value(1).toLongLong(&numeric);
        if (lines.value(0) != kManifestHeading || parts.size() != 3 || parts[0] != fileName(layout) || !numeric
            || !parts[2].startsWith(QLatin1String("sha256:")))
            failWith(QStringLiteral("%1 is damaged; export again").arg(file.fileName()));
        if (!(sumOf(dir.filePath(fileName(layout))) == FileSum{size, parts[2].mid(7)}))
            failWith(QStringLiteral("%1 does not match %2: it was changed after the export, or the two files come "
                                    "from different exports. Export again, or give --edited to import files you "
                                    "changed yourself.")
                         .arg(dir.filePath(fileName(layout)), kManifest));
        ++checked;
    }
}

// The value of one field, or a text saying what is wrong with it.
QVariant convert(const Column& column, const QString& text, QString* problem)
{
    if (column.key && text.trimmed().isEmpty()) {
        *problem = QStringLiteral("the key must not be empty or blank");
        return QVariant();
    }
    if (text.isEmpty())
        return QVariant();
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
    QSet<QString> seen;
    for (int i = 0; i < header.fields.size(); ++i) {
        const QString& name = header.fields[i];
        if (seen.contains(name))
            Csv::failAt(file, header.line, i + 1, QStringLiteral("the header names \"%1\" twice").arg(name));
        seen.insert(name);
        const auto column = std::find_if(layout.columns.begin(), layout.columns.end(),
                                         [&name](const Column& c) { return c.name == name; });
        if (column != layout.columns.end())
            positions[column - layout.columns.begin()] = i;
        else if (hasAmount(layout) && name == Tables::kJumlahHarga)
            continue;
        else
            Csv::failAt(file, header.line, i + 1, QStringLiteral("\"%1\" is not a field of %2").arg(name, layout.name));
    }
    for (int i = 0; i < positions.size(); ++i) {
        if (positions[i] < 0)
            Csv::failAt(file, header.line, int(header.fields.size()) + 1,
                        QStringLiteral("the header lacks the field \"%1\"").arg(layout.columns[i].name));
    }
    return positions;
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

// One table's file, read record by record: every value checked, then
// inserted. A duplicate key is the database's to find (the file may be too
// large to remember its keys). Returns the rows imported.
qint64 importTable(QSqlDatabase& db, const QDir& dir, const Layout& layout)
{
    const QString file = fileName(layout);
    QFile input(dir.filePath(file));
    if (!input.open(QIODevice::ReadOnly))
        failWith(QStringLiteral("Cannot read %1: %2").arg(input.fileName(), input.errorString()));
    Csv::Reader reader(input, file);
    Csv::Record header;
    if (!reader.next(&header))
        failWith(QStringLiteral("%1 is empty: it needs at least the header row").arg(file));
    const QList<int> positions = readHeader(header, layout);
    QSqlQuery insert(db);
    if (!insert.prepare(insertInto(layout)))
        raiseSqlError(insert.lastError(), layout.name);
    const bool postgres = Schema::isPostgres(db);
    Progress progress(QStringLiteral("Importing ") + layout.name, QStringLiteral("rows"));
    qint64 count = 0;
    int blankLine = 0;
    for (Csv::Record record; reader.next(&record);) {
        if (blankLine > 0)
            Csv::failAt(file, blankLine, 1, QStringLiteral("an empty line"));
        if (record.blank) {  // allowed as the last line only
            blankLine = record.line;
            continue;
        }
        if (record.fields.size() != header.fields.size())
            Csv::failAt(file, record.line, 1, QStringLiteral("%1 fields where the header has %2")
                                                   .arg(record.fields.size())
                                                   .arg(header.fields.size()));
        for (int i = 0; i < positions.size(); ++i) {
            QString problem;
            const QVariant value = convert(layout.columns[i], record.fields[positions[i]], &problem);
            if (!problem.isEmpty())
                Csv::failAt(file, record.line, positions[i] + 1, layout.columns[i].name + QStringLiteral(": ") + problem);
            insert.bindValue(i, stored(value, layout.columns[i].kind, postgres));
        }
        try {
            if (!insert.exec())
                raiseSqlError(insert.lastError(), QStringLiteral("Importing %1").arg(layout.name));
        } catch (const EDBEngineError& error) {
            if (error.ErrorCode() != DBIERR_KEYVIOL)
                throw;
            Csv::failAt(file, record.line, positions[0] + 1,
                        QStringLiteral("%1: the key \"%2\" is already in the file")
                            .arg(layout.columns[0].name, record.fields[positions[0]]));
        }
        progress.report(++count);
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
    const QDir folder(dir);
    if (!QDir().mkpath(dir))
        failWith(QStringLiteral("Cannot create the folder %1").arg(dir));
    std::vector<std::unique_ptr<OutputFile>> outputs;
    for (const Layout& layout : Tables::data())
        outputs.push_back(std::make_unique<OutputFile>(folder.filePath(fileName(layout))));
    OutputFile manifest(folder.filePath(kManifest));
    QList<FileSum> sums;
    qint64 count = 0;
    inTransaction(database, false, [&](QSqlDatabase& db) {
        SchemaCheck::require(db, database.describe());
        for (std::size_t i = 0; i < outputs.size(); ++i) {  // both files from one reading
            const auto [rows, sum] = writeTable(db, Tables::data()[i], *outputs[i]);
            count += rows;
            sums.append(sum);
        }
    });
    SummedWriter(manifest.path(), manifest.describe()).write(manifestText(sums));
    // The old manifest goes first: a switch cut short leaves a pair that
    // import refuses, never one it takes.
    if (QFile::exists(folder.filePath(kManifest)) && !QFile::remove(folder.filePath(kManifest)))
        failWith(QStringLiteral("Cannot replace %1").arg(folder.filePath(kManifest)));
    for (const auto& output : outputs)
        output->commit();
    manifest.commit();
    return count;
}

qint64 importFrom(const AliasConfig::Alias& database, const QString& dir, bool edited)
{
    const QDir folder(dir);
    for (const Layout& layout : Tables::data()) {
        const QString path = folder.filePath(fileName(layout));
        FileChecks::requireRegularOrMissing(path, QStringLiteral("The file"));
        if (!QFileInfo::exists(path))
            failWith(QStringLiteral("Cannot read %1: there is no such file").arg(path));
    }
    if (!edited)
        requireManifest(folder);
    qint64 count = 0;
    inTransaction(database, true, [&](QSqlDatabase& db) {
        SchemaCheck::require(db, database.describe());
        requireEmpty(db, database);
        for (const Layout& layout : Tables::data())
            count += importTable(db, folder, layout);
    });
    return count;
}

}

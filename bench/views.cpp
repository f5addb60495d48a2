// Benchmark of the three views on a large order-line table: opening, the
// total loop over Penjualan and key searches, each against the same work done
// straight on SQLite.
//
//   bench_views [FILE]   FILE: a database made by "pwangsa-admin init --lines N";
//                        without it one with 1,000,000 lines is made in a
//                        temporary folder first.
//   bench_views --alias NAME
//                        the views on the configured alias NAME (a server
//                        database), without the SQLite figures; every line
//                        is marked "(postgres)".

#include "BenchSupport.h"
#include "data/AliasConfig.h"
#include "data/DataModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <string>
#include <sqlite3.h>

namespace {

// The same work straight on SQLite, for the ratios: opening the file and
// reading the first rows in the order of Penjualan's index, the sum of the
// line amounts, and key searches by a prepared statement.
struct RawFigures {
    double openMs = 0;
    double sumMs = 0;
    double sum = 0;
    double walkMs = 0;
    double walkSum = 0;
    double findMs = 0;
};

// The floor of a record-by-record loop: SQLite stepping through every row in
// Penjualan's order (its primary key), reading every column as SQLite holds it.
// Like the total loop, the best of three runs counts.
void rawWalk(sqlite3* db, RawFigures& raw)
{
    QElapsedTimer timer;
    timer.start();
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM DataBarang ORDER BY \"No Pesanan\"", -1, &statement, nullptr);
    const int columns = sqlite3_column_count(statement);
    qint64 textBytes = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int column = 0; column < columns; ++column) {
            switch (sqlite3_column_type(statement, column)) {
            case SQLITE_INTEGER:
                raw.walkSum += double(sqlite3_column_int64(statement, column));
                break;
            case SQLITE_FLOAT:
                raw.walkSum += sqlite3_column_double(statement, column);
                break;
            case SQLITE_TEXT:
                textBytes += sqlite3_column_bytes(statement, column) + *sqlite3_column_text(statement, column);
                break;
            default:
                break;
            }
        }
    }
    sqlite3_finalize(statement);
    raw.walkMs = msSince(timer);
    raw.walkSum += double(textBytes);
}

RawFigures rawFigures(const QString& file, const QStringList& codes)
{
    RawFigures raw;
    QElapsedTimer timer;
    timer.start();
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM DataBarang ORDER BY \"Kode Pelanggan\", \"No Pesanan\" LIMIT 256", -1,
                       &statement, nullptr);
    while (sqlite3_step(statement) == SQLITE_ROW) {}
    sqlite3_finalize(statement);
    raw.openMs = msSince(timer);

    timer.restart();
    sqlite3_prepare_v2(db, "SELECT sum(\"Harga Satuan\" * \"Banyak Barang\") FROM DataBarang", -1, &statement,
                       nullptr);
    if (sqlite3_step(statement) == SQLITE_ROW)
        raw.sum = sqlite3_column_double(statement, 0);
    sqlite3_finalize(statement);
    raw.sumMs = msSince(timer);

    for (int run = 0; run < 3; ++run) {
        RawFigures walk;
        rawWalk(db, walk);
        raw.walkMs = run == 0 ? walk.walkMs : std::min(raw.walkMs, walk.walkMs);
        raw.walkSum = walk.walkSum;
    }

    timer.restart();
    sqlite3_prepare_v2(db, "SELECT * FROM DataBarang WHERE \"Kode Pelanggan\" = ? ORDER BY \"No Pesanan\" LIMIT 1",
                       -1, &statement, nullptr);
    for (const QString& code : codes) {
        const QByteArray text = code.toUtf8();
        sqlite3_bind_text(statement, 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        sqlite3_step(statement);
        sqlite3_reset(statement);
    }
    sqlite3_finalize(statement);
    raw.findMs = msSince(timer);
    sqlite3_close(db);
    return raw;
}

// The views' figures, each name followed by `label`.
struct ViewFigures {
    double openMs = 0;
    double loopMs = 0;
    qint64 records = 0;
    double total = 0;
    double findMs = 0;
    int found = 0;
};

ViewFigures viewFigures(const QStringList& codes)
{
    ViewFigures figures;
    QObject owner;
    QElapsedTimer timer;
    timer.start();
    const auto views = DataModel::SetupAll(&owner);
    const auto& s = views.penjualan;
    figures.openMs = msSince(timer);

    // The best of three runs: the machine may be busy with other work.
    for (int run = 0; run < 3; ++run) {
        timer.restart();
        Currency total;
        qint64 records = 0;
        TField* amount = s.Penjualan->FieldNamed(QStringLiteral("Jumlah Harga"));
        for (s.Penjualan->First(); !s.Penjualan->Eof(); s.Penjualan->Next()) {
            total += amount->AsCurrency();
            ++records;
        }
        const double ms = msSince(timer);
        figures.loopMs = run == 0 ? ms : std::min(figures.loopMs, ms);
        figures.total = total.toDouble();
        figures.records = records;
    }

    timer.restart();
    for (const QString& code : codes)
        figures.found += s.Penjualan->FindByKey({QStringLiteral("Kode Pelanggan")}, code) ? 1 : 0;
    figures.findMs = msSince(timer);
    return figures;
}

std::string named(const char* name, const QString& label)
{
    return label.isEmpty() ? std::string(name) : std::string(name) + " (" + label.toStdString() + ")";
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QStringList arguments = app.arguments();
    const bool server = arguments.value(1) == QLatin1String("--alias");
    QTemporaryDir dir;
    QString file;
    if (!server) {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
        file = argc > 1 ? arguments.value(1) : makeDatabase(dir, 1000000);
        AliasConfig::write(QStringLiteral("Dor"), AliasConfig::Alias{QStringLiteral("sqlite"), file});
    } else {
        const std::optional<AliasConfig::Alias> alias = AliasConfig::find(arguments.value(2));
        if (!alias) {
            std::fprintf(stderr, "bench_views: no alias %s\n", qPrintable(arguments.value(2)));
            return 1;
        }
        AliasConfig::write(QStringLiteral("Dor"), *alias);
    }
    const QString label = server ? QStringLiteral("postgres") : QString();
    QRandomGenerator random(3);
    QStringList codes;
    for (int i = 0; i < 1000; ++i)
        codes << QStringLiteral("P%1").arg(random.bounded(1, 22), 3, 10, QLatin1Char('0'));

    const ViewFigures views = viewFigures(codes);
    std::fprintf(stderr, "views%s: %lld lines, total %.0f, %d of %lld keys found\n", server ? " (postgres)" : "",
                 static_cast<long long>(views.records), views.total, views.found,
                 static_cast<long long>(codes.size()));
    figure(named("views open (3 views)", label).c_str(), views.openMs, "ms");
    figure(named("total loop over Penjualan", label).c_str(), views.loopMs, "ms");
    figure(named("total loop rate", label).c_str(), views.records / (views.loopMs / 1000) / 1e6, "M records/s");
    figure(named("FindByKey", label).c_str(), views.findMs * 1000 / codes.size(), "us per search");
    figure(named("views peak memory", label).c_str(), memoryKb("VmHWM:") / 1024.0, "MB");
    if (server)
        return 0;

    const RawFigures raw = rawFigures(file, codes);
    std::fprintf(stderr, "raw: sum %.0f, walk checksum %.0f\n", raw.sum, raw.walkSum);
    figure("views open / raw SQLite open and first rows", views.openMs / raw.openMs, "x");
    figure("raw SQL sum", raw.sumMs, "ms");
    figure("total loop / raw SQL sum", views.loopMs / raw.sumMs, "x");
    figure("raw in-order walk", raw.walkMs, "ms");
    figure("total loop / raw in-order walk", views.loopMs / raw.walkMs, "x");
    figure("FindByKey / raw SQLite key search", views.findMs / raw.findMs, "x");
    return 0;
}

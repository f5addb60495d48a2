// Benchmark of the three views on a large order-line table: opening, the
// total loop over Penjualan and key searches, each against the same work done
// straight on SQLite.
//
//   bench_views [FILE]   FILE: a database made by "pwangsa-admin init --lines N";
//                        without it one with 1,000,000 lines is made in a
//                        temporary folder first.

#include "BenchSupport.h"
#include "data/AliasConfig.h"
#include "data/DataModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <sqlite3.h>

namespace {

// The same work straight on SQLite, for the ratios: opening the file and
// reading the first rows in the order of Penjualan's index, the sum of the
// line amounts, and key searches by a prepared statement.
struct RawFigures {
    double openMs = 0;
    double sumMs = 0;
    double sum = 0;
    double findMs = 0;
};

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

}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : makeDatabase(dir, 1000000);
    AliasConfig::write(QStringLiteral("Dor"), AliasConfig::Alias{QStringLiteral("sqlite"), file});
    QRandomGenerator random(3);
    QStringList codes;
    for (int i = 0; i < 1000; ++i)
        codes << QStringLiteral("P%1").arg(random.bounded(1, 22), 3, 10, QLatin1Char('0'));

    QObject owner;
    QElapsedTimer timer;
    timer.start();
    const auto views = DataModel::SetupAll(&owner);
    const auto& s = views.penjualan;
    const double openMs = msSince(timer);

    timer.restart();
    Currency total;
    qint64 records = 0;
    TField* amount = s.Penjualan->FieldNamed(QStringLiteral("Jumlah Harga"));
    for (s.Penjualan->First(); !s.Penjualan->Eof(); s.Penjualan->Next()) {
        total += amount->AsCurrency();
        ++records;
    }
    const double loopMs = msSince(timer);

    timer.restart();
    int found = 0;
    for (const QString& code : codes)
        found += s.Penjualan->FindByKey({QStringLiteral("Kode Pelanggan")}, code) ? 1 : 0;
    const double findMs = msSince(timer);

    const RawFigures raw = rawFigures(file, codes);
    std::fprintf(stderr, "views: %lld lines, total %.0f (raw SQL %.0f), %d of %lld keys found\n",
                 static_cast<long long>(records), total.toDouble(), raw.sum, found,
                 static_cast<long long>(codes.size()));
    figure("views open (3 views)", openMs, "ms");
    figure("views open / raw SQLite open and first rows", openMs / raw.openMs, "x");
    figure("total loop over Penjualan", loopMs, "ms");
    figure("total loop rate", records / (loopMs / 1000) / 1e6, "M records/s");
    figure("raw SQL sum", raw.sumMs, "ms");
    figure("total loop / raw SQL sum", loopMs / raw.sumMs, "x");
    figure("FindByKey", findMs * 1000 / codes.size(), "us per search");
    figure("FindByKey / raw SQLite key search", findMs / raw.findMs, "x");
    figure("views peak memory", memoryKb("VmHWM:") / 1024.0, "MB");
    return 0;
}

// Benchmark of the three views on a large order-line table: opening, the
// total loop over Penjualan, key searches, against a raw SQL sum.
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

double rawSum(const QString& file, double* ms)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QElapsedTimer timer;
    timer.start();
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT sum(\"Harga Satuan\" * \"Banyak Barang\") FROM DataBarang", -1, &statement,
                       nullptr);
    double sum = 0;
    if (sqlite3_step(statement) == SQLITE_ROW)
        sum = sqlite3_column_double(statement, 0);
    sqlite3_finalize(statement);
    *ms = double(timer.nsecsElapsed()) / 1e6;
    sqlite3_close(db);
    return sum;
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

    QObject owner;
    QElapsedTimer timer;
    timer.start();
    const auto views = DataModel::SetupAll(&owner);
    const auto& s = views.penjualan;
    const double openMs = double(timer.nsecsElapsed()) / 1e6;
    std::printf("open the three views:      %9.1f ms\n", openMs);

    const long before = memoryKb("VmRSS:");
    timer.restart();
    Currency total;
    long records = 0;
    TField* amount = s.Penjualan->FieldNamed(QStringLiteral("Jumlah Harga"));
    for (s.Penjualan->First(); !s.Penjualan->Eof(); s.Penjualan->Next()) {
        total += amount->AsCurrency();
        ++records;
    }
    const double loopMs = double(timer.nsecsElapsed()) / 1e6;
    std::printf("total loop over Penjualan: %9.1f ms  (%ld records, total %.0f)\n", loopMs, records,
                total.toDouble());
    std::printf("memory before/after loop:  %ld kB / %ld kB\n", before, memoryKb("VmRSS:"));

    timer.restart();
    QRandomGenerator random(3);
    int found = 0;
    for (int i = 0; i < 1000; ++i) {
        const QString code = QStringLiteral("P%1").arg(random.bounded(1, 22), 3, 10, QLatin1Char('0'));
        found += s.Penjualan->FindByKey({QStringLiteral("Kode Pelanggan")}, code) ? 1 : 0;
    }
    const double findMs = double(timer.nsecsElapsed()) / 1e6;
    std::printf("1,000 FindByKey:           %9.1f ms  (%d found)\n", findMs, found);

    double rawMs = 0;
    const double raw = rawSum(file, &rawMs);
    std::printf("raw SQL sum:               %9.1f ms  (total %.0f)\n", rawMs, raw);
    std::printf("ratio loop / raw sum:      %9.2f\n", loopMs / rawMs);
    std::printf("peak memory:               %ld kB\n", memoryKb("VmHWM:"));
    return 0;
}

// Benchmark of the program's own total loop: the goods report's total over
// Penjualan with every window created as the program creates them, the
// entry windows shown, so that their grids and controls hear of every step.
//
//   bench_program [FILE]   FILE: a database made by "pwangsa-admin init --lines N";
//                          without it one with 1,000,000 lines is made first.

#include "BenchSupport.h"
#include "app/StartUp.h"
#include "data/AliasConfig.h"
#include "errors/HandlerGuard.h"
#include "forms/UBarang.h"
#include "forms/UPelanggan.h"
#include "forms/UPenjualan.h"
#include "reports/ReportPreparation.h"
#include "reports/TRepPrintable.h"
#include "widgets/TApplication.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication qt(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : makeDatabase(dir, 1000000);
    AliasConfig::write(QStringLiteral("Dor"), AliasConfig::Alias{QStringLiteral("sqlite"), file});
    TApplication application(QStringLiteral("pwangsa"));
    // The start-up's "Date exceeds maximum" report would wait for an answer.
    setErrorReporter([](const Exception&) {});
    createForms();
    for (TForm* form : {static_cast<TForm*>(FormPelanggan), static_cast<TForm*>(FormBarang),
                        static_cast<TForm*>(FormPenjualan)})
        form->Show();
    QCoreApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    WriteTotal(FormPenjualan->Penjualan, FormBarang->RepLabel5);
    const double totalMs = msSince(timer);
    std::fprintf(stderr, "program: goods total %s\n", qPrintable(FormBarang->RepLabel5->Caption()));
    figure("goods total in the program", totalMs, "ms");
    return 0;
}

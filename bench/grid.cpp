// Benchmark of the grid over a large order-line view: opening the view under
// a shown grid, paging down, jumping to the last record and back.
//
//   bench_grid [FILE]   FILE: a database made by "pwangsa-admin init --lines N";
//                       without it one with 1,000,000 lines is made in a
//                       temporary folder first.

#include "BenchSupport.h"
#include "data/AliasConfig.h"
#include "data/DataModel.h"
#include "data/controls/TDBGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Milliseconds taken by one step, including the repaint it causes.
template <typename Step>
double timed(TDBGrid& grid, Step step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    grid.viewport()->repaint();
    return double(timer.nsecsElapsed()) / 1e6;
}

void press(TDBGrid& grid, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(&grid, &event);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : makeDatabase(dir, 1000000);
    AliasConfig::write(QStringLiteral("Dor"), AliasConfig::Alias{QStringLiteral("sqlite"), file});

    QWidget window;
    const auto view = DataModel::SetupPenjualan(&window);
    TDBGrid grid(&window, QRect(0, 0, 900, 500), view.dsPenjualan);
    for (const char* name : {"No Pesanan", "Kode Pelanggan", "Kode Barang", "Nama Barang", "Jenis Barang",
                             "Harga Satuan", "Banyak Barang", "Jumlah Harga"})
        grid.AddColumn(QString::fromLatin1(name));
    window.resize(900, 500);
    window.show();
    grid.setFocus();

    const double open = timed(grid, [&] { view.Penjualan->Open(); });
    const int pages = 200;
    const double paging = timed(grid, [&] {
        for (int i = 0; i < pages; ++i) {
            press(grid, Qt::Key_PageDown);
            grid.viewport()->repaint();
        }
    });
    const double toEnd = timed(grid, [&] { press(grid, Qt::Key_End, Qt::ControlModifier); });
    const QString lastShown = grid.CellText(grid.Row(), 0);
    const double pageUpAtEnd = timed(grid, [&] { press(grid, Qt::Key_PageUp); });
    const double toStart = timed(grid, [&] { press(grid, Qt::Key_Home, Qt::ControlModifier); });

    std::fprintf(stderr, "grid: %lld lines, %d rows shown, No Pesanan %s after Ctrl+End\n",
                 static_cast<long long>(view.Penjualan->RecordCount()), grid.VisibleRowCount(), qPrintable(lastShown));
    figure("grid open and first paint", open, "ms");
    figure("grid Page Down", paging / pages, "ms per page");
    figure("grid Ctrl+End", toEnd, "ms");
    figure("grid Page Up at the end", pageUpAtEnd, "ms");
    figure("grid Ctrl+Home", toStart, "ms");
    return 0;
}

// Benchmark of the grid over a large order-line view: opening the view under
// a shown grid, paging down, jumping to the last record and back.
//
//   bench_grid [FILE]   FILE: a database made by "pwangsa-admin init --lines N";
//                       without it one with 1,000,000 lines is made in a
//                       temporary folder first.

#include "data/AliasConfig.h"
#include "data/DataModel.h"
#include "data/controls/TDBGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QString makeDatabase(const QTemporaryDir& dir)
{
    const QString file = dir.filePath(QStringLiteral("bench.sqlite"));
    const QString admin = QCoreApplication::applicationDirPath() + QStringLiteral("/../src/pwangsa-admin");
    std::printf("making %s with 1,000,000 lines...\n", qPrintable(file));
    QProcess::execute(admin, {QStringLiteral("init"), QStringLiteral("--lines"), QStringLiteral("1000000"),
                              QStringLiteral("--demo"), QStringLiteral("--path"), file});
    return file;
}

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
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : makeDatabase(dir);
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

    std::printf("lines: %lld, rows shown: %d\n", static_cast<long long>(view.Penjualan->RecordCount()),
                grid.VisibleRowCount());
    std::printf("open view under the grid, first paint: %8.1f ms\n", open);
    std::printf("Page Down, per page (%d pages):        %8.2f ms (%.2f x open)\n", pages, paging / pages,
                paging / pages / open);
    std::printf("Ctrl+End to the last record:          %8.1f ms (%.2f x open)\n", toEnd, toEnd / open);
    std::printf("Page Up at the end:                   %8.2f ms\n", pageUpAtEnd);
    std::printf("Ctrl+Home back to the first record:   %8.1f ms (%.2f x open)\n", toStart, toStart / open);
    std::printf("current row after Ctrl+End: No Pesanan %s\n", qPrintable(lastShown));
    return 0;
}

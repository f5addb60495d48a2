// Benchmark of the report engine: a report shaped like the goods sales report
// (page header with the logo, title, a detail band with six data texts,
// summary) over Penjualan, generated into the page store; then saving and
// loading its prepared-report file and compressing its pages.
//
//   bench_report [FILE] [--no-logo]
//       FILE: a database made by "pwangsa-admin init --lines N"; without it one
//       with 100,000 lines is made in a temporary folder first.
//       --no-logo: the page header without its picture.

#include "BenchSupport.h"
#include "data/AliasConfig.h"
#include "data/DataModel.h"
#include "reports/Pictures.h"
#include "reports/TRepCompression.h"
#include "reports/TRepMessage.h"
#include "reports/TRepPrintable.h"
#include "reports/TRepPrinter.h"
#include "reports/TRepStream.h"
#include "reports/TReport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

TRepBand* addBand(TReport& report, TRepBandType type, double height, const QColor& color)
{
    TRepBand* band = report.CreateBand(type);
    band->Size.Height = height;
    band->Color = color;
    band->Frame.SetAllSides(true);
    return band;
}

void addLabel(TRepBand* band, const QString& caption, double left, double top)
{
    auto* label = new TRepLabel(band);
    label->Size = {45, left, top, 200};
    label->SetCaption(caption);
}

void buildReport(TReport& report, TDataSet* view, bool withLogo)
{
    report.DataSet = view;
    report.PrintIfEmpty = true;
    report.Page.PaperSize = TRepPaperSize::Custom;
    report.Page.SetValuesText(QStringLiteral("(127.0 3048.0 127.0 1984.375 127.0 127.0 0.0)"));
    TRepBand* header = addBand(report, rbPageHeader, 277.8, Qt::cyan);
    addLabel(header, QStringLiteral("LAPORAN PENJUALAN BARANG"), 486.8, 42.3);
    auto* logo = new TRepImage(header);
    logo->Picture = withLogo ? Pictures::logo() : QImage();
    logo->Stretch = true;
    logo->Size = {150.8, 486.8, 105.8, 150.8};
    TRepBand* title = addBand(report, rbTitle, 84.7, Qt::lightGray);
    TRepBand* detail = addBand(report, rbDetail, 84.7, Qt::white);
    const char* fields[] = {"Kode Barang", "Nama Barang", "Jenis Barang", "Harga Satuan", "Banyak Barang",
                            "Jumlah Harga"};
    const double lefts[] = {42.3, 275.2, 698.5, 952.5, 1270.0, 1460.5};
    for (int i = 0; i < 6; ++i) {
        addLabel(title, QString::fromLatin1(fields[i]), lefts[i], 21.2);
        auto* text = new TRepDBText(detail);
        text->DataSet = view;
        text->DataField = QString::fromLatin1(fields[i]);
        text->Size = {45, lefts[i], 21.2, 200};
    }
    addLabel(addBand(report, rbSummary, 105.8, Qt::white), QStringLiteral("Total Jumlah"), 1206.5, 42.3);
}

// Notes when the first finished page is announced.
class FirstPageWatch : public QObject {
public:
    explicit FirstPageWatch(const QElapsedTimer& timer) : m_timer(timer) {}
    double firstPageMs = -1;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::Type(PageAvailableMessage) && firstPageMs < 0) {
            firstPageMs = msSince(m_timer);
        }
        return QObject::event(event);
    }

private:
    const QElapsedTimer& m_timer;
};

// Saving and loading the prepared-report file against copying a file of the
// same size.
void fileFigures(TRepPrinter& output, const QTemporaryDir& dir, double storeMb)
{
    const QString saved = dir.filePath(QStringLiteral("report.rpf"));
    QElapsedTimer timer;
    timer.start();
    output.SaveToFile(saved);
    const double saveMs = msSince(timer);
    TRepPrinter loaded;
    timer.restart();
    loaded.LoadFromFile(saved);
    const double loadMs = msSince(timer);
    timer.restart();
    QFile::copy(saved, dir.filePath(QStringLiteral("copy.rpf")));
    const double copyMs = msSince(timer);
    figure("prepared report save", storeMb / (saveMs / 1000), "MB/s");
    figure("prepared report load", storeMb / (loadMs / 1000), "MB/s");
    figure("prepared report save / file copy", saveMs / copyMs, "x");
    figure("prepared report load / file copy", loadMs / copyMs, "x");
}

// Page compression over the report's pages, against zlib (qCompress, level 1).
void compressionFigures(const TRepPrinter& output)
{
    QList<QByteArray> pages;
    qint64 plain = 0;
    for (int n = 1; n <= std::min(output.pageCount(), 200); ++n) {
        pages << output.GetPage(n)->Bytes();
        plain += pages.last().size();
    }
    QList<QByteArray> coded;
    QElapsedTimer timer;
    timer.start();
    for (const QByteArray& page : std::as_const(pages))
        coded << TRepCompression::compress(page);
    const double compressMs = msSince(timer);
    timer.restart();
    for (const QByteArray& page : std::as_const(coded))
        TRepCompression::decompress(page);
    const double decompressMs = msSince(timer);
    timer.restart();
    for (const QByteArray& page : std::as_const(pages))
        qCompress(page, 1);
    const double zlibMs = msSince(timer);
    qint64 codedSize = 0;
    for (const QByteArray& page : std::as_const(coded))
        codedSize += page.size();
    figure("compression", plain / 1e6 / (compressMs / 1000), "MB/s");
    figure("decompression", plain / 1e6 / (decompressMs / 1000), "MB/s");
    figure("compressed size", 100.0 * codedSize / plain, "% of plain");
    figure("compression / zlib level 1", compressMs / zlibMs, "x");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
    QGuiApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QStringList arguments = app.arguments().mid(1);
    const bool withLogo = !arguments.removeAll(QStringLiteral("--no-logo"));
    const QString file = !arguments.isEmpty() ? arguments.first() : makeDatabase(dir, 100000);
    AliasConfig::write(QStringLiteral("Dor"), AliasConfig::Alias{QStringLiteral("sqlite"), file});

    QObject owner;
    const auto views = DataModel::SetupAll(&owner);
    TReport report;
    buildReport(report, views.penjualan.Penjualan, withLogo);

    QElapsedTimer timer;
    FirstPageWatch watch(timer);
    report.OnPreview = [&watch](TReport* r) { r->Output()->setClient(&watch); };
    timer.start();
    report.PreviewReport();
    const double totalMs = msSince(timer);
    TRepPrinter& output = *report.Output();
    const double storeMb = output.stream()->size() / 1e6;
    std::fprintf(stderr, "report: %lld records, %d pages\n",
                 static_cast<long long>(views.penjualan.Penjualan->RecordCount()), output.pageCount());
    figure("report pages", output.pageCount(), "pages");
    figure("report generation", output.pageCount() / (totalMs / 1000), "pages/s");
    figure("report first page", watch.firstPageMs, "ms");
    figure("report page store", output.stream()->size() / 1024.0 / output.pageCount(), "KB per page");
    figure("report peak memory", memoryKb("VmHWM:") / 1024.0, "MB");
    fileFigures(output, dir, storeMb);
    compressionFigures(output);
    return 0;
}

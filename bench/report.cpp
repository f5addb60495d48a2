// Benchmark of the report engine: a report shaped like the goods sales report
// (page header with the logo, title, a detail band with six data texts,
// summary) over Penjualan, generated into the page store.
//
//   bench_report [FILE] [--no-logo]
//       FILE: a database made by "pwangsa-admin init --lines N"; without it one
//       with 100,000 lines is made in a temporary folder first.
//       --no-logo: the page header without its picture.

#include "BenchSupport.h"
#include "data/AliasConfig.h"
#include "data/DataModel.h"
#include "reports/Pictures.h"
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
    long firstPageRssKb = -1;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::Type(PageAvailableMessage) && firstPageMs < 0) {
            firstPageMs = double(m_timer.nsecsElapsed()) / 1e6;
            firstPageRssKb = memoryKb("VmRSS:");
        }
        return QObject::event(event);
    }

private:
    const QElapsedTimer& m_timer;
};

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
    const long before = memoryKb("VmRSS:");
    timer.start();
    report.PreviewReport();
    const double totalMs = double(timer.nsecsElapsed()) / 1e6;
    const TRepPrinter& output = *report.Output();

    std::printf("records:                   %9lld\n", static_cast<long long>(views.penjualan.Penjualan->RecordCount()));
    std::printf("pages:                     %9d\n", output.pageCount());
    std::printf("generation:                %9.1f ms\n", totalMs);
    std::printf("pages per second:          %9.0f\n", output.pageCount() / (totalMs / 1000));
    std::printf("first page available:      %9.1f ms\n", watch.firstPageMs);
    std::printf("page store size:           %9lld bytes (in a temporary file: %s)\n",
                static_cast<long long>(output.stream()->size()), output.stream()->temporaryFileName().isEmpty() ? "no" : "yes");
    std::printf("memory before / first page / after: %ld kB / %ld kB / %ld kB\n", before, watch.firstPageRssKb,
                memoryKb("VmRSS:"));
    std::printf("peak memory:               %ld kB\n", memoryKb("VmHWM:"));
    return 0;
}

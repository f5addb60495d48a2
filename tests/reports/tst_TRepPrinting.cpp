#include "PdfPrinterOutput.h"
#include "RepTestPages.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPageCount(const QString& pdf)
{
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString pdfText(const QString& pdf)
{
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
}

// The first page rendered at `dpi` in grey levels.
QImage renderFirstPage(const QString& pdf, int dpi)
{
    const QString prefix = pdf + QStringLiteral(".render");
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
        QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-singlefile"), pdf, prefix});
    return QImage(prefix + QStringLiteral(".pgm"));
}

// The bounds of the dark pixels.
QRect darkBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 64)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

} // namespace

class TestTRepPrinting : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void printRangeSendsOnlyItsPages();
    void storedPagesPrintInRange();
    void pagesPrintAtTrueSize_data();
    void pagesPrintAtTrueSize();
    void settingsReachThePrinter();
    void printsOnARealCupsPrinter();
    void cancelledJobsNeverReachTheSpooler();

private:
    int pdfPrinterIndex() const;
    // Waits up to 60 s for the PDF printer's output of the job `title`; its text.
    QString printedText(const QString& title, const QString& until) const;
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

void TestTRepPrinting::initTestCase()
{
    QVERIFY(m_dir.isValid());
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        QSKIP("poppler-utils (pdfinfo, pdftotext, pdftoppm) are not installed");
}

void TestTRepPrinting::printRangeSendsOnlyItsPages()
{
    TRepPrinter output;
    output.setDestination(TRepDestination::Printer);
    output.setPrintToFile(path("range.pdf"));
    output.setFirstPage(2);
    output.setLastPage(3);
    int afterPrint = 0;
    output.AfterPrint = [&] { ++afterPrint; };
    produceTestDocument(output, 5);

    QCOMPARE(output.pageCount(), 5);
    QCOMPARE(output.pagesAvailable(), 5);
    QCOMPARE(afterPrint, 1);
    QCOMPARE(pdfPageCount(path("range.pdf")), 2);
    const QString text = pdfText(path("range.pdf"));
    QVERIFY2(text.contains("Halaman 2") && text.contains("Halaman 3"), qPrintable(text));
    QVERIFY2(!text.contains("Halaman 1") && !text.contains("Halaman 4") && !text.contains("Halaman 5"), qPrintable(text));
}

void TestTRepPrinting::storedPagesPrintInRange()
{
    TRepPrinter output;
    produceTestDocument(output, 5);
    output.setPrintToFile(path("stored.pdf"));
    output.setFirstPage(2);
    output.setLastPage(3);
    output.Print();
    QCOMPARE(pdfPageCount(path("stored.pdf")), 2);
    const QString text = pdfText(path("stored.pdf"));
    QVERIFY2(text.contains("Halaman 2") && text.contains("Halaman 3") && !text.contains("Halaman 4"), qPrintable(text));

    output.setFirstPage(0);
    output.setLastPage(0);
    output.setPrintToFile(path("all.pdf"));
    output.Print();
    QCOMPARE(pdfPageCount(path("all.pdf")), 5);
}

void TestTRepPrinting::pagesPrintAtTrueSize_data()
{
    QTest::addColumn<bool>("stored");
    QTest::newRow("stored pages printed later") << true;
    QTest::newRow("pages drawn straight on the printer") << false;
}

// The test page's black rectangle is 100 mm by 50 mm, 20 mm from the left and
// 30 mm from the top of an A4 sheet. Rendered at 100 dpi that is 393.7 by
// 196.9 pixels at (78.7, 118.1), whatever resolution the printer had. Its
// text stays text, 12 points high, starting 30 mm (85 points) from the left.
void TestTRepPrinting::pagesPrintAtTrueSize()
{
    QFETCH(bool, stored);
    const QString pdf = path(stored ? "stored-size.pdf" : "direct-size.pdf");
    TRepPrinter output;
    output.setPaperSize(TRepPaperSize::A4);
    if (stored) {
        produceTestDocument(output, 1);
        output.setPrintToFile(pdf);
        output.Print();
    } else {
        output.setDestination(TRepDestination::Printer);
        output.setPrintToFile(pdf);
        produceTestDocument(output, 1);
        QCOMPARE(output.ScaleX, 1200 / 254.0);
    }
    const QImage image = renderFirstPage(pdf, 100);
    QCOMPARE(image.size(), QSize(827, 1170));
    const QRect box = darkBounds(image.copy(0, 0, image.width(), 360));
    QVERIFY2(qAbs(box.left() - 78.7) <= 1.5 && qAbs(box.top() - 118.1) <= 1.5, qPrintable(QStringLiteral("at %1,%2").arg(box.left()).arg(box.top())));
    QVERIFY2(qAbs(box.width() - 393.7) <= 2 && qAbs(box.height() - 196.9) <= 2, qPrintable(QStringLiteral("%1 x %2").arg(box.width()).arg(box.height())));

    const QString words = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    const QRegularExpressionMatch word = QRegularExpression(QStringLiteral(
        "xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"([0-9.]+)\">Halaman<")).match(words);
    QVERIFY2(word.hasMatch(), qPrintable(words));
    const double height = word.captured(3).toDouble() - word.captured(2).toDouble();
    QVERIFY2(qAbs(word.captured(1).toDouble() - 300 * 72 / 254.0) < 1.5, qPrintable(word.captured(1)));
    QVERIFY2(height > 11 && height < 15, qPrintable(QString::number(height)));
}

void TestTRepPrinting::settingsReachThePrinter()
{
    TRepPrinter output;
    output.setPrintToFile(path("settings.pdf"));
    TPrinterSettings& settings = output.printerSettings();
    output.setPaperSize(TRepPaperSize::Legal);
    output.setOrientation(TRepOrientation::poLandscape);
    output.setCopies(2);
    output.setOutputBin(TRepBin::Cassette);
    settings.apply();
    const QPrinter& printer = settings.printer();
    QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::Legal);
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
    QCOMPARE(printer.copyCount(), 2);
    QCOMPARE(printer.paperSource(), QPrinter::Cassette);
    settings.read();
    QCOMPARE(settings.PaperSize, TRepPaperSize::Legal);
    QCOMPARE(settings.OutputBin, TRepBin::Cassette);
    QCOMPARE(settings.PaperWidth, 2159);
    QCOMPARE(settings.XDpi, 1200);

    output.setPaperSize(TRepPaperSize::Custom);
    output.setCustomPaperWidth(1000);
    output.setCustomPaperLength(1500);
    output.setOrientation(TRepOrientation::poPortrait);
    output.setDestination(TRepDestination::Printer);
    produceTestDocument(output, 1);
    const QString info = run(QStringLiteral("pdfinfo"), {path("settings.pdf")});
    QVERIFY2(info.contains("Page size:       283 x 425 pts"), qPrintable(info)); // 100 x 150 mm
}

int TestTRepPrinting::pdfPrinterIndex() const
{
    return int(QPrinterInfo::availablePrinterNames().indexOf(QStringLiteral("PDF")));
}

QString TestTRepPrinting::printedText(const QString& title, const QString& until) const
{
    // The printer names its files after the job's title.
    const QDir jobs(pdfPrinterOutputFolder());
    QString text;
    QString pdf;
    for (QDeadlineTimer deadline(60000); !deadline.hasExpired() && !text.contains(until);) {
        QTest::qWait(250);
        const QStringList found = jobs.entryList({title + QStringLiteral("*.pdf")}, QDir::Files);
        if (!found.isEmpty()) {
            pdf = jobs.filePath(found.first());
            text = pdfText(pdf);
        }
    }
    if (!pdf.isEmpty())
        QFile::remove(pdf);
    return text;
}

QString jobTitle(const char* what)
{
    return QStringLiteral("pwangsa_%1_%2").arg(QLatin1String(what)).arg(QRandomGenerator::global()->generate());
}

// Prints through the spooler onto the virtual PDF printer that
// scripts/start-cups sets up, and reads the text back from its output.
void TestTRepPrinting::printsOnARealCupsPrinter()
{
    const int index = pdfPrinterIndex();
    if (index < 0)
        QSKIP("no CUPS printer named PDF: cupsd is not running (scripts/start-cups sets it up as root)");
    const QString title = jobTitle("test");
    TRepPrinter output;
    output.setDestination(TRepDestination::Printer);
    output.setPrinterIndex(index);
    output.setTitle(title);
    QCOMPARE(output.printerSettings().DeviceName, QStringLiteral("PDF"));
    produceTestDocument(output, 2);

    const QString text = printedText(title, QStringLiteral("Halaman 2"));
    QVERIFY2(text.contains("Halaman 1") && text.contains("Halaman 2"),
        qPrintable("no readable job " + title + " in " + pdfPrinterOutputFolder() + " within 60 s: " + text));
}

// A job aborted after three pages, one cancelled from its progress window and
// a print of stored pages cancelled after its first page leave nothing in the
// spooler: a job printed after them comes out, and none of theirs does.
void TestTRepPrinting::cancelledJobsNeverReachTheSpooler()
{
    const int index = pdfPrinterIndex();
    if (index < 0)
        QSKIP("no CUPS printer named PDF: cupsd is not running (scripts/start-cups sets it up as root)");
    const QString aborted = jobTitle("aborted");
    const QString cancelled = jobTitle("cancelled");
    const QString stored = jobTitle("stored");
    for (const QString& title : {aborted, cancelled}) {
        TRepPrinter output;
        output.setDestination(TRepDestination::Printer);
        output.setPrinterIndex(index);
        output.setTitle(title);
        output.BeginDoc();
        for (int page = 1; page <= 3; ++page) {
            output.NewPage();
            drawTestPage(output, page);
        }
        if (title == aborted) {
            output.AbortDoc();
        } else {
            output.Cancel(); // the progress window's button
            output.EndDoc();
        }
    }
    TRepPrinter storedPages;
    produceTestDocument(storedPages, 3);
    storedPages.setPrinterIndex(index);
    storedPages.setTitle(stored);
    QTimer::singleShot(0, &storedPages, [&] { storedPages.Cancel(); });
    storedPages.Print();

    const QString marker = jobTitle("marker");
    TRepPrinter after;
    after.setDestination(TRepDestination::Printer);
    after.setPrinterIndex(index);
    after.setTitle(marker);
    produceTestDocument(after, 1);
    QVERIFY2(printedText(marker, QStringLiteral("Halaman 1")).contains("Halaman 1"), "the spooler printed nothing");
    const QStringList left = QDir(pdfPrinterOutputFolder())
                                 .entryList({aborted + "*", cancelled + "*", stored + "*"}, QDir::Files);
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char(' '))));
}

QTEST_MAIN(TestTRepPrinting)
#include "tst_TRepPrinting.moc"

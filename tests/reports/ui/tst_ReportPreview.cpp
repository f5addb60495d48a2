#include "../ReportFixture.h"
#include "ModalAnswer.h"
#include "PreviewWindows.h"

#include "reports/ui/RegisterReportWindows.h"
#include "reports/ui/TRepProgressForm.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

void addCodes(TRepBand* detail, TDataSet* view)
{
    auto* kode = new TRepDBText(detail);
    kode->DataSet = view;
    kode->DataField = QStringLiteral("Kode Pelanggan");
    kode->Size = {45, 300, 10, 100};
}

} // namespace

class TestReportPreview : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { registerReportWindows(); }
    void previewWaitsUntilClosed();
    void secondPreviewWhileOneIsOpen();
    void closingDuringGenerationCancels();
    void printGoesToThePrinterWithProgress();
    void printFromPreviewLeavesItOpen();
    void closingThePreviewWhilePrinting();
    void printerSetupStoresTheChoice();
    void samePlaceOnScreenAndPrinter();
};

void TestReportPreview::previewWaitsUntilClosed()
{
    ReportFixture f(3);
    f.report->ReportTitle = QStringLiteral("Daftar Pelanggan");
    bool shownFirstPage = false;
    QString caption;
    whenPreviewFinished([&](TRepStandardPreview* preview) {
        shownFirstPage = preview->RepPreview->PageNumber() == 1 && preview->RepPreview->Image()->HasPicture();
        caption = preview->windowTitle();
        preview->close();
    });
    f.report->PreviewReport();
    QVERIFY(shownFirstPage);
    QCOMPARE(caption, QStringLiteral("Daftar Pelanggan"));
    QVERIFY(f.report->RunIdle());
    QVERIFY(!f.report->Output());
    QVERIFY(openPreviews().isEmpty());
}

void TestReportPreview::secondPreviewWhileOneIsOpen()
{
    ReportFixture f(2);
    QPointer<TRepPrinter> firstOutput;
    int previewsDuringSecond = 0;
    whenPreviewFinished([&](TRepStandardPreview* preview) {
        firstOutput = preview->Output();
        f.report->PreviewReport(); // returns at once
        previewsDuringSecond = int(openPreviews().size());
        QCOMPARE(f.report->Output(), firstOutput.data());
        QCOMPARE(preview->Output(), firstOutput.data());
        preview->close();
    });
    f.report->PreviewReport();
    QCOMPARE(previewsDuringSecond, 1);
    QVERIFY(firstOutput); // released later, out of its own call
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!firstOutput);
}

void TestReportPreview::closingDuringGenerationCancels()
{
    ReportFixture f(5);
    int printed = 0;
    f.detail->AfterPrint = [&](TRepBand*, bool) {
        if (++printed == 2)
            openPreviews().value(0)->close();
    };
    f.report->PreviewReport();
    QCOMPARE(printed, 2);
    QVERIFY(f.report->RunIdle());
    QVERIFY(!f.report->Output());
    QVERIFY(openPreviews().isEmpty());
}

void TestReportPreview::printGoesToThePrinterWithProgress()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    ReportFixture f(45);
    addCodes(f.detail, f.views.pelanggan.Pelanggan);
    const QString pdf = f.db.dir() + QStringLiteral("/print.pdf");
    f.report->PrintFileName = pdf;
    bool progressShown = false;
    f.detail->AfterPrint = [&](TRepBand*, bool) {
        for (QWidget* widget : QApplication::topLevelWidgets())
            progressShown = progressShown || (qobject_cast<TRepProgressForm*>(widget) && widget->isVisible());
    };
    f.report->PrintReport();
    QVERIFY(progressShown);
    QVERIFY(f.report->RunIdle());
    QVERIFY(!f.report->Output()); // the previous (none) is back
    const QString text = pdfText(pdf);
    QVERIFY2(text.contains(QStringLiteral("K01")) && text.contains(QStringLiteral("K45")), qPrintable(text));
    QCOMPARE(text.count(QLatin1Char('\f')), 8); // 5 details on page 1, 6 on each further page
}

void TestReportPreview::printFromPreviewLeavesItOpen()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    ReportFixture f(2);
    addCodes(f.detail, f.views.pelanggan.Pelanggan);
    const QString pdf = f.db.dir() + QStringLiteral("/again.pdf");
    f.report->PrintFileName = pdf;
    bool stillOpen = false;
    whenPreviewFinished([&](TRepStandardPreview* preview) {
        clickTool(preview, preview->Print);
        const bool printed = QTest::qWaitFor([&] { return QFile::exists(pdf) && f.report->RunIdle(); });
        stillOpen = printed && preview->isVisible() && preview->Output() == f.report->Output();
        preview->close();
    });
    f.report->PreviewReport();
    QVERIFY(stillOpen);
    QVERIFY(pdfText(pdf).contains(QStringLiteral("K02")));
}

// The print goes on to its end; the preview's output is released and
// PreviewReport returns (it would otherwise wait for a window that is gone).
void TestReportPreview::closingThePreviewWhilePrinting()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    ReportFixture f(14);
    addCodes(f.detail, f.views.pelanggan.Pelanggan);
    const QString pdf = f.db.dir() + QStringLiteral("/closed.pdf");
    f.report->PrintFileName = pdf;
    QPointer<TRepPrinter> previewOutput;
    f.detail->AfterPrint = [&](TRepBand*, bool) {
        TRepPrinter* output = f.report->Output();
        if (output && output->destination() == TRepDestination::Printer && f.report->Controller().DetailCounter == 3)
            openPreviews().value(0)->close();
    };
    bool closedWhilePrinting = false;
    whenPreviewFinished([&](TRepStandardPreview* window) {
        QPointer<TRepStandardPreview> preview = window;
        previewOutput = preview->Output();
        clickTool(preview, preview->Print);
        closedWhilePrinting = QTest::qWaitFor([&] { return !preview || !preview->isVisible(); });
    });
    f.report->PreviewReport();
    QVERIFY(closedWhilePrinting);
    QVERIFY(openPreviews().isEmpty());
    QVERIFY(f.report->RunIdle());
    QVERIFY(!f.report->Output());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!previewOutput);
    const QString text = pdfText(pdf);
    QVERIFY2(text.contains(QStringLiteral("K01")) && text.contains(QStringLiteral("K14")), qPrintable(text));
}

void TestReportPreview::printerSetupStoresTheChoice()
{
    ReportFixture f(1);
    f.report->Tag = 5;
    test::answerNextModal([](QWidget* box) { static_cast<QDialog*>(box)->reject(); });
    f.report->RunPrinterSetup();
    QCOMPARE(f.report->Tag, 1);
    QCOMPARE(f.report->PrinterSettings.Copies, 1);

    f.report->PrinterSettings.Copies = 2;
    test::answerNextModal([](QWidget* box) { static_cast<QDialog*>(box)->accept(); });
    f.report->RunPrinterSetup();
    QCOMPARE(f.report->Tag, 0);
    QCOMPARE(f.report->PrinterSettings.Copies, 2);
    QCOMPARE(f.report->PrinterSettings.FirstPage, 0);
    QCOMPARE(f.report->Page.Orientation, TRepOrientation::poPortrait);
}

// A label 60 mm from the paper's left edge and 30 mm from its top lands there
// on the 96 dpi page store and on the 1200 dpi PDF printer alike.
void TestReportPreview::samePlaceOnScreenAndPrinter()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    ReportFixture f(1);
    auto* mark = new TRepLabel(f.title);
    mark->Size = {45, 500, 0, 100};
    mark->SetCaption(QStringLiteral("TANDA"));
    const QString pdf = f.db.dir() + QStringLiteral("/place.pdf");
    f.report->PrintFileName = pdf;
    f.report->PrintReport();
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    process.waitForFinished(60000);
    const QString box = QString::fromUtf8(process.readAllStandardOutput());
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>TANDA<")).match(box);
    QVERIFY2(match.hasMatch(), qPrintable(box));
    const double pointsPerTenth = 72 / 254.0;
    QVERIFY2(qAbs(match.captured(1).toDouble() - 600 * pointsPerTenth) < 1.5, qPrintable(match.captured(1)));
    // The text's box starts at the line's top, give or take the font's leading.
    QVERIFY2(qAbs(match.captured(2).toDouble() - 300 * pointsPerTenth) < 3, qPrintable(match.captured(2)));

    int storeX = -1;
    whenPreviewFinished([&](TRepStandardPreview* preview) {
        const PageLog page = logPage(*preview->Output(), 1);
        if (const LoggedText* text = page.find(QStringLiteral("TANDA")))
            storeX = int(text->baseline.x());
        preview->close();
    });
    f.report->PreviewReport();
    QCOMPARE(storeX, qRound(600 * 96 / 254.0));
}

QTEST_MAIN(TestReportPreview)
#include "tst_ReportPreview.moc"

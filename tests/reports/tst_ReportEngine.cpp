#include "ReportFixture.h"

#include "data/Exceptions.h"
#include "reports/RepRound.h"

#include <QtTest>

class TestReportEngine : public QObject {
    Q_OBJECT

private slots:
    void emptyViewWithPrintIfEmpty();
    void emptyViewWithoutPrintIfEmpty();
    void detailNumbersAndProgress();
    void bandThatFitsExactlyStays();
    void bandTallerThanRoomBreaksAfterPageHeader();
    void halfTenthRoundsToEven();
    void bandTallerThanPageNeverBreaks();
    void pageFooterOnLastPage_data();
    void pageFooterOnLastPage();
    void forceNewPageKeepsFirstDetailWithTitle();
    void summaryAlignedToBottom();
    void cancelWhenIdleDoesNothing();
    void cancelDuringRunStopsBeforeNextRecord();
    void errorDuringRunLeavesReportIdle();
    void beforePrintFalseOpensNoDocument();
    void pageValuesAndUnits();
    void columnsPlaceDetailsSideBySide();
    void needDataSuppliesRecordsWithoutADataset();
};

void TestReportEngine::emptyViewWithPrintIfEmpty()
{
    ReportFixture f;
    f.report->PrintIfEmpty = true;
    TRepBand* columnHeader = f.band(rbColumnHeader, 50, Qt::blue);
    TRepBand* footer = f.band(rbPageFooter, 50, Qt::red);
    Q_UNUSED(columnHeader);
    Q_UNUSED(footer);
    f.run();
    QCOMPARE(f.pages(), 1);
    const PageLog page = f.page(1);
    QCOMPARE(page.fillsOf(Qt::cyan).size(), 1);
    QCOMPARE(page.fillsOf(Qt::yellow).size(), 1);
    QCOMPARE(page.fillsOf(Qt::green).size(), 1);
    QCOMPARE(page.fillsOf(Qt::magenta).size(), 1);
    QCOMPARE(page.fillsOf(Qt::red).size(), 1);
    QVERIFY(page.fillsOf(Qt::blue).isEmpty());
    QCOMPARE(f.detailNumbers(1), QStringList{QStringLiteral("0")});
    // Page header at the top margin, the title under it, the detail under that.
    QCOMPARE(page.fillsOf(Qt::cyan)[0].top(), f.y(100));
    QCOMPARE(page.fillsOf(Qt::yellow)[0].top(), f.y(300));
    QCOMPARE(page.fillsOf(Qt::green)[0].top(), f.y(400));
    QVERIFY(f.report->RunIdle());
}

void TestReportEngine::emptyViewWithoutPrintIfEmpty()
{
    ReportFixture f;
    f.report->DestroyBand(f.title);
    f.report->DestroyBand(f.summary);
    f.run();
    QCOMPARE(f.pages(), 0);
    QCOMPARE(f.report->Output()->status(), TRepStatus::Finished);
}

void TestReportEngine::detailNumbersAndProgress()
{
    ReportFixture f(4);
    auto* kode = new TRepDBText(f.detail);
    kode->DataSet = f.views.pelanggan.Pelanggan;
    kode->DataField = QStringLiteral("Kode Pelanggan");
    kode->Size = {45, 300, 10, 100};
    f.run();
    QCOMPARE(f.pages(), 1);
    QCOMPARE(f.detailNumbers(1), (QStringList{"1", "2", "3", "4"}));
    const QStringList texts = f.page(1).textList();
    for (const char* code : {"K01", "K02", "K03", "K04"})
        QVERIFY2(texts.contains(QLatin1String(code)), code);
    QCOMPARE(f.report->Output()->progress(), 100);
    // Between runs the data text shows its field's name again.
    QCOMPARE(kode->PrintCaption(), QStringLiteral("Kode Pelanggan"));
}

// Page 1: header 100..300, title 300..400, details of 100 from 400; a page of
// 1000 with a bottom margin of 100 holds exactly five.
void TestReportEngine::bandThatFitsExactlyStays()
{
    ReportFixture f(5);
    f.report->DestroyBand(f.summary);
    f.run();
    QCOMPARE(f.pages(), 1);
    QCOMPARE(f.page(1).fillsOf(Qt::green).last().bottom() + 1, f.y(900));
}

void TestReportEngine::bandTallerThanRoomBreaksAfterPageHeader()
{
    ReportFixture f(5);
    f.report->DestroyBand(f.summary);
    f.report->Page.Length = 999; // the fifth detail lacks 0.1 mm
    f.run();
    QCOMPARE(f.pages(), 2);
    QCOMPARE(f.detailNumbers(1), (QStringList{"1", "2", "3", "4"}));
    QCOMPARE(f.detailNumbers(2), QStringList{"5"});
    const PageLog page2 = f.page(2);
    QCOMPARE(page2.fillsOf(Qt::cyan).size(), 1);
    QCOMPARE(page2.fillsOf(Qt::cyan)[0].top(), f.y(100));
    QCOMPARE(page2.fillsOf(Qt::green)[0].top(), f.y(300));
    QVERIFY(page2.fillsOf(Qt::yellow).isEmpty());
}

// Room 100; a band of 100.5 rounds to 100 (halves to even) and stays.
void TestReportEngine::halfTenthRoundsToEven()
{
    QCOMPARE(nearest(100.5), 100);
    QCOMPARE(nearest(101.5), 102);
    ReportFixture f(1);
    f.report->DestroyBand(f.summary);
    f.report->Page.Length = 600;
    f.detail->Size.Height = 100.5;
    f.run();
    QCOMPARE(f.pages(), 1);
}

void TestReportEngine::bandTallerThanPageNeverBreaks()
{
    ReportFixture f(2);
    f.report->DestroyBand(f.summary);
    f.detail->Size.Height = 801; // printable length is 800
    f.run();
    QCOMPARE(f.pages(), 1);
    QCOMPARE(f.detailNumbers(1), (QStringList{"1", "2"}));
}

void TestReportEngine::pageFooterOnLastPage_data()
{
    QTest::addColumn<bool>("lastPageFooter");
    QTest::newRow("LastPageFooter") << true;
    QTest::newRow("without") << false;
}

void TestReportEngine::pageFooterOnLastPage()
{
    QFETCH(bool, lastPageFooter);
    ReportFixture f(6);
    f.band(rbPageFooter, 50, Qt::red);
    f.report->Options = FirstPageHeader | (lastPageFooter ? LastPageFooter : 0);
    f.run();
    QCOMPARE(f.pages(), 2);
    const QList<QRect> first = f.page(1).fillsOf(Qt::red);
    QCOMPARE(first.size(), 1);
    QCOMPARE(first[0].top(), f.y(850));
    QCOMPARE(first[0].bottom() + 1, f.y(900));
    QCOMPARE(f.page(2).fillsOf(Qt::red).size(), lastPageFooter ? 1 : 0);
    // Room above the footer: four details of 100 on page 1 (400..800).
    QCOMPARE(f.detailNumbers(1), (QStringList{"1", "2", "3", "4"}));
}

void TestReportEngine::forceNewPageKeepsFirstDetailWithTitle()
{
    ReportFixture f(3);
    f.detail->ForceNewPage = true;
    f.run();
    QCOMPARE(f.pages(), 3);
    QCOMPARE(f.detailNumbers(1), QStringList{"1"});
    QCOMPARE(f.page(1).fillsOf(Qt::yellow).size(), 1);
    QCOMPARE(f.detailNumbers(2), QStringList{"2"});
    QCOMPARE(f.detailNumbers(3), QStringList{"3"});
}

void TestReportEngine::summaryAlignedToBottom()
{
    ReportFixture f(1);
    f.band(rbPageFooter, 50, Qt::red);
    f.report->Options = FirstPageHeader;
    f.summary->AlignToBottom = true;
    f.run();
    QCOMPARE(f.pages(), 1);
    const QList<QRect> summary = f.page(1).fillsOf(Qt::magenta);
    QCOMPARE(summary.size(), 1);
    QCOMPARE(summary[0].bottom() + 1, f.y(900));
    QVERIFY(f.page(1).fillsOf(Qt::red).isEmpty());
}

void TestReportEngine::cancelWhenIdleDoesNothing()
{
    ReportFixture f(2);
    f.report->CancelReport();
    QVERIFY(f.report->RunIdle());
    QVERIFY(!f.report->CancelRequested());
    f.run();
    QCOMPARE(f.detailNumbers(1), (QStringList{"1", "2"}));
}

void TestReportEngine::cancelDuringRunStopsBeforeNextRecord()
{
    ReportFixture f(5);
    int printed = 0;
    f.detail->AfterPrint = [&](TRepBand*, bool) {
        if (++printed == 2)
            f.report->CancelReport();
    };
    f.report->PreviewReport();
    QCOMPARE(printed, 2);
    QVERIFY(f.report->RunIdle());
    // A cancelled preview releases its output.
    QVERIFY(!f.report->Output());
}

void TestReportEngine::errorDuringRunLeavesReportIdle()
{
    ReportFixture f(3);
    f.detail->BeforePrint = [](TRepBand*, bool&) { throw EDatabaseError(QStringLiteral("read failed")); };
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, f.report->PreviewReport());
    QVERIFY(f.report->RunIdle());
    QCOMPARE(f.report->Output()->status(), TRepStatus::Finished);
    QCOMPARE(f.report->Units, TRepUnit::MM);
    f.detail->BeforePrint = nullptr;
    f.run();
    QCOMPARE(f.detailNumbers(1), (QStringList{"1", "2", "3"}));
}

void TestReportEngine::beforePrintFalseOpensNoDocument()
{
    ReportFixture f(1);
    f.report->BeforePrint = [](TReport*, bool& print) { print = false; };
    f.report->PreviewReport();
    QVERIFY(f.report->RunIdle());
    QCOMPARE(f.report->Output()->status(), TRepStatus::Ready);
}

void TestReportEngine::pageValuesAndUnits()
{
    TReport report;
    QVERIFY(report.Page.SetValuesText(QStringLiteral("(127.0 2970.0 127.0 2100.0 254.0 254.0 0.0)")));
    QCOMPARE(report.Page.Values(), (QList<double>{127, 2970, 127, 2100, 254, 254, 0}));
    QVERIFY(!report.Page.SetValuesText(QStringLiteral("(1 2 3)")));
    QCOMPARE(report.Page.Length, 2970.0);
    report.Units = TRepUnit::Inches;
    QCOMPARE(report.Present(254, TRepAxis::Horizontal), 1.0);
    QCOMPARE(report.Store(2, TRepAxis::Vertical), 508.0);
    report.Units = TRepUnit::MM;
    QCOMPARE(report.Present(127, TRepAxis::Vertical), 12.7);
    report.Units = TRepUnit::Pixels;
    report.SetZoom(200);
    report.SetZoom(301); // ignored
    QCOMPARE(report.Zoom(), 200);
    QCOMPARE(report.Present(254, TRepAxis::Horizontal), report.ScreenPixelsPerInch() * 2);
    report.Units = TRepUnit::Characters; // Arial 10: 80 / 10 / 2.54 tenths a character
    QCOMPARE(report.Present(3.1496062992125986 * 10, TRepAxis::Horizontal), 1.0);
    report.Units = TRepUnit::Native;
    QCOMPARE(report.Present(33.3, TRepAxis::Horizontal), 33.3);
}

void TestReportEngine::columnsPlaceDetailsSideBySide()
{
    ReportFixture f(7);
    f.report->DestroyBand(f.summary);
    f.report->Page.Columns = 2;
    f.report->Page.ColumnSpace = 100;
    f.run();
    QCOMPARE(f.pages(), 1);
    const QList<QRect> details = f.page(1).fillsOf(Qt::green);
    QCOMPARE(details.size(), 7);
    // Five fit in column 1; the sixth starts column 2 at the column top.
    QCOMPARE(details[5].left(), f.report->Output()->XPos(100 + 350 + 100));
    QCOMPARE(details[5].top(), f.y(400));
}

void TestReportEngine::needDataSuppliesRecordsWithoutADataset()
{
    ReportFixture f;
    f.report->DataSet = nullptr;
    int supplied = 0;
    f.report->Controller().OnNeedData = [&](TRepController*, bool& moreData) { moreData = ++supplied <= 3; };
    f.run();
    QCOMPARE(f.detailNumbers(1), (QStringList{"1", "2", "3"}));
    QCOMPARE(f.page(1).fillsOf(Qt::magenta).size(), 1);
    QCOMPARE(f.report->Output()->progress(), 0); // no dataset to measure against
}

QTEST_MAIN(TestReportEngine)
#include "tst_ReportEngine.moc"

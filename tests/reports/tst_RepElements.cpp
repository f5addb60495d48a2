#include "ReportFixture.h"

#include "reports/Pictures.h"

#include <QFontMetrics>
#include <QtTest>

namespace {

TRepLabel* label(TRepBand* band, const QString& caption, double left, double width)
{
    auto* result = new TRepLabel(band);
    result->Size = {45, left, 10, width};
    result->SetCaption(caption);
    return result;
}

TRepDBText* dbText(TRepBand* band, TDataSet* dataSet, const QString& field, double left)
{
    auto* result = new TRepDBText(band);
    result->DataSet = dataSet;
    result->DataField = field;
    result->Size = {45, left, 10, 100};
    return result;
}

// Tenths of a text's screen width at 96 pixels per inch, plus the extra pixel.
double tenthsOf(const QString& text, const QFont& font)
{
    return (QFontMetrics(font).horizontalAdvance(text) + 1) * 254.0 / 96.0;
}

} // namespace

class TestRepElements : public QObject {
    Q_OBJECT

private slots:
    void autoSizeLabelPrintsOneLineAtItsLeftEdge();
    void maskAndDisplayFormat();
    void dataTextOnAnotherViewRepeatsItsValue();
    void carriageReturnsAndLineFeeds();
    void wordWrapAndCutting();
    void autoStretchGrowsTheBand();
    void rightAlignedAutoSizeKeepsItsRightEdge();
    void frameThickness();
    void logoWithAndWithoutStretch();
    void systemDataCaptions();
};

void TestRepElements::autoSizeLabelPrintsOneLineAtItsLeftEdge()
{
    ReportFixture f(1);
    TRepLabel* tanggal = label(f.title, QStringLiteral("Tanggal  :"), 150, 10);
    f.run();
    QCOMPARE(tanggal->FormattedLines(), QStringList{QStringLiteral("Tanggal  :")});
    const PageLog page = f.page(1);
    const LoggedText* text = page.find(QStringLiteral("Tanggal  :"));
    QVERIFY(text);
    QCOMPARE(int(text->baseline.x()), f.report->Output()->XPos(100 + 150));
    QCOMPARE(tanggal->Size.Left, 150.0);
    QVERIFY(qAbs(tanggal->Size.Width - tenthsOf(QStringLiteral("Tanggal  :"), tanggal->Font())) < 0.01);
}

void TestRepElements::maskAndDisplayFormat()
{
    ReportFixture f;
    f.db.addCustomer(QStringLiteral("P001"), QStringLiteral("Ani"));
    f.db.addLine(1, QStringLiteral("P001"), 27500.5, 2);
    f.db.exec(QStringLiteral("UPDATE DataBarang SET \"Tanggal\" = '2004-01-05'"));
    f.views.penjualan.Penjualan->Refresh();
    f.report->DataSet = f.views.penjualan.Penjualan;
    TDataSet* view = f.views.penjualan.Penjualan;
    f.views.penjualan.PenjualanHargaSatuan->SetDisplayFormat(QStringLiteral("#,##0.00"));
    dbText(f.detail, view, QStringLiteral("Harga Satuan"), 100);
    dbText(f.detail, view, QStringLiteral("Banyak Barang"), 250)->Mask = QStringLiteral("0.000");
    dbText(f.detail, view, QStringLiteral("Kode Pelanggan"), 400)->Mask = QStringLiteral("0.00");
    dbText(f.detail, view, QStringLiteral("Tanggal"), 550)->Mask = QStringLiteral("dd/mm/yyyy");
    dbText(f.detail, view, QStringLiteral("Jumlah Harga"), 700);
    dbText(f.detail, view, QStringLiteral("No Such Field"), 850);
    f.run();
    const QStringList texts = f.page(1).textList();
    QVERIFY2(texts.contains(QStringLiteral("27,500.50")), qPrintable(texts.join('|')));
    QVERIFY(texts.contains(QStringLiteral("2.000")));
    QVERIFY2(texts.contains(QStringLiteral("P001")), qPrintable(texts.join('|')));
    QVERIFY(texts.contains(QStringLiteral("05/01/2004")));
    QVERIFY(texts.contains(QStringLiteral("55001")));
    QVERIFY(!texts.contains(QStringLiteral("No Such Field")));

    f.views.penjualan.PenjualanHargaSatuan->SetDisplayFormat(QString());
    for (TRepPrintable* element : f.detail->Elements()) {
        auto* text = qobject_cast<TRepDBText*>(element);
        if (text && text->DataField == QStringLiteral("Harga Satuan"))
            text->Mask = QStringLiteral("0.0");
    }
    f.run();
    QVERIFY(f.page(1).textList().contains(QStringLiteral("27500.5")));
}

void TestRepElements::dataTextOnAnotherViewRepeatsItsValue()
{
    ReportFixture f;
    f.db.addCustomer(QStringLiteral("K01"), QStringLiteral("Ani"));
    for (int i = 1; i <= 3; ++i)
        f.db.addLine(i, QStringLiteral("K01"));
    f.views.penjualan.Penjualan->Refresh();
    f.views.pelanggan.Pelanggan->Refresh();
    f.report->DataSet = f.views.penjualan.Penjualan;
    dbText(f.detail, f.views.pelanggan.Pelanggan, QStringLiteral("Nama Pelanggan"), 200);
    f.run();
    QCOMPARE(f.detailNumbers(1), (QStringList{"1", "2", "3"}));
    QCOMPARE(f.page(1).textList().count(QStringLiteral("Ani")), 3);
}

void TestRepElements::carriageReturnsAndLineFeeds()
{
    ReportFixture f(1);
    f.title->Size.Height = 300;
    TRepLabel* two = label(f.title, QStringLiteral("Satu\r\nDua"), 0, 100);
    two->Size.Height = 200;
    label(f.title, QStringLiteral("Tiga\nEmpat"), 500, 100);
    f.run();
    QCOMPARE(two->FormattedLines(), (QStringList{"Satu", "Dua"}));
    const PageLog page = f.page(1);
    QVERIFY(page.find(QStringLiteral("Satu")) && page.find(QStringLiteral("Dua")));
    QVERIFY(page.find(QStringLiteral("Dua"))->baseline.y() > page.find(QStringLiteral("Satu"))->baseline.y());
    QVERIFY(page.find(QStringLiteral("TigaEmpat")));
}

void TestRepElements::wordWrapAndCutting()
{
    ReportFixture f;
    TRepLabel* wrapped = label(f.title, QString(), 0, 0);
    wrapped->AutoSize = false;
    const QFont font = wrapped->Font();
    // Wide enough for "alpha beta " but not for "gamma" after it.
    wrapped->Size.Width = tenthsOf(QStringLiteral("alpha beta "), font) + 1;
    wrapped->SetCaption(QStringLiteral("alpha beta gamma"));
    QCOMPARE(wrapped->FormattedLines(), (QStringList{"alpha beta ", "gamma"}));

    wrapped->SetCaption(QStringLiteral("well-known"));
    wrapped->Size.Width = std::max(tenthsOf(QStringLiteral("well-"), font), tenthsOf(QStringLiteral("known"), font)) + 1;
    wrapped->FormatLines();
    QCOMPARE(wrapped->FormattedLines().join('|'), QStringLiteral("well-|known"));

    // A word wider than the element keeps the characters that stay narrower.
    wrapped->Size.Width = tenthsOf(QStringLiteral("abcd"), font) + 0.5;
    wrapped->SetCaption(QStringLiteral("abcdefgh"));
    QCOMPARE(wrapped->FormattedLines().join('|'), QStringLiteral("abcd|"));

    wrapped->WordWrap = false;
    wrapped->Size.Width = tenthsOf(QStringLiteral("alpha beta "), font) + 1;
    wrapped->SetCaption(QStringLiteral("alpha beta gamma"));
    QCOMPARE(wrapped->FormattedLines(), QStringList{QStringLiteral("alpha beta ")});

    // The height guard raises a box lower than one line.
    wrapped->Size.Height = 1;
    wrapped->FormatLines();
    QVERIFY(wrapped->Size.Height * 96 / 254 >= QFontMetrics(font).height() + 1 - 1e-9);
}

void TestRepElements::autoStretchGrowsTheBand()
{
    ReportFixture f(2);
    TRepLabel* lines = label(f.detail, QStringLiteral("1\r2\r3\r4"), 200, 100);
    lines->Size.Height = 45; // room for one line
    f.run();
    QCOMPARE(f.page(1).textList().count(QStringLiteral("2")), 1); // the detail number only
    QCOMPARE(f.page(1).fillsOf(Qt::green)[1].top(), f.y(500));

    lines->AutoStretch = true;
    f.run();
    const PageLog page = f.page(1);
    QCOMPARE(page.textList().count(QStringLiteral("4")), 2);
    // The second detail starts below the first one's growth.
    QVERIFY(page.fillsOf(Qt::green)[1].top() > f.y(500));
}

void TestRepElements::rightAlignedAutoSizeKeepsItsRightEdge()
{
    ReportFixture f;
    auto* right = new TRepLabel(f.title);
    right->Size = {45, 100, 10, 300};
    right->Alignment = TAlignmentH::taRightJustify;
    right->SetCaption(QStringLiteral("Total"));
    QCOMPARE(right->Size.Left + right->Size.Width, 400.0);
    f.title->Size.Width = 800;
    TRepLabel* centred = label(f.title, QStringLiteral("Judul"), 0, 100);
    centred->Alignment = TAlignmentH::taCenter;
    centred->AlignToBand = true;
    centred->ApplyAlignToBand();
    QCOMPARE(centred->Size.Left, std::trunc((800 - centred->Size.Width) / 2));
}

void TestRepElements::frameThickness()
{
    TRepFrame frame;
    QCOMPARE(frame.Thickness(600 / 254.0), 8);
    QCOMPARE(frame.Thickness(96 / 254.0), 1);
    frame.Width = 0;
    QCOMPARE(frame.Thickness(96 / 254.0), 0);
    frame.Width = -1;
    QCOMPARE(frame.Thickness(600 / 254.0), 1);

    // On the page store a band's dotted frame is a solid strip of 1 pixel.
    ReportFixture f(1);
    f.detail->Frame.DrawTop = true;
    f.detail->Frame.Style = TPenStyle::psDot;
    f.detail->Frame.Color = Qt::darkRed;
    f.run();
    const QList<QRect> strips = f.page(1).fillsOf(Qt::darkRed);
    QCOMPARE(strips.size(), 1);
    QCOMPARE(strips[0].height(), 1);
    QCOMPARE(strips[0].top(), f.y(400));
    QCOMPARE(strips[0].width(), f.report->Output()->XSize(800));
}

void TestRepElements::logoWithAndWithoutStretch()
{
    ReportFixture f(1);
    auto* logo = new TRepImage(f.title);
    logo->Picture = Pictures::logo();
    QCOMPARE(logo->Picture.size(), QSize(146, 149));
    logo->Size = {80, 20, 10, 150};
    logo->Stretch = true;
    f.run();
    const TRepPrinter& output = *f.report->Output();
    const QRect box(output.XPos(120), output.YPos(310), output.XPos(270) - output.XPos(120),
                    output.YPos(390) - output.YPos(310));
    QCOMPARE(f.page(1).images, QList<QRect>{box});

    logo->Stretch = false;
    f.run();
    const QList<QRect> images = f.page(1).images;
    QCOMPARE(images.size(), 1);
    QCOMPARE(images[0].size(), QSize(146, 149)); // its own pixels at 96 per inch
    QCOMPARE(qRound(images[0].width() / f.report->Output()->ScaleX), 386); // 38.6 mm
    QCOMPARE(qRound(images[0].height() / f.report->Output()->ScaleY), 394);
}

void TestRepElements::systemDataCaptions()
{
    ReportFixture f(1);
    auto* page = new TRepSysData(f.title);
    page->SetText(QStringLiteral("Hal. "));
    page->SetData(TRepSysDataType::rsPageNumber);
    page->Size = {45, 500, 10, 100};
    QCOMPARE(page->PrintCaption(), QStringLiteral("Hal. (Page#)"));
    auto* title = new TRepSysData(f.title);
    title->SetData(TRepSysDataType::rsReportTitle);
    title->Size = {45, 700, 10, 100};
    f.report->ReportTitle = QStringLiteral("Laporan");
    f.run();
    const QStringList texts = f.page(1).textList();
    QVERIFY(texts.contains(QStringLiteral("Hal. 1")));
    QVERIFY(texts.contains(QStringLiteral("Laporan")));
    QCOMPARE(f.detailNumbers(1), QStringList{"1"});
}

QTEST_MAIN(TestRepElements)
#include "tst_RepElements.moc"

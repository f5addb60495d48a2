// pwangsa-admin report: the real binary over a real database, its PDFs read
// back with pdftotext and its prepared-report files loaded again.

#include "AdminProcess.h"
#include "PdfText.h"
#include "TestDatabase.h"

#include "data/DateText.h"
#include "reports/TRepPrinter.h"

#include <QDir>
#include <QPrinterInfo>
#include <QtTest>

class TestAdminReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void invoiceOfOneCustomer();
    void goodsReportCarriesItsTotal();
    void preparedReportFileRendersAsTheReport();
    void renderRefusesADamagedFile();
    void wrongUsage_data();
    void wrongUsage();
    void unknownCustomerWritesNothing();
    void printingWithoutPrinterIsAnError();
    void rendersWithoutDisplay();

private:
    QString file(const QString& name) const { return m_db->dir() + QLatin1Char('/') + name; }
    std::unique_ptr<TestDatabase> m_db;
};

void TestAdminReport::initTestCase()
{
    if (!test::havePdfTools())
        QSKIP("poppler-utils (pdftotext, pdfinfo) are not installed");
    m_db = std::make_unique<TestDatabase>();
    m_db->addCustomer(QStringLiteral("P001"), QStringLiteral("Budi"));
    m_db->addCustomer(QStringLiteral("P002"), QStringLiteral("Siti"));
    const QString insert = QStringLiteral(
        "INSERT INTO DataBarang (\"No Pesanan\", \"Kode Pelanggan\", \"Kode Barang\", \"Harga Satuan\", "
        "\"Banyak Barang\", \"No Faktur\", \"Tanggal\") VALUES (?, ?, ?, ?, ?, ?, ?)");
    m_db->exec(insert, {1, "P002", "BRG09", 1000, 5, "F0100", "2024-05-01"});
    m_db->exec(insert, {2, "P001", "BRG01", 18000, 2, "F0101", "2024-05-11"});
    m_db->exec(insert, {3, "P001", "BRG02", 27500, 3, "F0102", "2024-05-12"});
    m_db->exec(insert, {4, "P002", "BRG03", 19000, 1, QVariant(), QVariant()});
}

// The issue's own check: the lines of P001, its number and date, the total.
void TestAdminReport::invoiceOfOneCustomer()
{
    const QString pdf = file(QStringLiteral("faktur.pdf"));
    const AdminRun run = runAdmin({"report", "faktur", "--customer", "P001", "--pdf", pdf});
    QCOMPARE(run.code, 0);
    QVERIFY2(run.out.contains(pdf), qPrintable(run.out));
    const QStringList pages = test::pdfPages(pdf);
    QCOMPARE(pages.size(), 1);
    const QStringList lines = test::simpleLines(pages.first());
    QVERIFY2(lines.contains(QStringLiteral("Tanggal : ") + ShortDateText(QDate(2024, 5, 11))), qPrintable(pages.first()));
    QVERIFY(lines.contains(QStringLiteral("Nama Pelanggan : Budi")));
    QVERIFY(lines.contains(QStringLiteral("1 F0101 BRG01 2 36000")));
    QVERIFY(lines.contains(QStringLiteral("2 F0101 BRG02 3 82500")));
    QVERIFY(!pages.first().contains(QStringLiteral("BRG09")));
    QVERIFY(lines.contains(QStringLiteral("Jumlah Total Rp 118500")));
}

void TestAdminReport::goodsReportCarriesItsTotal()
{
    const QString pdf = file(QStringLiteral("barang.pdf"));
    QCOMPARE(runAdmin({"report", "barang", "--pdf", pdf}).code, 0);
    const QStringList pages = test::pdfPages(pdf);
    QCOMPARE(pages.size(), 1);
    QVERIFY2(test::simpleLines(pages.first()).contains(QStringLiteral("Total Jumlah 142500")), qPrintable(pages.first()));
    for (const char* goods : {"BRG01", "BRG02", "BRG03", "BRG09"})
        QVERIFY(pages.first().contains(QLatin1String(goods)));
}

// The same pages as the PDF: loaded into an output object, as the preview
// does, and drawn by render into a PDF that reads as the report made straight
// to PDF, on the same paper. An older file of that name is replaced.
void TestAdminReport::preparedReportFileRendersAsTheReport()
{
    const QString rpf = file(QStringLiteral("harian.rpf"));
    const QString direct = file(QStringLiteral("harian-direct.pdf"));
    const QString rendered = file(QStringLiteral("harian-rendered.pdf"));
    QCOMPARE(runAdmin({"report", "harian", "--rpf", rpf}).code, 0);
    QCOMPARE(runAdmin({"report", "harian", "--pdf", direct}).code, 0);
    TRepPrinter output;
    output.LoadFromFile(rpf);
    QCOMPARE(output.pageCount(), 1);
    QVERIFY(output.GetPage(1) != nullptr);

    QFile older(rendered);
    QVERIFY(older.open(QIODevice::WriteOnly));
    older.write("an older file");
    older.close();
    const AdminRun run = runAdmin({"render", rpf, "--pdf", rendered});
    QCOMPARE(run.code, 0);
    QVERIFY2(run.out.contains(rendered), qPrintable(run.out));
    const QStringList pages = test::pdfPages(rendered);
    QCOMPARE(pages.size(), 1);
    QCOMPARE(test::simpleLines(pages.first()), test::simpleLines(test::pdfPages(direct).first()));
    QCOMPARE(test::pdfPageSize(rendered), test::pdfPageSize(direct));
}

// A damaged file ends with the loader's message and exit status 1; the PDF
// of that name stays as it was and nothing else is left in its folder. One
// file holds a crafted page, the other pages behind a header that says none.
void TestAdminReport::renderRefusesADamagedFile()
{
    const QDir dir(file(QStringLiteral("damaged")));
    QVERIFY(QDir().mkpath(dir.path()));
    const QString crafted = dir.filePath(QStringLiteral("crafted.rpf"));
    QVERIFY(QFile::copy(QStringLiteral(PWANGSA_SOURCE_DIR "/tests/reports/data/crafted-picture-page.rpf"), crafted));
    const QString uncounted = dir.filePath(QStringLiteral("uncounted.rpf"));
    QCOMPARE(runAdmin({"report", "pelanggan", "--rpf", uncounted}).code, 0);
    QFile header(uncounted);
    QVERIFY(header.open(QIODevice::ReadWrite) && header.seek(8));
    header.write(QByteArray(4, '\0'));  // the page count
    header.close();
    const QString pdf = dir.filePath(QStringLiteral("kept.pdf"));
    QFile kept(pdf);
    QVERIFY(kept.open(QIODevice::WriteOnly));
    kept.write("kept");
    kept.close();
    for (const QString& rpf : {crafted, uncounted}) {
        const AdminRun run = runAdmin({"render", rpf, "--pdf", pdf});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(QStringLiteral("Not a valid prepared report file: ") + rpf), qPrintable(run.err));
    }
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("kept"));
    QCOMPARE(dir.entryList(QDir::Files), (QStringList{"crafted.rpf", "kept.pdf", "uncounted.rpf"}));
}

void TestAdminReport::wrongUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("no name") << QStringList{"report", "--pdf", "x.pdf"} << "report needs NAME";
    QTest::newRow("unknown name") << QStringList{"report", "gudang", "--pdf", "x.pdf"} << "unknown report: gudang";
    QTest::newRow("invoice without customer") << QStringList{"report", "faktur", "--pdf", "x.pdf"}
                                              << "faktur needs --customer CODE";
    QTest::newRow("customer elsewhere") << QStringList{"report", "pelanggan", "--customer", "P001", "--pdf", "x.pdf"}
                                        << "--customer is for faktur only";
    QTest::newRow("no output") << QStringList{"report", "harian"} << "give exactly one of";
    QTest::newRow("two outputs") << QStringList{"report", "harian", "--pdf", "x.pdf", "--rpf", "x.rpf"}
                                 << "give exactly one of";
    QTest::newRow("printer without print") << QStringList{"report", "harian", "--pdf", "x.pdf", "--printer", "PDF"}
                                           << "--printer goes with --print";
    QTest::newRow("render without file") << QStringList{"render", "--pdf", "x.pdf"} << "render needs FILE";
    QTest::newRow("render without output") << QStringList{"render", "x.rpf"} << "give exactly one of";
    QTest::newRow("render to two outputs") << QStringList{"render", "x.rpf", "--pdf", "x.pdf", "--print"}
                                           << "give exactly one of";
    QTest::newRow("render printer without print")
        << QStringList{"render", "x.rpf", "--pdf", "x.pdf", "--printer", "PDF"} << "--printer goes with --print";
}

void TestAdminReport::wrongUsage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const AdminRun run = runAdmin(arguments);
    QCOMPARE(run.code, 2);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(!QFileInfo::exists(QStringLiteral("x.pdf")));
}

void TestAdminReport::unknownCustomerWritesNothing()
{
    const QString pdf = file(QStringLiteral("none.pdf"));
    const AdminRun run = runAdmin({"report", "faktur", "--customer", "p001", "--pdf", pdf});
    QCOMPARE(run.code, 2);
    QVERIFY2(run.err.contains(QStringLiteral("unknown customer: p001")), qPrintable(run.err));
    QVERIFY(!QFileInfo::exists(pdf));
}

// Printing to no printer at all must not look like success.
void TestAdminReport::printingWithoutPrinterIsAnError()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("a printer is installed here");
    const AdminRun run = runAdmin({"report", "pelanggan", "--print"});
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.contains(QStringLiteral("no printer is installed")), qPrintable(run.err));
}

// With neither a display nor a platform chosen, the tool paints offscreen.
void TestAdminReport::rendersWithoutDisplay()
{
    const QString pdf = file(QStringLiteral("pelanggan.pdf"));
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QLatin1String(name));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(PWANGSA_ADMIN_BIN), {"report", "pelanggan", "--pdf", pdf});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    const QString page = test::pdfPages(pdf).value(0);
    const QStringList lines = test::simpleLines(page);
    QVERIFY2(page.contains(QRegularExpression(QStringLiteral("\\bP001 +Budi\\b"))), qPrintable(page));
    QVERIFY(page.contains(QRegularExpression(QStringLiteral("\\bP002 +Siti\\b"))));
}

QTEST_MAIN(TestAdminReport)
#include "tst_AdminReport.moc"

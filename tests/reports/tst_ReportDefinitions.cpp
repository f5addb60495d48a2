// The four report definitions over a real database, read back from the PDF
// they print.

#include "PdfText.h"
#include "TestDatabase.h"

#include "data/DataModel.h"
#include "data/DataSet.h"
#include "data/DateText.h"
#include "reports/RepBarang.h"
#include "reports/RepFakturPenjualan.h"
#include "reports/RepHarian.h"
#include "reports/RepPelanggan.h"
#include "reports/ReportPreparation.h"
#include "reports/TRepPrintable.h"
#include "reports/TReport.h"

#include <QtTest>

namespace {

struct Sale {
    double number;
    QString customer;
    QString goods;
    double price;
    double quantity;
    QString invoice;
    QDate date;
};

void addSale(const TestDatabase& db, const Sale& sale)
{
    db.exec(QStringLiteral("INSERT INTO DataBarang (\"No Pesanan\", \"Kode Pelanggan\", \"Kode Barang\", "
                           "\"Nama Barang\", \"Harga Satuan\", \"Banyak Barang\", \"No Faktur\", \"Tanggal\") "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
            {sale.number, sale.customer, sale.goods, QStringLiteral("Nama ") + sale.goods, sale.price, sale.quantity,
             sale.invoice.isEmpty() ? QVariant() : QVariant(sale.invoice),
             sale.date.isValid() ? QVariant(sale.date.toString(Qt::ISODate)) : QVariant()});
}

// The database, the views and the four reports on one owner.
struct Reports {
    TestDatabase db;
    QObject owner;
    DataModel::AllViews views{};
    TReport* pelanggan = nullptr;
    RepBarangDefinition barang{};
    TReport* harian = nullptr;
    RepFakturPenjualanDefinition faktur{};

    void open()
    {
        views = DataModel::SetupAll(&owner);
        pelanggan = CreateRepPelanggan(&owner, views.pelanggan.Pelanggan);
        barang = CreateRepBarang(&owner, views.penjualan.Penjualan);
        harian = CreateRepHarian(&owner, views.penjualan.Penjualan);
        faktur = CreateRepFakturPenjualan(&owner, views.barang.Barang, views.penjualan.Penjualan,
                                          views.pelanggan.Pelanggan);
    }

    TReport* byName(const QString& name) const
    {
        return owner.findChild<TReport*>(name);
    }

    // Prints `report` into a PDF and returns the text of its pages.
    QStringList print(TReport* report) const
    {
        const QString pdf = db.dir() + QLatin1Char('/') + report->objectName() + QStringLiteral(".pdf");
        QFile::remove(pdf);
        report->PrintFileName = pdf;
        report->ShowProgress = false;
        report->PrintReport();
        return test::pdfPages(pdf);
    }
};

const QRegularExpression kInvoiceNumber(QStringLiteral("\\bF\\d{4}\\b"));

QStringList invoiceNumbers(const QString& page)
{
    QStringList found;
    for (auto it = kInvoiceNumber.globalMatch(page); it.hasNext();)
        found << it.next().captured();
    return found;
}

} // namespace

class TestReportDefinitions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void pageSetups_data();
    void pageSetups();
    void columnHeadingsOnlyOnPageOne_data();
    void columnHeadingsOnlyOnPageOne();
    void goodsTotalIsTheSumOfAllLines_data();
    void goodsTotalIsTheSumOfAllLines();
    void dailyReportListsEveryLineUnderItsPagesFirstDate();
    void invoiceListsOnlyTheCustomersLines();
    void invoiceOfACustomerWithoutLines();
};

void TestReportDefinitions::initTestCase()
{
    if (!test::havePdfTools())
        QSKIP("poppler-utils (pdftotext, pdfinfo) are not installed");
}

void TestReportDefinitions::pageSetups_data()
{
    QTest::addColumn<QString>("report");
    QTest::addColumn<QString>("values");
    QTest::addColumn<QString>("points");
    QTest::newRow("customers") << "repPelanggan" << "127 2971.27 127 1865.31 127 127 0" << "529 x 842";
    QTest::newRow("goods") << "repBarang" << "127 3048 127 1984.38 127 127 0" << "562 x 864";
    QTest::newRow("daily") << "repHarian" << "127 2794 127 1795.78 127 127 0" << "509 x 792";
    QTest::newRow("invoice") << "repFakturPenjualan" << "127 2970 127 2100 254 254 0" << "595 x 842";
}

// The stored page values and the paper that comes out of them.
void TestReportDefinitions::pageSetups()
{
    QFETCH(QString, report);
    QFETCH(QString, values);
    QFETCH(QString, points);
    Reports r;
    r.open();
    TReport* definition = r.byName(report);
    QStringList stored;
    for (double v : definition->Page.Values())
        stored << QString::number(qRound(v * 100) / 100.0);
    QCOMPARE(stored.join(QLatin1Char(' ')), values);
    QVERIFY(definition->PrintIfEmpty);
    QCOMPARE(definition->Options, FirstPageHeader | LastPageFooter);
    r.print(definition);
    QCOMPARE(test::pdfPageSize(definition->PrintFileName), points);
}

void TestReportDefinitions::columnHeadingsOnlyOnPageOne_data()
{
    QTest::addColumn<QString>("report");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("pageHeader");
    QTest::newRow("customers") << "repPelanggan" << "Nama Pelanggan" << "LAPORAN PENJUALAN PELANGGAN";
    QTest::newRow("goods") << "repBarang" << "Harga Satuan" << "LAPORAN PENJUALAN BARANG";
    QTest::newRow("daily") << "repHarian" << "Kode Pelanggan" << "LAPORAN PENJUALAN HARIAN";
    QTest::newRow("invoice") << "repFakturPenjualan" << "Nama Barang" << "FAKTUR PENJUALAN";
}

// Sixty customers and sixty lines of one customer: every report runs over
// two pages; the page header repeats, the headings do not.
void TestReportDefinitions::columnHeadingsOnlyOnPageOne()
{
    QFETCH(QString, report);
    QFETCH(QString, heading);
    QFETCH(QString, pageHeader);
    Reports r;
    for (int i = 1; i <= 60; ++i) {
        r.db.addCustomer(QStringLiteral("C%1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("Orang %1").arg(i));
        addSale(r.db, {double(i), QStringLiteral("C01"), QStringLiteral("B%1").arg(i), 1000, 2,
                       QStringLiteral("F%1").arg(i, 4, 10, QLatin1Char('0')), QDate(2024, 3, 1)});
    }
    r.open();
    LocateInvoiceCustomer(r.views.pelanggan.Pelanggan, r.views.penjualan.Penjualan, QStringLiteral("C01"));
    const QStringList pages = r.print(r.byName(report));
    QVERIFY2(pages.size() >= 2, qPrintable(QString::number(pages.size())));
    QVERIFY(pages.first().contains(heading));
    for (int p = 0; p < pages.size(); ++p) {
        QVERIFY2(pages.at(p).contains(pageHeader), qPrintable(QStringLiteral("page %1").arg(p + 1)));
        if (p > 0)
            QVERIFY2(!pages.at(p).contains(heading), qPrintable(QStringLiteral("page %1").arg(p + 1)));
    }
}

void TestReportDefinitions::goodsTotalIsTheSumOfAllLines_data()
{
    QTest::addColumn<QList<double>>("prices");
    QTest::addColumn<QString>("total");
    QTest::newRow("no lines") << QList<double>{} << "0";
    QTest::newRow("three customers") << QList<double>{18000, 27500.5, 41000} << "173001";
    QTest::newRow("forty lines over pages") << QList<double>(40, 19000) << "1520000";
}

// Each line sells two of its price; the lines belong to several customers.
void TestReportDefinitions::goodsTotalIsTheSumOfAllLines()
{
    QFETCH(QList<double>, prices);
    QFETCH(QString, total);
    Reports r;
    for (int i = 0; i < prices.size(); ++i)
        addSale(r.db, {double(i + 1), QStringLiteral("C%1").arg(i % 3), QStringLiteral("B1"), prices.at(i), 2,
                       QString(), QDate()});
    r.open();
    QCOMPARE(r.barang.RepLabel5->Caption(), QStringLiteral("RepLabel5"));
    WriteTotal(r.views.penjualan.Penjualan, r.barang.RepLabel5);
    QCOMPARE(r.barang.RepLabel5->Caption(), total);
    const QStringList pages = r.print(r.barang.repBarang);
    QVERIFY(!pages.isEmpty());
    const QStringList lastLines = test::simpleLines(pages.last());
    QVERIFY2(lastLines.contains(QStringLiteral("Total Jumlah ") + total), qPrintable(pages.last()));
    int printedLines = 0;
    for (const QString& page : pages)
        printedLines += page.count(QStringLiteral("Nama B1"));
    QCOMPARE(printedLines, int(prices.size()));
}

// Lines of many days in number order; a page header shows the date of the
// first line printed on that page, not only one day's lines.
void TestReportDefinitions::dailyReportListsEveryLineUnderItsPagesFirstDate()
{
    Reports r;
    QHash<QString, QDate> dateOf;
    for (int i = 1; i <= 70; ++i) {
        const QString invoice = QStringLiteral("F%1").arg(i, 4, 10, QLatin1Char('0'));
        dateOf.insert(invoice, QDate(2024, 1, 1).addDays(i * 3));
        addSale(r.db, {double(i), QStringLiteral("C%1").arg(i % 7), QStringLiteral("B2"), 500, 1, invoice,
                       dateOf.value(invoice)});
    }
    r.open();
    const QStringList pages = r.print(r.harian);
    QVERIFY(pages.size() >= 3);
    QStringList listed;
    for (const QString& page : pages) {
        const QStringList numbers = invoiceNumbers(page);
        QVERIFY(!numbers.isEmpty());
        const QString expected = QStringLiteral("Tanggal : ") + ShortDateText(dateOf.value(numbers.first()));
        QVERIFY2(test::simpleLines(page).contains(expected), qPrintable(expected + QLatin1Char('\n') + page));
        listed << numbers;
    }
    QCOMPARE(listed.size(), 70);
    QCOMPARE(QSet<QString>(listed.cbegin(), listed.cend()).size(), 70);
}

// Two customers; the sales view's first line of C02 gives the number and
// the date for every line of the invoice.
void TestReportDefinitions::invoiceListsOnlyTheCustomersLines()
{
    Reports r;
    r.db.addCustomer(QStringLiteral("C01"), QStringLiteral("Ani"));
    r.db.addCustomer(QStringLiteral("C02"), QStringLiteral("Budi"));
    addSale(r.db, {1, QStringLiteral("C01"), QStringLiteral("X11"), 1000, 1, QStringLiteral("F0001"), QDate(2024, 2, 1)});
    addSale(r.db, {2, QStringLiteral("C02"), QStringLiteral("Y21"), 1500, 3, QStringLiteral("F0002"), QDate(2024, 2, 9)});
    addSale(r.db, {3, QStringLiteral("C01"), QStringLiteral("X12"), 1000, 2, QStringLiteral("F0003"), QDate(2024, 2, 3)});
    addSale(r.db, {4, QStringLiteral("C02"), QStringLiteral("Y22"), 2500.25, 4, QStringLiteral("F0004"), QDate(2024, 2, 4)});
    r.open();
    QVERIFY(LocateInvoiceCustomer(r.views.pelanggan.Pelanggan, r.views.penjualan.Penjualan, QStringLiteral("C02")));
    WriteTotal(r.views.barang.Barang, r.faktur.RepLabel10);
    QCOMPARE(r.faktur.RepLabel10->Caption(), QStringLiteral("14501"));
    QCOMPARE(r.faktur.repFakturPenjualan->findChild<TRepLabel*>(QStringLiteral("RepLabel9"))->Caption(), QStringLiteral("Jumlah Total  Rp"));

    const QStringList pages = r.print(r.faktur.repFakturPenjualan);
    QCOMPARE(pages.size(), 1);
    const QStringList lines = test::simpleLines(pages.first());
    QVERIFY2(lines.contains(QStringLiteral("Tanggal : ") + ShortDateText(QDate(2024, 2, 9))), qPrintable(pages.first()));
    QVERIFY(lines.contains(QStringLiteral("Nama Pelanggan : Budi")));
    QVERIFY(lines.contains(QStringLiteral("1 F0002 Y21 Nama Y21 3 4500")));
    QVERIFY(lines.contains(QStringLiteral("2 F0002 Y22 Nama Y22 4 10001")));
    QVERIFY(!pages.first().contains(QStringLiteral("X1")));
    QCOMPARE(invoiceNumbers(pages.first()), QStringList(2, QStringLiteral("F0002")));
    QVERIFY(lines.contains(QStringLiteral("Jumlah Total Rp 14501")));
}

// No lines: one empty line numbered 0 and the total 0. The sales view stays
// on another customer's line, whose invoice number and date stay off the
// invoice.
void TestReportDefinitions::invoiceOfACustomerWithoutLines()
{
    Reports r;
    r.db.addCustomer(QStringLiteral("C01"), QStringLiteral("Ani"));
    r.db.addCustomer(QStringLiteral("C09"), QStringLiteral("Sepi"));
    addSale(r.db, {1, QStringLiteral("C01"), QStringLiteral("X11"), 1000, 1, QStringLiteral("F0001"), QDate(2024, 2, 1)});
    r.open();
    QVERIFY(LocateInvoiceCustomer(r.views.pelanggan.Pelanggan, r.views.penjualan.Penjualan, QStringLiteral("C09")));
    WriteTotal(r.views.barang.Barang, r.faktur.RepLabel10);
    const QStringList pages = r.print(r.faktur.repFakturPenjualan);
    QCOMPARE(pages.size(), 1);
    const QStringList lines = test::simpleLines(pages.first());
    QVERIFY(lines.contains(QStringLiteral("Nama Pelanggan : Sepi")));
    QVERIFY2(lines.contains(QStringLiteral("Tanggal :")), qPrintable(pages.first()));
    QVERIFY2(lines.contains(QStringLiteral("0")), qPrintable(pages.first()));
    QVERIFY(!pages.first().contains(QStringLiteral("F0001")));
    QVERIFY(!pages.first().contains(ShortDateText(QDate(2024, 2, 1))));
    QVERIFY(lines.contains(QStringLiteral("Jumlah Total Rp 0")));
}

QTEST_MAIN(TestReportDefinitions)
#include "tst_ReportDefinitions.moc"

// The invoice print dialog over the program's real windows and database.

#include "RealInput.h"
#include "PdfText.h"
#include "StartUpMessage.h"
#include "TestDatabase.h"

#include "app/StartUp.h"
#include "app/UUtama.h"
#include "data/DateText.h"
#include "forms/UBarang.h"
#include "forms/UPelanggan.h"
#include "forms/UPenjualan.h"
#include "reports/TRepPrintable.h"
#include "reports/TRepPrinter.h"
#include "reports/TReport.h"
#include "reports/ui/UTanggal.h"
#include "widgets/TApplication.h"
#include "widgets/TDateTimePicker.h"
#include "widgets/TSpeedButton.h"

#include <QLineEdit>
#include <QtTest>

class TestTanggal : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void startUpReportsTheDateLimitAndGoesOn();
    void tabOrder();
    void pickerLimits_data();
    void pickerLimits();
    void typedCodeMovesTheThreeViews();
    void unknownCodeMovesNothing();
    void activationResetsTheCode();
    void changeSettlesPendingEdits();
    void previewTotalsTheChosenCustomer();
    void printWritesItsOwnTotal();
    void cancelClosesTheDialog();

private:
    void typeCode(const QString& keys);
    TestDatabase m_db;
    std::unique_ptr<TApplication> m_app;
    test::SeenBox m_startUpBox;
};

void TestTanggal::initTestCase()
{
    m_db.addOperator(QStringLiteral("ADMIN"), QStringLiteral("wangsa"));
    m_db.addCustomer(QStringLiteral("P001"), QStringLiteral("Budi"));
    m_db.addCustomer(QStringLiteral("P002"), QStringLiteral("Siti"));
    const QString insert = QStringLiteral("INSERT INTO DataBarang (\"No Pesanan\", \"Kode Pelanggan\", \"Kode Barang\", "
                                          "\"Harga Satuan\", \"Banyak Barang\", \"No Faktur\", \"Tanggal\") "
                                          "VALUES (?, ?, ?, ?, ?, ?, ?)");
    m_db.exec(insert, {1, "P002", "BRG09", 1000, 5, "F0100", "2024-05-01"});
    m_db.exec(insert, {2, "P001", "BRG01", 18000, 2, "F0101", "2024-05-11"});
    m_db.exec(insert, {3, "P001", "BRG02", 27500, 3, "F0102", "2024-05-12"});
    m_app = std::make_unique<TApplication>(QStringLiteral("pwangsa"));
    test::answerDateLimitMessage(&m_startUpBox);
    createForms();
    FormUtama->LoginSucceeded(); // the login window has tests of its own
}

void TestTanggal::init()
{
    FormTanggal->Show();
    QVERIFY(QTest::qWaitForWindowActive(FormTanggal));
}

void TestTanggal::typeCode(const QString& keys)
{
    FormTanggal->Edit1->selectAll();
    QTest::keyClicks(FormTanggal->Edit1, keys);
}

// Today is past 2006-12-12: the default error report names the limit, the
// picker keeps its stored value and the program's windows are all created.
void TestTanggal::startUpReportsTheDateLimitAndGoesOn()
{
    QCOMPARE(m_startUpBox.text, QStringLiteral("Date exceeds maximum of %1.").arg(ShortDateText(QDate(2006, 12, 12))));
    QCOMPARE(FormTanggal->dtpTanggal1->DateTime(), QDateTime(QDate(2002, 12, 12), QTime(19, 29, 3)));
    QCOMPARE(m_app->forms().size(), 8);
}

// Inside the group box the date picker comes first; Tab leaves it for the code.
void TestTanggal::tabOrder()
{
    FormTanggal->dtpTanggal1->setFocus();
    test::key(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), FormTanggal->Edit1);
}

void TestTanggal::pickerLimits_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("error");
    QTest::newRow("earliest") << QDate(2002, 1, 1) << QString();
    QTest::newRow("latest") << QDate(2006, 12, 12) << QString();
    QTest::newRow("a day early") << QDate(2001, 12, 31)
                                 << QStringLiteral("Date is less than minimum of ") + ShortDateText(QDate(2002, 1, 1));
    QTest::newRow("a day late") << QDate(2006, 12, 13)
                                << QStringLiteral("Date exceeds maximum of ") + ShortDateText(QDate(2006, 12, 12));
}

// Limits are whole days; a date inside keeps the stored time of day, one
// outside keeps the whole stored value.
void TestTanggal::pickerLimits()
{
    QFETCH(QDate, date);
    QFETCH(QString, error);
    TDateTimePicker* picker = FormTanggal->dtpTanggal1;
    const QDateTime stored(QDate(2003, 3, 3), QTime(19, 29, 3));
    picker->SetDateTime(stored);
    QString raised;
    try {
        picker->SetDate(date);
    } catch (const EDateTimeError& e) {
        raised = e.message();
    }
    QCOMPARE(raised, error);
    QCOMPARE(picker->DateTime(), error.isEmpty() ? QDateTime(date, QTime(19, 29, 3)) : stored);
}

// Lower-case letters show and locate in upper case; all three views follow.
void TestTanggal::typedCodeMovesTheThreeViews()
{
    typeCode(QStringLiteral("p001"));
    QCOMPARE(FormTanggal->Edit1->text(), QStringLiteral("P001"));
    QCOMPARE(FormPelanggan->PelangganNamaPelanggan->AsString(), QStringLiteral("Budi"));
    QCOMPARE(FormBarang->BarangKodeBarang->AsString(), QStringLiteral("BRG01"));
    QCOMPARE(FormPenjualan->PenjualanNoFaktur->AsString(), QStringLiteral("F0101"));
}

void TestTanggal::unknownCodeMovesNothing()
{
    typeCode(QStringLiteral("P002"));
    typeCode(QStringLiteral("P009"));
    QCOMPARE(FormPelanggan->PelangganKodePelanggan->AsString(), QStringLiteral("P002"));
    QCOMPARE(FormPenjualan->PenjualanNoFaktur->AsString(), QStringLiteral("F0100"));
}

void TestTanggal::activationResetsTheCode()
{
    typeCode(QStringLiteral("P001"));
    FormTanggal->Hide();
    FormUtama->Show();
    QVERIFY(QTest::qWaitForWindowActive(FormUtama));
    FormUtama->CetakFakturPenjualan1->trigger();
    QVERIFY(QTest::qWaitForWindowActive(FormTanggal));
    QTRY_COMPARE(FormTanggal->Edit1->text(), QStringLiteral("P0"));
    QTRY_COMPARE(QApplication::focusWidget(), FormTanggal->Edit1);
}

// A customer being edited in another window is posted before the locate.
void TestTanggal::changeSettlesPendingEdits()
{
    typeCode(QStringLiteral("P002"));
    FormPelanggan->Pelanggan->Edit();
    FormPelanggan->PelangganAlamat->SetAsString(QStringLiteral("Jl. Baru 1"));
    typeCode(QStringLiteral("P001"));
    QCOMPARE(m_db.exec(QStringLiteral("SELECT Alamat FROM DataPelanggan WHERE \"Kode Pelanggan\" = 'P002'")).value(0),
             QVariant(QStringLiteral("Jl. Baru 1")));
    QCOMPARE(FormPelanggan->PelangganKodePelanggan->AsString(), QStringLiteral("P001"));
}

void TestTanggal::previewTotalsTheChosenCustomer()
{
    typeCode(QStringLiteral("P001"));
    test::clickAt(FormTanggal->btnPreview);
    QCOMPARE(FormUtama->RepLabel10->Caption(), QStringLiteral("118500"));
    TRepPrinter* output = FormUtama->repFakturPenjualan->Output();
    QVERIFY(output);
    QCOMPARE(output->status(), TRepStatus::Finished);
    QCOMPARE(output->pageCount(), 1);
}

// After a preview of P001 and P002 typed into the dialog, both the dialog's
// print and the preview's print (which generates the invoice again from the
// views) carry the total of the lines they print: P002's.
void TestTanggal::printWritesItsOwnTotal()
{
    if (!test::havePdfTools())
        QSKIP("poppler-utils (pdftotext) are not installed");
    typeCode(QStringLiteral("P001"));
    test::clickAt(FormTanggal->btnPreview);
    TReport* invoice = FormUtama->repFakturPenjualan;
    TRepPrinter* preview = invoice->Output();
    QVERIFY(preview);
    typeCode(QStringLiteral("P002"));
    invoice->ShowProgress = false;
    const QString fromDialog = m_db.dir() + QStringLiteral("/faktur.pdf");
    const QString fromPreview = m_db.dir() + QStringLiteral("/faktur-preview.pdf");
    invoice->PrintFileName = fromDialog;
    test::clickAt(FormTanggal->btnPrint);
    FormUtama->RepLabel10->SetCaption(QStringLiteral("118500")); // as the preview left it
    invoice->PrintFileName = fromPreview;
    preview->Print(); // the preview's Print button
    QTRY_VERIFY(QFile::exists(fromPreview));
    invoice->PrintFileName.clear();
    for (const QString& pdf : {fromDialog, fromPreview}) {
        const QStringList lines = test::simpleLines(test::pdfPages(pdf).value(0));
        QVERIFY2(lines.contains(QStringLiteral("Jumlah Total Rp 5000")), qPrintable(pdf));
        QVERIFY2(lines.contains(QStringLiteral("Nama Pelanggan : Siti")), qPrintable(pdf));
    }
}

void TestTanggal::cancelClosesTheDialog()
{
    test::clickAt(FormTanggal->SpeedButton3);
    QVERIFY(!FormTanggal->isVisible());
    QVERIFY(FormUtama->repFakturPenjualan->RunIdle());
}

QTEST_MAIN(TestTanggal)
#include "tst_Tanggal.moc"

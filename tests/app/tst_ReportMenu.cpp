// The main window's report menu over the program's real windows and database:
// which report each entry produces, the goods total and the print question.

#include "ModalAnswer.h"
#include "StartUpMessage.h"
#include "TestDatabase.h"

#include "../reports/RepPageLog.h"
#include "app/StartUp.h"
#include "app/UUtama.h"
#include "forms/UBarang.h"
#include "forms/UPelanggan.h"
#include "forms/UPenjualan.h"
#include "reports/TRepPrintable.h"
#include "widgets/TApplication.h"

#include <QtTest>

namespace {

// Every text the report's last preview drew, over all its pages.
QStringList previewTexts(TReport* report)
{
    QStringList texts;
    TRepPrinter* output = report->Output();
    for (int page = 1; output && page <= output->pageCount(); ++page)
        for (const LoggedText& text : logPage(*output, page).texts)
            texts << text.text;
    return texts;
}

} // namespace

class TestReportMenu : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void goodsTotalCoversEveryLine();
    void previewEntries_data();
    void previewEntries();
    void dailyPrintAsksFirst_data();
    void dailyPrintAsksFirst();
    void salesWindowPrintAsksFirst();

private:
    TestDatabase m_db;
    std::unique_ptr<TApplication> m_app;
};

void TestReportMenu::initTestCase()
{
    m_db.addCustomer(QStringLiteral("P001"), QStringLiteral("Budi"));
    m_db.addCustomer(QStringLiteral("P002"), QStringLiteral("Siti"));
    m_app = std::make_unique<TApplication>(QStringLiteral("pwangsa"));
    test::answerDateLimitMessage();
    createForms();
    FormUtama->LoginSucceeded(); // the login window has tests of its own
    FormUtama->Show();
    QVERIFY(QTest::qWaitForWindowActive(FormUtama));
}

// Without lines the total reads 0; then it covers the lines of both
// customers, whichever customer the goods window stands on.
void TestReportMenu::goodsTotalCoversEveryLine()
{
    QCOMPARE(FormBarang->RepLabel5->Caption(), QStringLiteral("RepLabel5"));
    FormUtama->SejarahPerusaan1->trigger();
    QCOMPARE(FormBarang->RepLabel5->Caption(), QStringLiteral("0"));
    m_db.addLine(1, QStringLiteral("P001"), 18000, 2);
    m_db.addLine(2, QStringLiteral("P002"), 27500, 3);
    m_db.addLine(3, QStringLiteral("P001"), 41000.5, 2);
    FormPenjualan->Penjualan->Refresh();
    FormPelanggan->Pelanggan->First();
    FormUtama->SejarahPerusaan1->trigger();
    QCOMPARE(FormBarang->RepLabel5->Caption(), QStringLiteral("200501"));
    const QStringList texts = previewTexts(FormBarang->repBarang);
    QVERIFY(texts.contains(QStringLiteral("Total Jumlah")));
    QVERIFY(texts.contains(QStringLiteral("200501")));
}

void TestReportMenu::previewEntries_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("heading");
    QTest::newRow("customers") << "PenjualanPertanggal2" << "LAPORAN PENJUALAN PELANGGAN";
    QTest::newRow("daily") << "PenjualanPertanggal1" << "LAPORAN PENJUALAN HARIAN";
}

void TestReportMenu::previewEntries()
{
    QFETCH(QString, entry);
    QFETCH(QString, heading);
    TReport* report = entry == QLatin1String("PenjualanPertanggal2") ? FormPelanggan->repPelanggan
                                                                      : FormPenjualan->repHarian;
    (entry == QLatin1String("PenjualanPertanggal2") ? FormUtama->PenjualanPertanggal2 : FormUtama->PenjualanPertanggal1)
        ->trigger();
    QVERIFY(report->Output());
    QCOMPARE(report->Output()->status(), TRepStatus::Finished);
    QVERIFY(previewTexts(report).contains(heading));
}

void TestReportMenu::dailyPrintAsksFirst_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("printed");
    QTest::newRow("Yes") << "Yes" << true;
    QTest::newRow("No") << "No" << false;
    QTest::newRow("Esc") << "Esc" << false;
}

// Only Yes prints; the daily report goes to a PDF file standing in for the printer.
void TestReportMenu::dailyPrintAsksFirst()
{
    QFETCH(QString, answer);
    QFETCH(bool, printed);
    const QString pdf = m_db.dir() + QStringLiteral("/harian.pdf");
    QFile::remove(pdf);
    TReport* report = FormPenjualan->repHarian;
    report->PrintFileName = pdf;
    report->ShowProgress = false;
    QString question;
    test::answerNextModal([&question, answer](QWidget* box) {
        question = box->findChild<QLabel*>(QStringLiteral("Message"))->text();
        if (answer == QLatin1String("Esc"))
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Escape);
        else
            test::buttonCaptioned(box, answer)->click();
    });
    FormUtama->Laporanharian1->trigger();
    report->PrintFileName.clear();
    QCOMPARE(question, QStringLiteral("Yakin mau diprint ?"));
    QCOMPARE(QFileInfo::exists(pdf), printed);
}

void TestReportMenu::salesWindowPrintAsksFirst()
{
    const QString pdf = m_db.dir() + QStringLiteral("/harian-button.pdf");
    TReport* report = FormPenjualan->repHarian;
    report->PrintFileName = pdf;
    report->ShowProgress = false;
    QString question;
    test::answerNextModal([&question](QWidget* box) {
        question = box->findChild<QLabel*>(QStringLiteral("Message"))->text();
        test::buttonCaptioned(box, QStringLiteral("Yes"))->click();
    });
    FormPenjualan->SpeedButton5Click();
    report->PrintFileName.clear();
    QCOMPARE(question, QStringLiteral("Yakin mau di Print ?"));
    QVERIFY(QFileInfo::exists(pdf));
}

QTEST_MAIN(TestReportMenu)
#include "tst_ReportMenu.moc"

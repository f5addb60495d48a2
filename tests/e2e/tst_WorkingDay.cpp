// A whole working day through the program's real windows over a SQLite
// file: log in, add a customer, enter an order line, price it, give it an
// invoice number and date, preview the invoice, end the program. Every
// window is reached through the main window's menu with the mouse and
// filled in with the keyboard; the stored rows are checked afterwards. The
// functions run in order and build on each other.

#include "../reports/ui/PreviewWindows.h"
#include "EntryWindows.h"
#include "MessageLog.h"
#include "StartUpMessage.h"
#include "TestDatabase.h"

#include "app/StartUp.h"
#include "app/UPassword.h"
#include "app/UUtama.h"
#include "data/controls/TDBComboBox.h"
#include "data/controls/TDBEdit.h"
#include "data/controls/TMaskEdit.h"
#include "reports/TRepPrintable.h"
#include "reports/TReport.h"
#include "reports/ui/RegisterReportWindows.h"
#include "reports/ui/UTanggal.h"
#include "widgets/TApplication.h"
#include "widgets/TSpeedButton.h"

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

class TestWorkingDay : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void operatorLogsIn();
    void addCustomer();
    void enterOrderLine();
    void priceTheLineInTheGoodsWindow();
    void invoiceNumberAndDateInTheSalesWindow();
    void storedLineHoldsEverythingTyped();
    void invoicePreviewTotalsTheLine();
    void customerDeleteAlsoDeletesTheCurrentSalesLine();
    void keluarAnsweredYesEndsTheProgram();  // last: the ended program refuses later modal loops

private:
    // Clicks through the main window's menu: the menu bar's `menus.first()`,
    // each submenu in turn, then `entry`.
    static void clickMenu(const QList<QMenu*>& menus, QAction* entry);
    static bool openThroughMenu(QMenu* menu, QAction* entry, TForm* window);
    QVariant stored(const QString& column) const { return test::storedLine(m_db, column, kOrder); }

    static constexpr double kOrder = 101;
    TestDatabase m_db{QStringLiteral("Dor"), TestDatabase::Engine::Sqlite};
    std::unique_ptr<TApplication> m_app;
};

void TestWorkingDay::initTestCase()
{
    m_db.addOperator(QStringLiteral("ADMIN"), QStringLiteral("wangsa"));
    m_app = std::make_unique<TApplication>(QStringLiteral("pwangsa"));
    registerReportWindows();
    test::answerDateLimitMessage();
    createForms();
    FormPassword->Show();
    QVERIFY(QTest::qWaitForWindowActive(FormPassword));
}

void TestWorkingDay::clickMenu(const QList<QMenu*>& menus, QAction* entry)
{
    QMenuBar* bar = FormUtama->MainMenu1;
    test::clickAt(bar, bar->actionGeometry(menus.first()->menuAction()).center());
    QTRY_VERIFY(menus.first()->isVisible());
    for (qsizetype i = 1; i < menus.size(); ++i) {
        QMenu* parent = menus[i - 1];
        const QPoint at = parent->actionGeometry(menus[i]->menuAction()).center();
        QTest::mouseMove(parent->windowHandle(), at);
        test::clickAt(parent, at);
        QTRY_VERIFY(menus[i]->isVisible());
    }
    test::clickAt(menus.last(), menus.last()->actionGeometry(entry).center());
}

// The offscreen platform has no window manager to activate the window shown
// once the menu has closed; the test does that part.
bool TestWorkingDay::openThroughMenu(QMenu* menu, QAction* entry, TForm* window)
{
    clickMenu({menu}, entry);
    if (!QTest::qWaitFor([] { return !QApplication::activePopupWidget(); }) || !window->isVisible())
        return false;
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

void TestWorkingDay::operatorLogsIn()
{
    test::typeInto(FormPassword->eNama, QStringLiteral("admin"));
    test::typeInto(FormPassword->ePassword, QStringLiteral("wangsa"));
    test::MessageLog log;
    test::key(Qt::Key_Enter);
    QCOMPARE(log.texts(), QStringList());
    QVERIFY(QTest::qWaitForWindowActive(FormUtama));
    QVERIFY(!FormPassword->isVisible());
}

void TestWorkingDay::addCustomer()
{
    TFormPelanggan* w = FormPelanggan;
    QVERIFY(openThroughMenu(FormUtama->File1, FormUtama->DataPelanggan1, w));
    test::MessageLog log;
    test::click(w->SpeedButton3);
    QVERIFY(test::hasFocus(w->DBEdit1));
    test::type(QStringLiteral("P001"));
    test::typeInto(w->DBEdit2, QStringLiteral("toko sehat"));
    test::typeInto(w->DBEdit3, QStringLiteral("Jl. Mawar 3"));
    test::typeFromStart(w->DBEdit4, QStringLiteral("0221234567"));
    test::click(w->SpeedButton2);
    QCOMPARE(log.texts(), QStringList());
    QCOMPARE(m_db.exec(QStringLiteral("SELECT \"Kode Pelanggan\" || '|' || \"Nama Pelanggan\" || '|' || \"Alamat\" "
                                      "|| '|' || \"No Telepon\" FROM DataPelanggan")),
             QVariantList{QStringLiteral("P001|TOKO SEHAT|Jl. Mawar 3|(022)123-4567")});
}

// The new line starts with the code of the customer just added.
void TestWorkingDay::enterOrderLine()
{
    TFormPesanan* w = FormPesanan;
    QVERIFY(openThroughMenu(FormUtama->File1, FormUtama->InputPesanan1, w));
    test::MessageLog log;
    test::click(w->SpeedButton1);
    QCOMPARE(test::shown(w->DBEdit2), QStringLiteral("P001"));
    test::typeInto(w->DBEdit1, QStringLiteral("101"));
    test::choose(w->KodeBarang, QStringLiteral("BRG03"));
    QCOMPARE(test::shown(w->DBEdit3), QStringLiteral("Doz Ezovidu Genggam"));
    test::click(w->SpeedButton3);
    QCOMPARE(log.texts(), QStringList());
    QCOMPARE(stored(QStringLiteral("Kode Pelanggan")), QVariant(QStringLiteral("P001")));
}

// The search box finds the customer's line; the packaging type brings the
// price from the price table and the amount follows the quantity.
void TestWorkingDay::priceTheLineInTheGoodsWindow()
{
    TFormBarang* w = FormBarang;
    QVERIFY(openThroughMenu(FormUtama->File1, FormUtama->Penjualan1, w));
    test::MessageLog log;
    test::typeFromStart(w->Edit1, QStringLiteral("01"));
    QCOMPARE(w->BarangNoPesanan->AsReal(), kOrder);
    test::choose(w->JenisBarang, QStringLiteral("GENGGAM"));
    QCOMPARE(w->DBEdit2->text(), QStringLiteral("27500"));
    test::typeOver(w->DBEdit3, QStringLiteral("4"));
    test::click(w->SpeedButton6);
    QCOMPARE(log.texts(), QStringList());
    QCOMPARE(w->DBEdit4->text(), QStringLiteral("110000"));
    QCOMPARE(stored(QStringLiteral("Banyak Barang")).toDouble(), 4.0);
}

void TestWorkingDay::invoiceNumberAndDateInTheSalesWindow()
{
    TFormPenjualan* w = FormPenjualan;
    QVERIFY(openThroughMenu(FormUtama->File1, FormUtama->DataBarang1, w));
    test::MessageLog log;
    test::typeFromStart(w->Edit1, QStringLiteral("01"));
    QCOMPARE(w->PenjualanNoPesanan->AsReal(), kOrder);
    test::typeOver(w->DBEdit1, QStringLiteral("F0001"));
    test::typeOver(w->DBEdit2, QStringLiteral("02152026"));
    test::click(w->SpeedButton1);
    QCOMPARE(log.texts(), QStringList());
    QCOMPARE(w->Penjualan->State(), dsBrowse);
    QCOMPARE(w->PenjualanJumlahHarga->AsReal(), 110000.0);
}

// Every value typed in the four windows, in one row; the amount is no column
// but the views compute it from price and quantity.
void TestWorkingDay::storedLineHoldsEverythingTyped()
{
    QCOMPARE(m_db.count(QStringLiteral("DataBarang")), 1);
    QCOMPARE(stored(QStringLiteral("Kode Pelanggan")), QVariant(QStringLiteral("P001")));
    QCOMPARE(stored(QStringLiteral("Kode Barang")), QVariant(QStringLiteral("BRG03")));
    QCOMPARE(stored(QStringLiteral("Nama Barang")), QVariant(QStringLiteral("Doz Ezovidu Genggam")));
    QCOMPARE(stored(QStringLiteral("Jenis Barang")), QVariant(QStringLiteral("GENGGAM")));
    QCOMPARE(stored(QStringLiteral("Harga Satuan")).toDouble(), 27500.0);
    QCOMPARE(stored(QStringLiteral("Banyak Barang")).toDouble(), 4.0);
    QCOMPARE(stored(QStringLiteral("No Faktur")), QVariant(QStringLiteral("F0001")));
    QCOMPARE(stored(QStringLiteral("Tanggal")).toString().left(10), QStringLiteral("2026-02-15"));
    FormBarang->Barang->Refresh();
    QCOMPARE(FormBarang->BarangJumlahHarga->AsReal(), 110000.0);
    FormPenjualan->Penjualan->Refresh();
    QCOMPARE(FormPenjualan->PenjualanJumlahHarga->AsReal(), 110000.0);
}

void TestWorkingDay::invoicePreviewTotalsTheLine()
{
    clickMenu({FormUtama->Help1, FormUtama->Print1}, FormUtama->CetakFakturPenjualan1);
    QVERIFY(QTest::qWaitForWindowActive(FormTanggal));
    QTRY_COMPARE(QApplication::focusWidget(), FormTanggal->Edit1);
    test::key(Qt::Key_End);
    test::type(QStringLiteral("01"));
    QCOMPARE(FormTanggal->Edit1->text(), QStringLiteral("P001"));
    int pages = 0;
    whenPreviewFinished([&pages](TRepStandardPreview* preview) {
        pages = preview->Output()->pageCount();
        preview->close();
    });
    test::click(FormTanggal->btnPreview);
    QCOMPARE(pages, 1);
    QCOMPARE(FormUtama->RepLabel10->Caption(), QStringLiteral("110000"));
    test::click(FormTanggal->SpeedButton3);
    QVERIFY(!FormTanggal->isVisible());
}

// The invoice dialog left every view on the customer and the line; deleting
// the customer takes the sales view's current line with it.
void TestWorkingDay::customerDeleteAlsoDeletesTheCurrentSalesLine()
{
    QCOMPARE(FormPenjualan->PenjualanNoPesanan->AsReal(), kOrder);
    QVERIFY(openThroughMenu(FormUtama->File1, FormUtama->DataPelanggan1, FormPelanggan));
    QCOMPARE(FormPelanggan->PelangganKodePelanggan->AsString(), QStringLiteral("P001"));
    {
        test::MessageLog log({QStringLiteral("Yes")});
        test::click(FormPelanggan->SpeedButton1);
        QCOMPARE(log.texts(), QStringList{QStringLiteral("Mau dihapus ? ")});
    }
    QCOMPARE(m_db.count(QStringLiteral("DataPelanggan")), 0);
    QCOMPARE(m_db.count(QStringLiteral("DataBarang")), 0);
    QVERIFY(FormPenjualan->Penjualan->IsEmpty());
}

void TestWorkingDay::keluarAnsweredYesEndsTheProgram()
{
    FormUtama->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(FormUtama));
    test::MessageLog log({QStringLiteral("Yes")});
    clickMenu({FormUtama->File1}, FormUtama->Exit1);
    QTRY_VERIFY(m_app->Terminated());
    QCOMPARE(log.texts(), QStringList{QStringLiteral("Yakin mau keluar dari program ?")});
}

QTEST_MAIN(TestWorkingDay)
#include "tst_WorkingDay.moc"

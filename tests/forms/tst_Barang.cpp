#include "EntryWindows.h"
#include "MessageLog.h"
#include "app/UUtama.h"
#include "data/Formats.h"
#include "data/controls/TDBComboBox.h"
#include "data/controls/TDBEdit.h"
#include "data/controls/TDBGrid.h"
#include "forms/UBarang.h"
#include "forms/UPelanggan.h"
#include "forms/UPenjualan.h"
#include "widgets/Beep.h"
#include "widgets/TSpeedButton.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using test::MessageLog;

class TestBarang : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void windowAndTabOrder();
    void searchBoxMovesTheCustomerAndItsLines();
    void arrowsWarnOnTheSecondPressAtEitherEnd();
    void editButtonResetsTheSearchBoxAndInsertsForACustomerWithoutLines();
    void packagingTypeSetsTheUnitPrice();
    void saveFailuresAreNeverReportedAsSaved();
    void deleteAsksFirstAndReportsAnEmptyView();
    void hiddenCustomerCodeBoxOnlyChecks();
    void totalCoversEveryLineOfEveryCustomer();
    void closeHidesAndTheMenuShowsAgain();

private:
    test::EntryWindows m_windows;
    const TestDatabase& m_db = m_windows.db;
    TFormBarang* w = nullptr;
};

void TestBarang::initTestCase()
{
    m_windows.reset({QStringLiteral("P001"), QStringLiteral("P002"), QStringLiteral("P003"), QStringLiteral("P004")},
                    {{1, QStringLiteral("P001"), 18000, 2},
                     {2, QStringLiteral("P001"), 19000, 1},
                     {3, QStringLiteral("P001")},
                     {4, QStringLiteral("P002"), 41000, 3},
                     {5, QStringLiteral("P004"), 27500, 1}});
    w = FormBarang;
    FormUtama->Penjualan1->trigger();
    QVERIFY(QTest::qWaitForWindowActive(w));
}

void TestBarang::windowAndTabOrder()
{
    QCOMPARE(w->windowTitle(), QStringLiteral("Barang") + QString(136, QLatin1Char(' ')) + QLatin1Char('.'));
    QCOMPARE(w->clientSize(), QSize(659, 467));
    QCOMPARE(w->Edit1->Text(), QStringLiteral("P0  "));
    QCOMPARE(w->JenisBarang->count(), 4);
    QCOMPARE(w->JenisBarang->itemText(2), QStringLiteral("KALENG"));
    QVERIFY(!w->DBEdit1->isEnabled() && !w->DBEdit6->isEnabled());
    // The customer code box lies on the group box's edge, out of sight.
    QVERIFY(!w->GroupBox1->contentsRect().intersects(w->DBEdit7->geometry()));
    // The activation put the focus into the search box.
    QTRY_COMPARE(QApplication::focusWidget(), w->Edit1);

    const QList<QWidget*> order{w->DBEdit3, w->DBEdit4, w->JenisBarang, w->DBEdit5, w->DBEdit7,
                                w->Edit1,   w->Button2, w->Edit2,       w->DBGrid1};
    w->DBEdit2->setFocus(Qt::MouseFocusReason);
    for (QWidget* expected : order) {
        test::key(Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        QVERIFY2(now == expected || now->parentWidget() == expected, qPrintable(expected->objectName()));
    }
}

void TestBarang::searchBoxMovesTheCustomerAndItsLines()
{
    MessageLog watch;
    test::typeFromStart(w->Edit1, QStringLiteral("01"));
    QCOMPARE(w->Edit1->Text(), QStringLiteral("P001"));
    QCOMPARE(FormPelanggan->PelangganKodePelanggan->AsString(), QStringLiteral("P001"));
    QCOMPARE(w->Barang->RecordCount(), 3);
    QCOMPARE(w->DBGrid1->CellText(2, 1), QStringLiteral("3"));
    QCOMPARE(w->DBGrid1->CellText(3, 1), QString());
    QTest::keyClick(w->Edit1, Qt::Key_Return);

    // The first two positions are the literals "P0": a typed P is refused.
    const int beeps = beepCount();
    w->Edit1->setCursorPosition(0);
    QTest::keyClick(w->Edit1, Qt::Key_P);
    QCOMPARE(beepCount(), beeps + 1);
    QCOMPARE(w->Edit1->Text(), QStringLiteral("P001"));
    QVERIFY(watch.boxes().isEmpty());

    // A code no customer has moves nothing; Enter says so.
    test::typeFromStart(w->Edit1, QStringLiteral("09"));
    QCOMPARE(w->Edit1->Text(), QStringLiteral("P009"));
    QCOMPARE(FormPelanggan->PelangganKodePelanggan->AsString(), QStringLiteral("P001"));
    QCOMPARE(w->Barang->RecordCount(), 3);
    QTest::keyClick(w->Edit1, Qt::Key_Return);
    QCOMPARE(watch.texts(), QStringList{QStringLiteral("Kode Pelanggan tidak ada dalam file!")});
    QCOMPARE(watch.boxes().first().caption, QStringLiteral("information"));
}

void TestBarang::arrowsWarnOnTheSecondPressAtEitherEnd()
{
    const QString first = QStringLiteral("Anda berada pada Record Pertama");
    const QString last = QStringLiteral("Anda berada pada Record Akhir");
    test::typeFromStart(w->Edit1, QStringLiteral("01"));
    auto press = [this](TSpeedButton* arrow) {
        MessageLog watch;
        test::click(arrow);
        return watch.texts();
    };
    auto line = [this] { return w->BarangNoPesanan->AsReal(); };
    // Right after the customer changes Bof holds: the left arrow warns at once.
    QCOMPARE(press(w->SpeedButton2), QStringList{first});
    QCOMPARE(line(), 1.0);
    QCOMPARE(press(w->SpeedButton1), QStringList());
    QCOMPARE(press(w->SpeedButton1), QStringList());
    QCOMPARE(line(), 3.0);
    QCOMPARE(press(w->SpeedButton1), QStringList());  // sets Eof, stays
    QCOMPARE(line(), 3.0);
    QCOMPARE(press(w->SpeedButton1), QStringList{last});
    QCOMPARE(press(w->SpeedButton2), QStringList());
    QCOMPARE(press(w->SpeedButton2), QStringList());
    QCOMPARE(line(), 1.0);
    QCOMPARE(press(w->SpeedButton2), QStringList());  // sets Bof, stays
    QCOMPARE(line(), 1.0);
    // After the message the window is active again, the focus in the search box.
    w->DBEdit3->setFocus(Qt::MouseFocusReason);
    QCOMPARE(press(w->SpeedButton2), QStringList{first});
    QTRY_COMPARE(QApplication::focusWidget(), w->Edit1);

    // A customer without lines: both arrows warn at once.
    test::typeFromStart(w->Edit1, QStringLiteral("03"));
    QVERIFY(w->Barang->IsEmpty());
    QCOMPARE(press(w->SpeedButton2), QStringList{first});
    QCOMPARE(press(w->SpeedButton1), QStringList{last});
}

void TestBarang::editButtonResetsTheSearchBoxAndInsertsForACustomerWithoutLines()
{
    MessageLog watch;
    // The box holds "P003": the reset changes it, its locate drops the
    // untouched new line again and finds no customer "P0".
    test::click(w->SpeedButton7);
    QCOMPARE(w->Edit1->Text(), QStringLiteral("P0  "));
    QCOMPARE(QApplication::focusWidget(), w->Edit1);
    QCOMPARE(w->Barang->State(), dsBrowse);
    QVERIFY(w->Barang->IsEmpty());
    QCOMPARE(FormPelanggan->PelangganKodePelanggan->AsString(), QStringLiteral("P003"));
    // Pressed again the box doesn't change: the new line stays, for P003.
    test::click(w->SpeedButton7);
    QCOMPARE(w->Barang->State(), dsInsert);
    QCOMPARE(w->BarangKodePelanggan->AsString(), QStringLiteral("P003"));

    test::typeOver(w->DBEdit5, QStringLiteral("6"));
    test::choose(w->JenisBarang, QStringLiteral("GENGGAM"));
    QCOMPARE(w->DBEdit2->text(), QStringLiteral("27500"));
    test::typeOver(w->DBEdit3, QStringLiteral("4"));
    test::click(w->SpeedButton6);
    QCOMPARE(w->Barang->State(), dsBrowse);
    QCOMPARE(w->DBEdit4->text(), QStringLiteral("110000"));
    QCOMPARE(test::storedLine(m_db, QStringLiteral("Kode Pelanggan"), 6).toString(), QStringLiteral("P003"));
    QCOMPARE(test::storedLine(m_db, QStringLiteral("Jenis Barang"), 6).toString(), QStringLiteral("GENGGAM"));
    QCOMPARE(test::storedLine(m_db, QStringLiteral("Harga Satuan"), 6).toDouble(), 27500.0);
    QCOMPARE(test::storedLine(m_db, QStringLiteral("Banyak Barang"), 6).toDouble(), 4.0);
    QVERIFY(watch.boxes().isEmpty());
}

// Typed over a stored line's packaging type (keys reach the combo box,
// which hands them to its edit part), the view edits first and the price
// follows; Escape brings the stored text back; save stores both.
void TestBarang::packagingTypeSetsTheUnitPrice()
{
    m_db.exec(QStringLiteral("UPDATE DataBarang SET \"Jenis Barang\" = 'BOTOL A' WHERE \"No Pesanan\" = 4"));
    w->Barang->Refresh();
    test::typeFromStart(w->Edit1, QStringLiteral("02"));
    QCOMPARE(w->BarangHargaSatuan->AsReal(), 41000.0);
    QCOMPARE(test::shown(w->JenisBarang), QStringLiteral("BOTOL A"));
    test::typeOver(w->JenisBarang, QStringLiteral("GENGGAM"));
    QCOMPARE(w->Barang->State(), dsEdit);
    QCOMPARE(w->BarangHargaSatuan->AsReal(), 27500.0);
    test::key(Qt::Key_Escape);
    QCOMPARE(test::shown(w->JenisBarang), QStringLiteral("BOTOL A"));
    // Typed in lower case it matches no price: the price stays.
    test::typeOver(w->JenisBarang, QStringLiteral("botol b"));
    QCOMPARE(w->BarangHargaSatuan->AsReal(), 27500.0);
    test::typeOver(w->JenisBarang, QStringLiteral("KALENG"));
    QCOMPARE(w->BarangHargaSatuan->AsReal(), 41000.0);
    test::click(w->SpeedButton6);
    QCOMPARE(w->Barang->State(), dsBrowse);
    QCOMPARE(test::storedLine(m_db, QStringLiteral("Jenis Barang"), 4).toString(), QStringLiteral("KALENG"));
    QCOMPARE(test::storedLine(m_db, QStringLiteral("Harga Satuan"), 4).toDouble(), 41000.0);
    test::choose(w->JenisBarang, QStringLiteral("BOTOL B"));
    QCOMPARE(w->BarangHargaSatuan->AsReal(), 19000.0);
    QCOMPARE(w->BarangJumlahHarga->AsReal(), 57000.0);
    test::click(w->SpeedButton6);
    QCOMPARE(test::storedLine(m_db, QStringLiteral("Harga Satuan"), 4).toDouble(), 19000.0);
    QCOMPARE(test::storedLine(m_db, QStringLiteral("Jenis Barang"), 4).toString(), QStringLiteral("BOTOL B"));
}

void TestBarang::saveFailuresAreNeverReportedAsSaved()
{
    const QString duplicate = QStringLiteral("No Pesanan ada yang sama");
    const QString saved = QStringLiteral("Data sudah disimpan");
    const qint64 lines = m_db.count(QStringLiteral("DataBarang"));
    {
        MessageLog watch;
        test::click(w->SpeedButton6);
        QCOMPARE(watch.texts(), QStringList{saved});
    }
    // A new line (as the order window makes it) with a number that exists.
    w->Barang->Insert();
    test::typeOver(w->DBEdit5, QStringLiteral("1"));
    {
        // Closed through its close box: the line stays pending.
        MessageLog watch({QStringLiteral("close")});
        test::click(w->SpeedButton6);
        QCOMPARE(watch.texts(), QStringList{duplicate});
        QCOMPARE(w->Barang->State(), dsInsert);
    }
    {
        // Answered OK: the new line is discarded, nothing is written.
        MessageLog watch({QStringLiteral("OK")});
        test::click(w->SpeedButton6);
        QCOMPARE(watch.texts(), QStringList{duplicate});
        QCOMPARE(w->Barang->State(), dsBrowse);
        QCOMPARE(m_db.count(QStringLiteral("DataBarang")), lines);
    }
    // An existing line renumbered to another line's number stays open for
    // correction; the stored line is untouched until the save succeeds.
    QCOMPARE(w->BarangNoPesanan->AsReal(), 4.0);
    test::typeOver(w->DBEdit5, QStringLiteral("1"));
    {
        MessageLog watch({QStringLiteral("OK")});
        test::click(w->SpeedButton6);
        QCOMPARE(watch.texts(), QStringList{duplicate});
    }
    QCOMPARE(w->Barang->State(), dsEdit);
    QCOMPARE(w->DBEdit5->text(), QStringLiteral("1"));
    QCOMPARE(test::storedLine(m_db, QStringLiteral("Kode Pelanggan"), 4).toString(), QStringLiteral("P002"));
    test::typeOver(w->DBEdit5, QStringLiteral("7"));
    {
        MessageLog watch;
        test::click(w->SpeedButton6);
        QVERIFY(watch.boxes().isEmpty());
    }
    QCOMPARE(test::storedLine(m_db, QStringLiteral("Kode Pelanggan"), 7).toString(), QStringLiteral("P002"));
    QVERIFY(test::storedLine(m_db, QStringLiteral("Kode Pelanggan"), 4).isNull());
    QCOMPARE(m_db.count(QStringLiteral("DataBarang")), lines);
}

void TestBarang::deleteAsksFirstAndReportsAnEmptyView()
{
    test::typeFromStart(w->Edit1, QStringLiteral("04"));
    QCOMPARE(w->BarangNoPesanan->AsReal(), 5.0);
    {
        MessageLog watch({QStringLiteral("No")});
        test::click(w->SpeedButton5);
        QCOMPARE(watch.texts(), QStringList{QStringLiteral("Mau dihapus ? ")});
        QCOMPARE(watch.boxes().first().caption, QStringLiteral("Confirm"));
        QCOMPARE(test::storedLine(m_db, QStringLiteral("Kode Pelanggan"), 5).toString(), QStringLiteral("P004"));
    }
    {
        MessageLog watch({QStringLiteral("Yes")});
        test::click(w->SpeedButton5);
        QCOMPARE(watch.texts().size(), 1);
        QVERIFY(test::storedLine(m_db, QStringLiteral("Kode Pelanggan"), 5).isNull());
        QVERIFY(w->Barang->IsEmpty());
    }
    {
        MessageLog watch({QStringLiteral("Yes")});
        test::click(w->SpeedButton5);
        QCOMPARE(watch.texts(), QStringList({QStringLiteral("Mau dihapus ? "), QStringLiteral("Data sudah dihapus")}));
    }
}

// The invisible box is in the tab order: typing there must not change the
// customer's code, and Enter there runs the search box's check.
void TestBarang::hiddenCustomerCodeBoxOnlyChecks()
{
    test::typeFromStart(w->Edit1, QStringLiteral("01"));
    w->DBEdit5->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(w->DBEdit5, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w->DBEdit7);
    QTest::keyClicks(w->DBEdit7, QStringLiteral("P9"));
    QCOMPARE(FormPelanggan->Pelanggan->State(), dsBrowse);
    QCOMPARE(w->DBEdit7->Text(), QStringLiteral("P001"));
    QCOMPARE(m_db.exec(QStringLiteral("SELECT count(*) FROM DataPelanggan WHERE \"Kode Pelanggan\" = 'P001'"))
                 .value(0).toInt(), 1);
    {
        MessageLog watch;
        QTest::keyClick(w->DBEdit7, Qt::Key_Return);
        QVERIFY(watch.boxes().isEmpty());
    }
    test::typeFromStart(w->Edit1, QStringLiteral("09"));
    w->DBEdit7->setFocus(Qt::MouseFocusReason);
    MessageLog watch;
    QTest::keyClick(w->DBEdit7, Qt::Key_Return);
    QCOMPARE(watch.texts(), QStringList{QStringLiteral("Kode Pelanggan tidak ada dalam file!")});
}

void TestBarang::totalCoversEveryLineOfEveryCustomer()
{
    test::typeFromStart(w->Edit1, QStringLiteral("02"));
    const double expected =
        m_db.exec(QStringLiteral("SELECT sum(\"Harga Satuan\" * \"Banyak Barang\") FROM DataBarang")).value(0).toDouble();
    QVERIFY(expected > w->BarangJumlahHarga->AsReal());
    // The button lies under the grid: the keyboard reaches it.
    w->Edit1->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(w->Edit1, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w->Button2);
    QTest::keyClick(w->Button2, Qt::Key_Space);
    QCOMPARE(w->Edit2->text(), NumberToText(expected));
    QVERIFY(FormPenjualan->Penjualan->Eof());

    m_db.exec(QStringLiteral("DELETE FROM DataBarang"));
    QTest::keyClick(w->Button2, Qt::Key_Space);
    QCOMPARE(w->Edit2->text(), QStringLiteral("0"));
}

void TestBarang::closeHidesAndTheMenuShowsAgain()
{
    test::typeFromStart(w->Edit1, QStringLiteral("03"));
    test::click(w->SpeedButton4);
    QVERIFY(!w->isVisible());
    FormUtama->Penjualan1->trigger();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QCOMPARE(w->Edit1->Text(), QStringLiteral("P003"));
    QTRY_COMPARE(QApplication::focusWidget(), w->Edit1);
}

QTEST_MAIN(TestBarang)
#include "tst_Barang.moc"

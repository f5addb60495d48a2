#include "EntryWindows.h"
#include "MessageLog.h"
#include "app/UUtama.h"
#include "data/controls/TDBEdit.h"
#include "data/controls/TDBGrid.h"
#include "forms/UPenjualan.h"
#include "widgets/Beep.h"
#include "widgets/TSpeedButton.h"

#include <QtTest>

using test::MessageLog;

class TestPenjualan : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void windowAndTabOrder();
    void searchBoxFindsTheFirstLineOfACustomer();
    void editAndResetSavesWhatWasTypedThenLocatesAgain();
    void saveFailuresAreNeverReportedAsSaved();
    void deleteAsksFirstAndReportsAnEmptyView();
    void closeHidesAndTheMenuShowsAgain();

private:
    test::EntryWindows m_windows;
    const TestDatabase& m_db = m_windows.db;
    TFormPenjualan* w = nullptr;
};

void TestPenjualan::initTestCase()
{
    m_windows.reset({QStringLiteral("P001"), QStringLiteral("P002")}, {{1, QStringLiteral("P002"), 18000, 1},
                                                                       {2, QStringLiteral("P001"), 19000, 2},
                                                                       {3, QStringLiteral("P001")}});
    w = FormPenjualan;
    FormUtama->DataBarang1->trigger();
    QVERIFY(QTest::qWaitForWindowActive(w));
}

void TestPenjualan::windowAndTabOrder()
{
    QCOMPARE(w->windowTitle(), QStringLiteral("Penjualan") + QString(112, QLatin1Char(' ')) + QLatin1Char('.'));
    QCOMPARE(w->clientSize(), QSize(600, 338));
    QCOMPARE(w->Edit1->Text(), QStringLiteral("P0  "));
    QVERIFY(!w->DBEdit3->isVisible());
    QCOMPARE(w->DBGrid1->ColumnCount(), 10);
    QCOMPARE(w->DBGrid1->Column(9)->FieldName, QStringLiteral("Jumlah Harga"));
    QCOMPARE(w->DBGrid1->Column(9)->Title.Alignment, Qt::AlignLeft);

    w->DBEdit1->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(w->DBEdit1, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w->DBEdit2);
    QTest::keyClick(w->DBEdit2, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w->DBGrid1);
    w->Edit1->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(w->Edit1, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), w->DBGrid1);
}

void TestPenjualan::searchBoxFindsTheFirstLineOfACustomer()
{
    MessageLog watch;
    test::typeFromStart(w->Edit1, QStringLiteral("02"));
    QCOMPARE(w->PenjualanNoPesanan->AsReal(), 1.0);
    // "P00" begins both codes: the first in code order is P001's first line.
    test::typeFromStart(w->Edit1, QStringLiteral("0"));
    QCOMPARE(w->Edit1->Text(), QStringLiteral("P002"));
    test::typeFromStart(w->Edit1, QStringLiteral("01"));
    QCOMPARE(w->Edit1->Text(), QStringLiteral("P001"));
    QCOMPARE(w->PenjualanNoPesanan->AsReal(), 2.0);
    QCOMPARE(w->DBGrid1->CellText(w->DBGrid1->Row(), 2), QStringLiteral("2"));
    QTest::keyClick(w->Edit1, Qt::Key_Return);
    QVERIFY(watch.boxes().isEmpty());

    const int beeps = beepCount();
    w->Edit1->setCursorPosition(0);
    QTest::keyClick(w->Edit1, Qt::Key_P);
    QCOMPARE(beepCount(), beeps + 1);
    QCOMPARE(w->Edit1->Text(), QStringLiteral("P001"));

    // A code no line has moves nothing; Enter says so.
    test::typeFromStart(w->Edit1, QStringLiteral("09"));
    QCOMPARE(w->PenjualanNoPesanan->AsReal(), 2.0);
    QTest::keyClick(w->Edit1, Qt::Key_Return);
    QCOMPARE(watch.texts(), QStringList{QStringLiteral("Kode Pelanggan tidak ada dalam file!")});
    QCOMPARE(watch.boxes().first().caption, QStringLiteral("information"));
}

void TestPenjualan::editAndResetSavesWhatWasTypedThenLocatesAgain()
{
    MessageLog watch;
    test::typeFromStart(w->Edit1, QStringLiteral("02"));
    QCOMPARE(w->PenjualanNoPesanan->AsReal(), 1.0);
    test::typeOver(w->DBEdit1, QStringLiteral("F0012"));
    test::typeOver(w->DBEdit2, QStringLiteral("02152026"));
    QCOMPARE(w->DBEdit2->text(), QStringLiteral("02/15/2026"));
    QCOMPARE(w->Penjualan->State(), dsEdit);
    // The reset's locate posts the typed values, then finds the first "P0" line.
    test::click(w->SpeedButton4);
    QCOMPARE(test::storedLine(m_db, QStringLiteral("No Faktur"), 1).toString(), QStringLiteral("F0012"));
    QVERIFY(!test::storedLine(m_db, QStringLiteral("Tanggal"), 1).isNull());
    QCOMPARE(w->Edit1->Text(), QStringLiteral("P0  "));
    QCOMPARE(QApplication::focusWidget(), w->Edit1);
    QCOMPARE(w->Penjualan->State(), dsBrowse);
    QCOMPARE(w->PenjualanNoPesanan->AsReal(), 2.0);
    // Pressed again the box doesn't change: the view stays editing its line.
    test::click(w->SpeedButton4);
    QCOMPARE(w->Penjualan->State(), dsEdit);
    QCOMPARE(w->PenjualanNoPesanan->AsReal(), 2.0);
    w->Penjualan->Cancel();

    // The date reads back as typed, from the table.
    test::typeFromStart(w->Edit1, QStringLiteral("02"));
    QCOMPARE(w->PenjualanTanggal->AsDate(), QDate(2026, 2, 15));
    QVERIFY(watch.boxes().isEmpty());
}

void TestPenjualan::saveFailuresAreNeverReportedAsSaved()
{
    {
        MessageLog watch;
        test::click(w->SpeedButton1);
        QCOMPARE(watch.texts(), QStringList{QStringLiteral("data sudah disimpan")});
    }
    // An order number changed in the grid to one that exists: the engine's
    // error is shown as it is, the view keeps editing with the typed values.
    test::typeFromStart(w->Edit1, QStringLiteral("01"));
    w->DBGrid1->setFocus(Qt::MouseFocusReason);
    w->DBGrid1->SetSelectedIndex(2);
    QTest::keyClick(w->DBGrid1, Qt::Key_F2);
    QVERIFY(w->DBGrid1->EditorVisible());
    QTest::keyClick(w->DBGrid1->Editor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(w->DBGrid1->Editor(), QStringLiteral("3"));
    MessageLog watch;
    test::click(w->SpeedButton1);
    QCOMPARE(watch.texts().size(), 1);
    QVERIFY2(watch.texts().first() != QStringLiteral("data sudah disimpan"), qPrintable(watch.texts().first()));
    QCOMPARE(w->Penjualan->State(), dsEdit);
    QCOMPARE(w->PenjualanNoPesanan->AsReal(), 3.0);
    QCOMPARE(test::storedLine(m_db, QStringLiteral("Kode Pelanggan"), 2).toString(), QStringLiteral("P001"));
    QCOMPARE(m_db.count(QStringLiteral("DataBarang")), 3);
    QTest::keyClick(w->DBGrid1, Qt::Key_Escape);
    QTest::keyClick(w->DBGrid1, Qt::Key_Escape);
    QCOMPARE(w->Penjualan->State(), dsBrowse);
}

void TestPenjualan::deleteAsksFirstAndReportsAnEmptyView()
{
    test::typeFromStart(w->Edit1, QStringLiteral("02"));
    QCOMPARE(w->PenjualanNoPesanan->AsReal(), 1.0);
    {
        MessageLog watch({QStringLiteral("No")});
        test::click(w->SpeedButton2);
        QCOMPARE(watch.texts(), QStringList{QStringLiteral("Mau dihapus ? ")});
        QCOMPARE(m_db.count(QStringLiteral("DataBarang")), 3);
    }
    {
        MessageLog watch({QStringLiteral("Yes")});
        test::click(w->SpeedButton2);
        QCOMPARE(watch.texts().size(), 1);
        QVERIFY(test::storedLine(m_db, QStringLiteral("Kode Pelanggan"), 1).isNull());
        QCOMPARE(m_db.count(QStringLiteral("DataBarang")), 2);
    }
    m_db.exec(QStringLiteral("DELETE FROM DataBarang"));
    w->Penjualan->Refresh();
    QVERIFY(w->Penjualan->IsEmpty());
    MessageLog watch({QStringLiteral("Yes")});
    test::click(w->SpeedButton2);
    QCOMPARE(watch.texts(), QStringList({QStringLiteral("Mau dihapus ? "), QStringLiteral("Data sudah dihapus")}));
}

void TestPenjualan::closeHidesAndTheMenuShowsAgain()
{
    test::typeFromStart(w->Edit1, QStringLiteral("01"));
    test::click(w->SpeedButton3);
    QVERIFY(!w->isVisible());
    FormUtama->DataBarang1->trigger();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QCOMPARE(w->Edit1->Text(), QStringLiteral("P001"));
}

QTEST_MAIN(TestPenjualan)
#include "tst_Penjualan.moc"

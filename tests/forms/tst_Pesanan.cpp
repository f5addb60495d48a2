#include "EntryWindows.h"
#include "MessageLog.h"

#include "app/UUtama.h"
#include "data/controls/TDBComboBox.h"
#include "data/controls/TDBEdit.h"
#include "widgets/MessageBoxes.h"
#include "widgets/TLabel.h"
#include "widgets/TPanel.h"
#include "widgets/TSpeedButton.h"

#include <QAbstractItemView>
#include <QGroupBox>
#include <QLineEdit>
#include <QtTest>

// The order entry window over a real database file: every control writes
// through the goods window's view, which holds the lines of the customer
// current in the customer view.
class TestPesanan : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();

    void layoutAndBindings();
    void activationEmptiesTheControlsAndFocusesTheOrderNumber();
    void addTypeChooseAndSave();
    void productNameFollowsOnlyAnExactGoodsCode();
    void saveWithNoPendingLine();
    void saveWithoutAnOrderNumberReportsTheError();
    void duplicateOrderNumber_data();
    void duplicateOrderNumber();
    void deleteAnsweredNoOrYes();
    void deleteOnAnEmptyGoodsView();
    void closeSettlesThePendingLine();
    void closeWithADuplicateShowsOnlyThePostErrorMessage();
    void closeWithoutAnOrderNumberReportsTheError();
    void lineOfAnotherCustomerIsStoredButNotShown();

private:
    TFormPesanan* form() const { return FormPesanan; }
    TTable* barang() const { return FormBarang->Barang; }
    QVariantList orderNumbers() const { return m_windows.column(QStringLiteral("DataBarang"), QStringLiteral("No Pesanan")); }
    QVariant line(double number) const
    {
        return m_windows.db
            .exec(QStringLiteral("SELECT \"Kode Pelanggan\" || '|' || coalesce(\"Kode Barang\", '') || '|' || "
                                 "coalesce(\"Nama Barang\", '') || '|' || coalesce(\"Jenis Barang\", '-') || '|' || "
                                 "coalesce(\"Harga Satuan\", '-') || '|' || coalesce(\"Banyak Barang\", '-') || '|' || "
                                 "coalesce(\"Tanggal\", '-') FROM DataBarang WHERE \"No Pesanan\" = ?"),
                  QVariantList{number})
            .value(0);
    }

    test::EntryWindows m_windows;
};

// The goods window's post-error handler, until that window brings its own:
// the confirmation box with OK alone; OK discards a new line.
void TestPesanan::initTestCase()
{
    if (!barang()->OnPostError)
        barang()->OnPostError = [](TDataSet* d, EDatabaseError& e, TDataAction& a) {
            DataModel::BarangPostError(d, e, a, [](const QString& text) { return MessageDlg(text, mbOK) == mrOk; });
        };
}

void TestPesanan::init()
{
    m_windows.reset({QStringLiteral("P001"), QStringLiteral("P003"), QStringLiteral("P005")},
                    {{1, QStringLiteral("P001")}, {2, QStringLiteral("P003")}, {3, QStringLiteral("P003")}});
    QVERIFY(FormPelanggan->Pelanggan->FindByKey({QStringLiteral("Kode Pelanggan")}, QStringLiteral("P003")));
    QVERIFY(test::EntryWindows::show(form()));
}


void TestPesanan::layoutAndBindings()
{
    TFormPesanan* f = form();
    QCOMPARE(f->windowTitle(), QStringLiteral("Pesanan") + QString(58, QLatin1Char(' ')) + QLatin1Char('.'));
    QCOMPARE(f->clientSize(), QSize(281, 228));
    QCOMPARE(f->Panel2->geometry(), QRect(0, 0, 281, 41));  // over the full width
    QCOMPARE(f->DBEdit1->MaxLength(), 3);
    QCOMPARE(f->DBEdit2->MaxLength(), 4);
    QStringList items;
    for (int i = 0; i < f->KodeBarang->count(); ++i)
        items << f->KodeBarang->itemText(i);
    QCOMPARE(items, QStringList({"BRG01", "BRG02", "BRG03", "BRG04", "BRG05"}));
    for (TDBEdit* edit : {f->DBEdit1, f->DBEdit2, f->DBEdit3})
        QCOMPARE(edit->DataSource(), FormBarang->dsBarang);
    QCOMPARE(f->KodeBarang->Field(), FormBarang->BarangKodeBarang);

    f->DBEdit1->setFocus(Qt::TabFocusReason);
    QStringList order;
    for (int i = 0; i < 4; ++i) {
        QWidget* w = QApplication::focusWidget();
        const bool inCombo = w == f->KodeBarang || w == f->KodeBarang->lineEdit();
        order << (inCombo ? f->KodeBarang->objectName() : w->objectName());
        QTest::keyClick(w, Qt::Key_Tab);
    }
    QCOMPARE(order, QStringList({"DBEdit1", "DBEdit2", "KodeBarang", "DBEdit3"}));
}

void TestPesanan::activationEmptiesTheControlsAndFocusesTheOrderNumber()
{
    barang()->Last();  // line 3
    QVERIFY(test::EntryWindows::show(FormUtama));
    QVERIFY(test::EntryWindows::show(form()));
    for (QWidget* control : QList<QWidget*>{form()->DBEdit1, form()->DBEdit2, form()->DBEdit3, form()->KodeBarang})
        QCOMPARE(test::shown(control), QString());
    QCOMPARE(QApplication::focusWidget(), form()->DBEdit1);
    QCOMPARE(barang()->State(), dsBrowse);
    QCOMPARE(FormBarang->BarangNoPesanan->AsReal(), 3.0);
}

// Add starts the line with the current customer's code; choosing BRG03
// fills the product name; save stores the line with no packaging type,
// price, quantity or date, and its amount is 0.
void TestPesanan::addTypeChooseAndSave()
{
    test::MessageLog log;
    test::click(form()->SpeedButton1);
    QCOMPARE(barang()->State(), dsInsert);
    QCOMPARE(QApplication::focusWidget(), form()->DBEdit1);
    QCOMPARE(test::shown(form()->DBEdit2), QStringLiteral("P003"));
    QTest::keyClicks(form()->DBEdit1, QStringLiteral("1234"));
    QCOMPARE(test::shown(form()->DBEdit1), QStringLiteral("123"));
    test::typeOver(form()->DBEdit2, QStringLiteral("P003"));
    test::choose(form()->KodeBarang, QStringLiteral("BRG03"));
    QCOMPARE(test::shown(form()->DBEdit3), QStringLiteral("Doz Ezovidu Genggam"));
    test::click(form()->SpeedButton3);
    QCOMPARE(log.texts(), QStringList());
    QCOMPARE(barang()->State(), dsBrowse);
    QCOMPARE(line(123), QVariant(QStringLiteral("P003|BRG03|Doz Ezovidu Genggam|-|-|-|-")));
    QCOMPARE(FormBarang->BarangNoPesanan->AsReal(), 123.0);
    QCOMPARE(FormBarang->BarangJumlahHarga->AsReal(), 0.0);
    QCOMPARE(barang()->RecordCount(), 3);
}

// Exact, case-sensitive codes only; a name can also be typed; choosing a
// code on a stored line puts the view into edit state first.
void TestPesanan::productNameFollowsOnlyAnExactGoodsCode()
{
    test::click(form()->SpeedButton1);
    QTest::keyClicks(form()->DBEdit1, QStringLiteral("40"));
    test::typeOver(form()->KodeBarang, QStringLiteral("BRG05"));
    QCOMPARE(test::shown(form()->DBEdit3), QStringLiteral("Doz Ezovidu Botol"));
    test::typeOver(form()->KodeBarang, QStringLiteral("brg01"));
    QCOMPARE(test::shown(form()->DBEdit3), QStringLiteral("Doz Ezovidu Botol"));
    test::typeOver(form()->DBEdit3, QStringLiteral("Racikan Sendiri"));
    test::click(form()->SpeedButton3);
    QCOMPARE(line(40), QVariant(QStringLiteral("P003|brg01|Racikan Sendiri|-|-|-|-")));

    // A failing write of the name is swallowed: nothing shown, name kept.
    {
        test::MessageLog log;
        form()->KodeBarang->setEditText(QStringLiteral("BRG04"));
        form()->KodeBarangChange();  // the view is browsing: the write fails
        QCOMPARE(log.texts(), QStringList());
        QCOMPARE(FormBarang->BarangNamaBarang->AsString(), QStringLiteral("Racikan Sendiri"));
    }

    barang()->First();  // line 2, stored
    test::choose(form()->KodeBarang, QStringLiteral("BRG02"));
    QCOMPARE(barang()->State(), dsEdit);
    QCOMPARE(FormBarang->BarangNamaBarang->AsString(), QStringLiteral("Veri Ruvarur Kotak"));
    test::click(form()->SpeedButton3);
    QCOMPARE(line(2), QVariant(QStringLiteral("P003|BRG02|Veri Ruvarur Kotak|-|-|-|-")));
}

void TestPesanan::saveWithNoPendingLine()
{
    test::MessageLog log;
    test::click(form()->SpeedButton3);
    QCOMPARE(log.texts(), QStringList{QStringLiteral("Data sudah disimpan")});
    QCOMPARE(orderNumbers().size(), 3);
}

// The table takes no line without an order number: the refusal reaches the
// error report with its own message, never "saved", and the line stays.
void TestPesanan::saveWithoutAnOrderNumberReportsTheError()
{
    test::MessageLog log;
    test::click(form()->SpeedButton1);
    test::choose(form()->KodeBarang, QStringLiteral("BRG01"));
    test::click(form()->SpeedButton3);
    QCOMPARE(log.texts().size(), 1);
    QVERIFY2(log.texts().first().startsWith(QStringLiteral("Field value required.")), qPrintable(log.texts().first()));
    QCOMPARE(barang()->State(), dsInsert);
    QCOMPARE(orderNumbers().size(), 3);
    barang()->Cancel();
}

void TestPesanan::duplicateOrderNumber_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("discarded");
    QTest::newRow("OK discards the line") << "OK" << true;
    QTest::newRow("the close box keeps it") << "close" << false;
}

// The goods view's question explains the refused save, so nothing more is
// said; the focus is back on the order number. A kept line is shown empty (the
// activation emptied the controls); a discarded one leaves the view on the
// customer's line 2, which the controls show.
void TestPesanan::duplicateOrderNumber()
{
    QFETCH(QString, answer);
    QFETCH(bool, discarded);
    test::MessageLog log({answer});
    test::click(form()->SpeedButton1);
    QTest::keyClicks(form()->DBEdit1, QStringLiteral("1"));
    test::choose(form()->KodeBarang, QStringLiteral("BRG01"));
    test::click(form()->SpeedButton3);
    QCOMPARE(log.texts(), QStringList{QStringLiteral("No Pesanan ada yang sama")});
    QCOMPARE(barang()->State(), discarded ? dsBrowse : dsInsert);
    QCOMPARE(line(1), QVariant(QStringLiteral("P001|||-|-|-|-")));
    QTRY_COMPARE(QApplication::focusWidget(), form()->DBEdit1);
    QCOMPARE(test::shown(form()->DBEdit1), discarded ? QStringLiteral("2") : QString());
    QCOMPARE(test::shown(form()->KodeBarang), QString());
    if (!discarded)
        QCOMPARE(FormBarang->BarangKodeBarang->AsString(), QStringLiteral("BRG01"));
}

void TestPesanan::deleteAnsweredNoOrYes()
{
    barang()->Last();  // line 3, of P003
    {
        test::MessageLog log({QStringLiteral("No")});
        test::click(form()->SpeedButton2);
        QCOMPARE(log.texts(), QStringList{QStringLiteral("Mau dihapus ? ")});
        QCOMPARE(orderNumbers().size(), 3);
    }
    // Yes while a new line is pending: only the new line goes.
    {
        test::MessageLog log({QStringLiteral("Yes")});
        test::click(form()->SpeedButton1);
        QTest::keyClicks(form()->DBEdit1, QStringLiteral("9"));
        test::click(form()->SpeedButton2);
        QCOMPARE(barang()->State(), dsBrowse);
        QCOMPARE(orderNumbers(), QVariantList({1.0, 2.0, 3.0}));
    }
    // Yes with no pending line: the goods view's current line goes.
    test::MessageLog log({QStringLiteral("Yes")});
    test::click(form()->SpeedButton2);
    QCOMPARE(log.texts(), QStringList{QStringLiteral("Mau dihapus ? ")});
    QCOMPARE(orderNumbers().size(), 2);
    QVERIFY(orderNumbers().contains(1.0));
}

void TestPesanan::deleteOnAnEmptyGoodsView()
{
    QVERIFY(FormPelanggan->Pelanggan->FindByKey({QStringLiteral("Kode Pelanggan")}, QStringLiteral("P005")));
    test::MessageLog log({QStringLiteral("Yes")});
    test::click(form()->SpeedButton2);
    QCOMPARE(log.texts(), QStringList({"Mau dihapus ? ", "Data sudah dihapus"}));
    QCOMPARE(orderNumbers().size(), 3);
}

// Close right after add discards the untouched line; with an order number
// typed, the line is posted.
void TestPesanan::closeSettlesThePendingLine()
{
    test::MessageLog log;
    test::click(form()->SpeedButton1);
    test::click(form()->SpeedButton4);
    QVERIFY(!form()->isVisible());
    QCOMPARE(barang()->State(), dsBrowse);
    QCOMPARE(orderNumbers().size(), 3);

    QVERIFY(test::EntryWindows::show(form()));
    test::click(form()->SpeedButton1);
    QTest::keyClicks(form()->DBEdit1, QStringLiteral("77"));
    test::click(form()->SpeedButton4);
    QVERIFY(!form()->isVisible());
    QCOMPARE(barang()->State(), dsBrowse);
    QCOMPARE(barang()->IndexName(), QStringLiteral("Kode Pelanggan"));
    QCOMPARE(line(77), QVariant(QStringLiteral("P003|||-|-|-|-")));
    QCOMPARE(log.texts(), QStringList());
}

void TestPesanan::closeWithADuplicateShowsOnlyThePostErrorMessage()
{
    test::MessageLog log;
    test::click(form()->SpeedButton1);
    QTest::keyClicks(form()->DBEdit1, QStringLiteral("2"));
    test::click(form()->SpeedButton4);
    QVERIFY(!form()->isVisible());
    QCOMPARE(log.texts(), QStringList{QStringLiteral("No Pesanan ada yang sama")});
    QCOMPARE(barang()->State(), dsBrowse);
    QCOMPARE(orderNumbers(), QVariantList({1.0, 2.0, 3.0}));
}

// Any other refusal of the pending line reaches the error report; the line
// stays pending, nothing typed is lost.
void TestPesanan::closeWithoutAnOrderNumberReportsTheError()
{
    test::MessageLog log;
    test::click(form()->SpeedButton1);
    test::choose(form()->KodeBarang, QStringLiteral("BRG01"));
    test::click(form()->SpeedButton4);
    QVERIFY(!form()->isVisible());
    QCOMPARE(log.texts().size(), 1);
    QVERIFY2(log.texts().first().startsWith(QStringLiteral("Field value required.")), qPrintable(log.texts().first()));
    QCOMPARE(barang()->State(), dsInsert);
    QCOMPARE(FormBarang->BarangKodeBarang->AsString(), QStringLiteral("BRG01"));
    QCOMPARE(orderNumbers().size(), 3);
    barang()->Cancel();
}

// The goods view holds only the current customer's lines: a line saved for
// another customer is stored but not shown there.
void TestPesanan::lineOfAnotherCustomerIsStoredButNotShown()
{
    test::click(form()->SpeedButton1);
    QTest::keyClicks(form()->DBEdit1, QStringLiteral("50"));
    test::typeOver(form()->DBEdit2, QStringLiteral("P001"));
    test::click(form()->SpeedButton3);
    QCOMPARE(line(50), QVariant(QStringLiteral("P001|||-|-|-|-")));
    barang()->Refresh();
    QCOMPARE(barang()->RecordCount(), 2);
    QCOMPARE(FormPelanggan->PelangganKodePelanggan->AsString(), QStringLiteral("P003"));
}

QTEST_MAIN(TestPesanan)
#include "tst_Pesanan.moc"

#include "RealInput.h"
#include "TestDatabase.h"

#include "data/DataModel.h"
#include "data/LocaleSettings.h"
#include "data/controls/TDBEdit.h"
#include "errors/HandlerGuard.h"
#include "widgets/Beep.h"

#include <QVBoxLayout>
#include <QtTest>

#include <optional>

// Data-aware edits over the real customer and order-line views, driven by
// key and focus events in a shown, active window.
class TestTDBEdit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void editCycleStepByStep();
    void postWritesPendingText();
    void refusedInput();
    void programClearedTextComesBack();
    void failingWriteKeepsFocusAndState();
    void escapeDiscardsPendingText();
    void maskAndLengthRules();
    void dateOfATwoDigitYearFormatCanBeCorrected();
    void unknownFieldRaisesWhenTheViewOpens();

private:
    TDBEdit* addEdit(TDataSource* source, const QString& field, const QString& name);
    void show();
    void focus(QWidget* w, Qt::FocusReason reason = Qt::MouseFocusReason);

    std::optional<TestDatabase> m_db;
    std::optional<ScopedLocaleSettings> m_locale;
    QWidget* m_window = nullptr;
    DataModel::PelangganView m_pelanggan{};
    DataModel::PenjualanView m_penjualan{};
    QStringList m_errors;
    ErrorReporter m_previousReporter;
};

void TestTDBEdit::init()
{
    m_locale.emplace(LocaleSettings::fromLocale(QLocale::c()));
    m_db.emplace();
    m_db->addCustomer(QStringLiteral("P001"), QStringLiteral("TOKO ABADI"));
    m_db->addCustomer(QStringLiteral("P002"), QStringLiteral("TOKO BARU"));
    m_db->addLine(1, QStringLiteral("P001"), 1500.0, 2.0);
    m_window = new QWidget;
    new QVBoxLayout(m_window);
    m_pelanggan = DataModel::SetupPelanggan(m_window);
    m_penjualan = DataModel::SetupPenjualan(m_window);
    m_pelanggan.Pelanggan->Open();
    m_penjualan.Penjualan->Open();
    m_errors.clear();
    m_previousReporter = setErrorReporter([this](const Exception& e) { m_errors << e.message(); });
}

void TestTDBEdit::cleanup()
{
    setErrorReporter(m_previousReporter);
    delete m_window;
    m_db.reset();
    m_locale.reset();
}

TDBEdit* TestTDBEdit::addEdit(TDataSource* source, const QString& field, const QString& name)
{
    auto* edit = new TDBEdit(m_window);
    edit->setObjectName(name);
    edit->SetDataField(field);
    edit->SetDataSource(source);
    m_window->layout()->addWidget(edit);
    return edit;
}

// The C locale's short date has a two-digit year ("m/d/yy"); the edit text
// shows the year in full and two-digit day and month in that order, so the
// date fills "!99/99/0000" and a change of the day alone is read back.
void TestTDBEdit::dateOfATwoDigitYearFormatCanBeCorrected()
{
    m_db->exec(QStringLiteral("UPDATE DataBarang SET \"Tanggal\" = '2026-12-09'"));
    m_penjualan.Penjualan->Refresh();
    TDBEdit* other = addEdit(m_penjualan.dsPenjualan, QStringLiteral("No Faktur"), QStringLiteral("DBEdit1"));
    TDBEdit* date = addEdit(m_penjualan.dsPenjualan, QStringLiteral("Tanggal"), QStringLiteral("DBEdit2"));
    show();
    QVERIFY(other->hasFocus());
    QCOMPARE(date->text(), QStringLiteral("12/9/26")); // display text: the short format
    test::clickAt(date);
    QCOMPARE(date->text(), QStringLiteral("12/09/2026"));
    test::key(Qt::Key_Home);
    test::key(Qt::Key_Right);
    test::key(Qt::Key_Right); // past the month and its separator
    test::type(QStringLiteral("15"));
    QCOMPARE(date->text(), QStringLiteral("12/15/2026"));
    test::clickAt(other);
    QVERIFY(m_errors.isEmpty());
    QCOMPARE(m_penjualan.PenjualanTanggal->AsDate(), QDate(2026, 12, 15));
    QCOMPARE(date->text(), QStringLiteral("12/15/26"));
}

void TestTDBEdit::show()
{
    m_window->show();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void TestTDBEdit::focus(QWidget* w, Qt::FocusReason reason)
{
    w->setFocus(reason);
    QVERIFY(w->hasFocus());
}

void TestTDBEdit::editCycleStepByStep()
{
    TDBEdit* name = addEdit(m_pelanggan.dsPelanggan, QStringLiteral("Nama Pelanggan"), QStringLiteral("DBEdit2"));
    TDBEdit* address = addEdit(m_pelanggan.dsPelanggan, QStringLiteral("Alamat"), QStringLiteral("DBEdit3"));
    show();
    TTable* view = m_pelanggan.Pelanggan;
    QCOMPARE(name->text(), QStringLiteral("TOKO ABADI"));
    QVERIFY(name->isReadOnly());

    focus(name);
    QVERIFY(!name->Pending());
    QTest::keyClick(name, Qt::Key_End);
    QTest::keyClicks(name, QStringLiteral("X"));
    QCOMPARE(view->State(), dsEdit);
    QVERIFY(!name->isReadOnly());
    QCOMPARE(name->text(), QStringLiteral("TOKO ABADIX"));
    QVERIFY(name->Pending());
    QCOMPARE(m_pelanggan.PelangganNamaPelanggan->AsString(), QStringLiteral("TOKO ABADI"));

    QTest::keyClick(name, Qt::Key_Tab);
    QVERIFY(address->hasFocus());
    QCOMPARE(m_pelanggan.PelangganNamaPelanggan->AsString(), QStringLiteral("TOKO ABADIX"));
    QVERIFY(view->Modified());
    QVERIFY(!name->Pending());

    view->Post();
    QCOMPARE(view->State(), dsBrowse);
    QCOMPARE(m_db->exec(QStringLiteral("SELECT \"Nama Pelanggan\" FROM DataPelanggan WHERE \"Kode Pelanggan\"='P001'"))
                 .value(0).toString(),
             QStringLiteral("TOKO ABADIX"));
    // Moving the view reloads the unfocused edit.
    view->Next();
    QCOMPARE(name->text(), QStringLiteral("TOKO BARU"));
    QVERIFY(m_errors.isEmpty());
}

void TestTDBEdit::postWritesPendingText()
{
    TDBEdit* address = addEdit(m_pelanggan.dsPelanggan, QStringLiteral("Alamat"), QStringLiteral("DBEdit3"));
    show();
    focus(address);
    QTest::keyClicks(address, QStringLiteral("JL. MERDEKA"));
    QVERIFY(address->Pending());
    m_pelanggan.Pelanggan->Post(); // the focus never left the edit
    QCOMPARE(m_db->exec(QStringLiteral("SELECT Alamat FROM DataPelanggan WHERE \"Kode Pelanggan\"='P001'"))
                 .value(0).toString(),
             QStringLiteral("JL. MERDEKA"));
    QVERIFY(!address->Pending());
}

void TestTDBEdit::refusedInput()
{
    TDBEdit* amount = addEdit(m_penjualan.dsPenjualan, QStringLiteral("Jumlah Harga"), QStringLiteral("DBEdit9"));
    TDBEdit* price = addEdit(m_penjualan.dsPenjualan, QStringLiteral("Harga Satuan"), QStringLiteral("DBEdit6"));
    show();
    TTable* view = m_penjualan.Penjualan;
    const QString shownAmount = amount->text();

    focus(amount);
    QTest::keyClicks(amount, QStringLiteral("12"));
    QCOMPARE(amount->text(), shownAmount);
    QCOMPARE(view->State(), dsBrowse);
    QVERIFY(!amount->Pending());

    focus(price);
    const int beeps = beepCount();
    QTest::keyClick(price, Qt::Key_End);
    QTest::keyClicks(price, QStringLiteral("x"));
    QCOMPARE(beepCount(), beeps + 1);
    QCOMPARE(price->text(), QStringLiteral("1500"));
    QCOMPARE(view->State(), dsBrowse);
    QTest::keyClick(price, Qt::Key_5);
    QCOMPARE(view->State(), dsEdit);
    QCOMPARE(price->text(), QStringLiteral("15005"));
    view->Cancel();
}

void TestTDBEdit::programClearedTextComesBack()
{
    TDBEdit* name = addEdit(m_pelanggan.dsPelanggan, QStringLiteral("Nama Pelanggan"), QStringLiteral("DBEdit2"));
    TDBEdit* address = addEdit(m_pelanggan.dsPelanggan, QStringLiteral("Alamat"), QStringLiteral("DBEdit3"));
    show();
    focus(address);

    name->SetText(QString());
    QVERIFY(name->Pending());
    focus(name);
    QCOMPARE(name->text(), QStringLiteral("TOKO ABADI"));
    QVERIFY(!name->Pending());

    focus(address);
    name->SetText(QString());
    QTest::keyClick(address, Qt::Key_A); // the view enters edit state: every control reloads
    QCOMPARE(m_pelanggan.Pelanggan->State(), dsEdit);
    QCOMPARE(name->text(), QStringLiteral("TOKO ABADI"));
    QVERIFY(m_errors.isEmpty());
    m_pelanggan.Pelanggan->Cancel();
}

// A write that raises keeps the focus with all text selected, the view in
// its state, and reaches the error report.
void TestTDBEdit::failingWriteKeepsFocusAndState()
{
    TDBEdit* price = addEdit(m_penjualan.dsPenjualan, QStringLiteral("Harga Satuan"), QStringLiteral("DBEdit6"));
    TDBEdit* other = addEdit(m_penjualan.dsPenjualan, QStringLiteral("No Faktur"), QStringLiteral("DBEdit8"));
    show();
    TTable* view = m_penjualan.Penjualan;

    focus(price);
    view->Edit();
    price->SetText(QStringLiteral("12,5.3"));
    other->setFocus(Qt::TabFocusReason);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors.first().contains(QStringLiteral("is not a valid floating point value")), qPrintable(m_errors.first()));
    QVERIFY(price->hasFocus());
    QCOMPARE(price->selectedText(), QStringLiteral("12,5.3"));
    QCOMPARE(view->State(), dsEdit);
    QCOMPARE(m_penjualan.PenjualanHargaSatuan->AsReal(), 1500.0);
    view->Cancel();

    // Browse state: the pending text can't be written either.
    m_errors.clear();
    price->SetText(QStringLiteral("7"));
    other->setFocus(Qt::TabFocusReason);
    QCOMPARE(m_errors, QStringList{QStringLiteral("Penjualan: Dataset not in edit or insert mode")});
    QVERIFY(price->hasFocus());
    QCOMPARE(view->State(), dsBrowse);
}

void TestTDBEdit::escapeDiscardsPendingText()
{
    TDBEdit* name = addEdit(m_pelanggan.dsPelanggan, QStringLiteral("Nama Pelanggan"), QStringLiteral("DBEdit2"));
    show();
    focus(name);
    QTest::keyClick(name, Qt::Key_End);
    QTest::keyClicks(name, QStringLiteral("ZZ"));
    QTest::keyClick(name, Qt::Key_Escape);
    QCOMPARE(name->text(), QStringLiteral("TOKO ABADI"));
    QCOMPARE(name->selectedText(), QStringLiteral("TOKO ABADI"));
    QVERIFY(!name->Pending());
    m_pelanggan.Pelanggan->Post();
    QCOMPARE(m_pelanggan.PelangganNamaPelanggan->AsString(), QStringLiteral("TOKO ABADI"));
}

void TestTDBEdit::maskAndLengthRules()
{
    TDBEdit* name = addEdit(m_pelanggan.dsPelanggan, QStringLiteral("Nama Pelanggan"), QStringLiteral("DBEdit2"));
    auto* limited = new TDBEdit(m_window);
    limited->SetMaxLength(5);
    limited->SetDataField(QStringLiteral("Alamat"));
    limited->SetDataSource(m_pelanggan.dsPelanggan);
    TDBEdit* phone = addEdit(m_pelanggan.dsPelanggan, QStringLiteral("No Telepon"), QStringLiteral("DBEdit4"));
    show();
    QCOMPARE(name->MaxLength(), 20);
    QCOMPARE(limited->MaxLength(), 5);
    QCOMPARE(phone->EditMask(), m_pelanggan.PelangganNoTelepon->EditMask());
    QCOMPARE(phone->MaxLength(), 13);

    // Leaving after typing an incomplete number raises the masked-input error.
    focus(phone);
    QTest::keyClick(phone, Qt::Key_Home);
    QTest::keyClicks(phone, QStringLiteral("021"));
    name->setFocus(Qt::TabFocusReason);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY(m_errors.first().startsWith(QStringLiteral("Invalid input value")));
    QVERIFY(phone->hasFocus());
    m_pelanggan.Pelanggan->Cancel();
}

void TestTDBEdit::unknownFieldRaisesWhenTheViewOpens()
{
    m_pelanggan.Pelanggan->Close();
    TDBEdit* edit = addEdit(m_pelanggan.dsPelanggan, QStringLiteral("Nama"), QStringLiteral("DBEdit7"));
    try {
        m_pelanggan.Pelanggan->Open();
        QFAIL("no error");
    } catch (const EDatabaseError& e) {
        QCOMPARE(e.message(), QStringLiteral("DBEdit7: Field 'Nama' not found"));
    }
    QVERIFY(!edit->Field());
}

QTEST_MAIN(TestTDBEdit)
#include "tst_TDBEdit.moc"

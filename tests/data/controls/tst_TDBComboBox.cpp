#include "RealInput.h"
#include "TestDatabase.h"

#include "data/DataModel.h"
#include "data/LocaleSettings.h"
#include "data/controls/TDBComboBox.h"
#include "data/controls/TDBEdit.h"
#include "errors/HandlerGuard.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

#include <optional>

// The data-aware combo box over the real order-line view.
class TestTDBComboBox : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void choiceEditsBeforeTheChangeHandlerAndWritesOnLeaving();
    void typingEditsAndPostWritesTheText();
    void choiceRefusedWhenTheViewCantBeEdited();
    void shownTextFollowsTheRecord();

private:
    void choose(const QString& item) { test::choose(m_combo, item); }

    std::optional<TestDatabase> m_db;
    std::optional<ScopedLocaleSettings> m_locale;
    QWidget* m_window = nullptr;
    DataModel::PenjualanView m_view{};
    TDBComboBox* m_combo = nullptr;
    TDBEdit* m_other = nullptr;
    QStringList m_errors;
    ErrorReporter m_previousReporter;
};

void TestTDBComboBox::init()
{
    m_locale.emplace(LocaleSettings::fromLocale(QLocale::c()));
    m_db.emplace();
    m_db->addLine(1, QStringLiteral("P001"), 1500.0, 2.0);
    m_db->addLine(2, QStringLiteral("P001"), 900.0, 1.0);
    m_db->exec(QStringLiteral("UPDATE DataBarang SET \"Jenis Barang\"='KRAT' WHERE \"No Pesanan\"=2"));
    m_window = new QWidget;
    auto* layout = new QVBoxLayout(m_window);
    m_view = DataModel::SetupPenjualan(m_window);
    m_view.Penjualan->Open();
    m_combo = new TDBComboBox(m_window, QRect(), m_view.dsPenjualan, QStringLiteral("Jenis Barang"),
                              {QStringLiteral("BOTOL A"), QStringLiteral("BOTOL B"), QStringLiteral("KRAT")});
    m_other = new TDBEdit(m_window, QRect(), m_view.dsPenjualan, QStringLiteral("No Faktur"));
    layout->addWidget(m_combo);
    layout->addWidget(m_other);
    m_errors.clear();
    m_previousReporter = setErrorReporter([this](const Exception& e) { m_errors << e.message(); });
    m_window->show();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void TestTDBComboBox::cleanup()
{
    setErrorReporter(m_previousReporter);
    delete m_window;
    m_db.reset();
    m_locale.reset();
}

void TestTDBComboBox::choiceEditsBeforeTheChangeHandlerAndWritesOnLeaving()
{
    TDataSetState stateInHandler = dsInactive;
    QString textInHandler;
    m_combo->OnChange = [&] {
        stateInHandler = m_view.Penjualan->State();
        textInHandler = m_combo->Text();
        m_view.PenjualanHargaSatuan->SetAsReal(2000); // handlers write other fields
    };
    choose(QStringLiteral("BOTOL A"));
    QCOMPARE(stateInHandler, dsEdit);
    QCOMPARE(textInHandler, QStringLiteral("BOTOL A"));
    QVERIFY(m_combo->Pending());
    QCOMPARE(m_view.PenjualanJenisBarang->AsString(), QString());

    test::key(Qt::Key_Tab);
    QVERIFY(m_other->hasFocus());
    QCOMPARE(m_view.PenjualanJenisBarang->AsString(), QStringLiteral("BOTOL A"));
    m_view.Penjualan->Post();
    QCOMPARE(m_db->exec(QStringLiteral("SELECT \"Jenis Barang\", \"Harga Satuan\" FROM DataBarang WHERE "
                                       "\"No Pesanan\"=1")).value(0).toString(),
             QStringLiteral("BOTOL A"));
    QVERIFY(m_errors.isEmpty());
}

// Keys reach the combo box, which hands them to its edit part: typing there
// edits the view first, Escape brings the stored text back.
void TestTDBComboBox::typingEditsAndPostWritesTheText()
{
    m_view.Penjualan->Next(); // stored "KRAT"
    int changes = 0;
    m_combo->OnChange = [&] {
        QCOMPARE(m_view.Penjualan->State(), dsEdit);
        ++changes;
    };
    test::clickAt(m_combo->lineEdit());
    test::key(Qt::Key_A, Qt::ControlModifier);
    test::type(QStringLiteral("GAL"));
    QCOMPARE(changes, 3);
    QCOMPARE(m_combo->Text(), QStringLiteral("GAL"));
    test::key(Qt::Key_Escape);
    QCOMPARE(m_combo->Text(), QStringLiteral("KRAT"));
    QVERIFY(!m_combo->Pending());

    test::key(Qt::Key_A, Qt::ControlModifier);
    test::type(QStringLiteral("GALON"));
    QCOMPARE(changes, 8);
    m_view.Penjualan->Post(); // the focus never left
    QCOMPARE(m_view.PenjualanJenisBarang->AsString(), QStringLiteral("GALON"));
    QCOMPARE(m_view.Penjualan->State(), dsBrowse);
    QVERIFY(m_errors.isEmpty());
}

void TestTDBComboBox::choiceRefusedWhenTheViewCantBeEdited()
{
    m_view.Penjualan->ReadOnly = true;
    bool changed = false;
    m_combo->OnChange = [&] { changed = true; };
    choose(QStringLiteral("KRAT"));
    QVERIFY(!changed);
    QCOMPARE(m_combo->Text(), QString());
    QCOMPARE(m_view.Penjualan->State(), dsBrowse);
    QVERIFY(!m_combo->Pending());
}

void TestTDBComboBox::shownTextFollowsTheRecord()
{
    m_view.Penjualan->Next();
    QCOMPARE(m_combo->Text(), QStringLiteral("KRAT"));
    // Not reloaded while the list is open.
    test::clickAt(m_combo, QPoint(m_combo->width() - 6, m_combo->height() / 2));
    QTRY_VERIFY(m_combo->view()->isVisible());
    m_view.Penjualan->Prior();
    QCOMPARE(m_combo->Text(), QStringLiteral("KRAT"));
    test::key(Qt::Key_Escape);
    QTRY_VERIFY(!m_combo->view()->isVisible());
    m_view.Penjualan->Next();
    m_view.Penjualan->Prior();
    QCOMPARE(m_combo->Text(), QString());
}

QTEST_MAIN(TestTDBComboBox)
#include "tst_TDBComboBox.moc"

// Very long texts pasted or written into every kind of edit: the masked edit
// keeps to its mask or length, the data-aware edit and combo box store the
// text cut to the field's size, and a cut never leaves half of a character
// that needs two UTF-16 units.

#include "RealInput.h"
#include "TestDatabase.h"

#include "data/DataModel.h"
#include "data/LocaleSettings.h"
#include "data/controls/TDBComboBox.h"
#include "data/controls/TDBEdit.h"
#include "data/controls/TMaskEdit.h"
#include "errors/HandlerGuard.h"

#include <QApplication>
#include <QClipboard>
#include <QVBoxLayout>
#include <QtTest>

#include <optional>

namespace {

// 220,000 UTF-16 units of a run "Tôko 東京 🍺 " (11 units: the beer glass
// takes two); a cut at 20 units falls inside the second glass.
QString veryLongText()
{
    return QStringLiteral("Tôko 東京 🍺 ").repeated(20000);
}

// Selects all of the focused control's text and pastes over it.
void paste(const QString& text)
{
    QApplication::clipboard()->setText(text);
    test::key(Qt::Key_A, Qt::ControlModifier);
    test::key(Qt::Key_V, Qt::ControlModifier);
}

}

class TestLongTexts : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_locale.emplace(LocaleSettings::fromLocale(QLocale::c()));
        m_db.emplace();
        m_db->addCustomer(QStringLiteral("P001"), QStringLiteral("TOKO ABADI"));
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
    void cleanup()
    {
        setErrorReporter(m_previousReporter);
        delete m_window;
        m_db.reset();
        m_locale.reset();
    }

    void maskedEditKeepsToItsMaskOrLength()
    {
        auto* plain = add(new TMaskEdit(m_window));
        auto* limited = add(new TMaskEdit(m_window));
        limited->SetMaxLength(10);
        auto* masked = add(new TMaskEdit(m_window));
        masked->SetEditMask(QStringLiteral("!99/99/0000;1;_"));
        show();
        const QString text = veryLongText();

        // Without a mask or a length the edit holds up to the line edit's own
        // limit of 32767 units.
        plain->SetText(text);
        QVERIFY(plain->Text().size() >= 32766);
        QVERIFY(text.startsWith(plain->Text()));
        masked->SetText(text);
        QCOMPARE(masked->EditText().size(), masked->Mask().length());

        focus(plain);
        paste(QStringLiteral("!") + text);
        QVERIFY(plain->Text().size() >= 32766);
        QVERIFY((QStringLiteral("!") + text).startsWith(plain->Text()));
        focus(limited);
        paste(text);
        QCOMPARE(limited->Text(), text.left(10));
        focus(masked);
        paste(QStringLiteral("1231").repeated(50000));
        QCOMPARE(masked->EditText().size(), masked->Mask().length());
        QVERIFY(masked->Mask().firstInvalidPosition(masked->EditText()) < 0);
        QVERIFY(m_errors.isEmpty());
    }

    void dataAwareEditStoresTheTextCutToTheField()
    {
        auto* name = add(new TDBEdit(m_window));
        name->SetDataField(QStringLiteral("Nama Pelanggan"));
        name->SetDataSource(m_pelanggan.dsPelanggan);
        auto* other = add(new TDBEdit(m_window));
        other->SetDataField(QStringLiteral("Alamat"));
        other->SetDataSource(m_pelanggan.dsPelanggan);
        show();
        focus(name);
        paste(veryLongText());
        QVERIFY(name->text().size() <= 20);
        test::key(Qt::Key_Tab);
        m_pelanggan.Pelanggan->Post();
        // 20 units would end in half a glass: the cut drops it, then the blank.
        const QString expected = veryLongText().left(18);
        QCOMPARE(m_pelanggan.PelangganNamaPelanggan->AsString(), expected);
        QCOMPARE(m_db->exec(QStringLiteral("SELECT \"Nama Pelanggan\" FROM DataPelanggan")).value(0).toString(),
                 expected);
        QVERIFY(m_errors.isEmpty());
    }

    void dataAwareComboBoxStoresTheTextCutToTheField()
    {
        auto* combo = add(new TDBComboBox(m_window, QRect(), m_penjualan.dsPenjualan, QStringLiteral("Jenis Barang"),
                                          {QStringLiteral("BOTOL A"), QStringLiteral("KRAT")}));
        show();
        focus(combo);
        paste(veryLongText());
        m_penjualan.Penjualan->Post();
        const QString expected = veryLongText().left(18);
        QCOMPARE(m_penjualan.PenjualanJenisBarang->AsString(), expected);
        QCOMPARE(m_db->exec(QStringLiteral("SELECT \"Jenis Barang\" FROM DataBarang")).value(0).toString(), expected);
        QVERIFY(m_errors.isEmpty());
    }

private:
    template <class Widget> Widget* add(Widget* widget)
    {
        m_window->layout()->addWidget(widget);
        return widget;
    }
    void show()
    {
        m_window->show();
        QApplication::setActiveWindow(m_window);
        QVERIFY(QTest::qWaitForWindowActive(m_window));
    }
    // Clicks into a control (a combo box's edit part).
    void focus(QWidget* widget)
    {
        auto* combo = qobject_cast<QComboBox*>(widget);
        test::clickAt(combo ? combo->lineEdit() : widget);
        QVERIFY(widget->hasFocus());
    }

    std::optional<ScopedLocaleSettings> m_locale;
    std::optional<TestDatabase> m_db;
    QWidget* m_window = nullptr;
    DataModel::PelangganView m_pelanggan{};
    DataModel::PenjualanView m_penjualan{};
    QStringList m_errors;
    ErrorReporter m_previousReporter;
};

QTEST_MAIN(TestLongTexts)
#include "tst_LongTexts.moc"

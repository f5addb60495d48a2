#include "ModalAnswer.h"
#include "TestDatabase.h"

#include "data/DataModel.h"
#include "data/LocaleSettings.h"
#include "data/controls/TDBEdit.h"
#include "data/controls/TDBGrid.h"
#include "errors/HandlerGuard.h"
#include "widgets/Beep.h"

#include <QVBoxLayout>
#include <QtTest>

#include <optional>

// The grid over the real order-line view: columns, cells, the grid keys,
// the cell editor and leaving the grid.
class TestTDBGrid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void columnsCellsAndCurrentRow();
    void downAtTheEndAppendsAndUpCancels();
    void ctrlDeleteAsksFirst();
    void cellEditingEnterEscapeAndTab();
    void failingCellWriteKeepsEditorAndState();
    void leavingTheGrid();
    void pagingAndInsert();

private:
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = m_grid->EditorVisible() ? static_cast<QWidget*>(m_grid->Editor()) : m_grid;
        QTest::keyClick(target, k, modifiers);
    }
    qint64 lines() const { return m_db->count(QStringLiteral("DataBarang")); }

    std::optional<TestDatabase> m_db;
    std::optional<ScopedLocaleSettings> m_locale;
    QWidget* m_window = nullptr;
    DataModel::PenjualanView m_view{};
    TDBGrid* m_grid = nullptr;
    TDBEdit* m_other = nullptr;
    QStringList m_errors;
    ErrorReporter m_previousReporter;
};

void TestTDBGrid::init()
{
    m_locale.emplace(LocaleSettings::fromLocale(QLocale::c()));
    m_db.emplace();
    for (int i = 1; i <= 30; ++i)
        m_db->addLine(i, QStringLiteral("P%1").arg(i % 3, 3, 10, QLatin1Char('0')), 100.0 * i, 2.0);
    m_window = new QWidget;
    auto* layout = new QVBoxLayout(m_window);
    m_view = DataModel::SetupPenjualan(m_window);
    m_view.Penjualan->Open();
    m_grid = new TDBGrid(m_window, QRect(), m_view.dsPenjualan);
    m_grid->AddColumn(QStringLiteral("No Pesanan"), QStringLiteral("No"), Qt::AlignHCenter, QColor(Qt::yellow));
    m_grid->AddColumn(QStringLiteral("Kode Pelanggan"));
    m_grid->AddColumn(QStringLiteral("Harga Satuan"));
    m_grid->AddColumn(QStringLiteral("Jumlah Harga"));
    m_grid->AddColumn(QStringLiteral("Tidak Ada"));
    m_grid->setMinimumHeight(200);
    m_other = new TDBEdit(m_window, QRect(), m_view.dsPenjualan, QStringLiteral("No Faktur"));
    layout->addWidget(m_grid);
    layout->addWidget(m_other);
    m_errors.clear();
    m_previousReporter = setErrorReporter([this](const Exception& e) { m_errors << e.message(); });
    m_window->resize(500, 300);
    m_window->show();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    m_grid->setFocus(Qt::MouseFocusReason);
}

void TestTDBGrid::cleanup()
{
    setErrorReporter(m_previousReporter);
    delete m_window;
    m_db.reset();
    m_locale.reset();
}

void TestTDBGrid::columnsCellsAndCurrentRow()
{
    QCOMPARE(m_grid->CellText(0, 0), QStringLiteral("1"));
    QCOMPARE(m_grid->CellText(1, 2), QStringLiteral("200"));
    QCOMPARE(m_grid->CellText(2, 3), QStringLiteral("600"));  // calculated, display format
    QCOMPARE(m_grid->CellText(0, 4), QString());              // no such field: empty
    QVERIFY(!m_grid->Column(4)->Field());
    const int zero = m_grid->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    QCOMPARE(m_grid->Column(2)->Width(),
             std::max(10 * zero + 4, m_grid->fontMetrics().horizontalAdvance(QStringLiteral("Harga Satuan")) + 4));
    QCOMPARE(m_grid->Column(1)->Width(),
             std::max(4 * zero + 4, m_grid->fontMetrics().horizontalAdvance(QStringLiteral("Kode Pelanggan")) + 4));

    m_view.Penjualan->Next();
    m_view.Penjualan->Next();
    QCOMPARE(m_grid->Row(), 2);
    key(Qt::Key_Up);
    QCOMPARE(m_view.PenjualanNoPesanan->AsReal(), 2.0);
    QCOMPARE(m_grid->Row(), 1);
    key(Qt::Key_End);
    QCOMPARE(m_grid->SelectedIndex(), 4);
    key(Qt::Key_Home);
    key(Qt::Key_Right);
    QCOMPARE(m_grid->SelectedField(), m_view.PenjualanKodePelanggan);
    key(Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(m_view.PenjualanNoPesanan->AsReal(), 30.0);
    QCOMPARE(m_grid->Row(), m_grid->VisibleRowCount() - 1);
    QCOMPARE(m_grid->CellText(m_grid->Row(), 0), QStringLiteral("30"));
    key(Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(m_view.PenjualanNoPesanan->AsReal(), 1.0);
    QCOMPARE(m_grid->Row(), 0);
}

void TestTDBGrid::downAtTheEndAppendsAndUpCancels()
{
    key(Qt::Key_End, Qt::ControlModifier);
    key(Qt::Key_Down);
    QCOMPARE(m_view.Penjualan->State(), dsInsert);
    QCOMPARE(m_grid->CellText(m_grid->Row(), 0), QString());
    QCOMPARE(m_grid->CellText(m_grid->Row() - 1, 0), QStringLiteral("30"));
    key(Qt::Key_Down); // still the untouched new record
    QCOMPARE(m_view.Penjualan->State(), dsInsert);
    key(Qt::Key_Up);
    QCOMPARE(m_view.Penjualan->State(), dsBrowse);
    QCOMPARE(m_view.PenjualanNoPesanan->AsReal(), 30.0);
    QCOMPARE(lines(), 30);
}

void TestTDBGrid::ctrlDeleteAsksFirst()
{
    key(Qt::Key_Down);
    test::clickButton(QStringLiteral("Cancel"));
    key(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(lines(), 30);
    test::pressKey(Qt::Key_Escape);
    key(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(lines(), 30);

    test::SeenBox seen;
    test::recordAndAccept(&seen);
    key(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(seen.caption, QStringLiteral("Confirm"));
    QCOMPARE(seen.text, QStringLiteral("Delete record?"));
    QCOMPARE(lines(), 29);
    QVERIFY(m_db->exec(QStringLiteral("SELECT 1 FROM DataBarang WHERE \"No Pesanan\"=2")).isEmpty());
    QCOMPARE(m_view.PenjualanNoPesanan->AsReal(), 3.0);
}

void TestTDBGrid::cellEditingEnterEscapeAndTab()
{
    m_grid->SetSelectedIndex(2);
    const int beeps = beepCount();
    QTest::keyClicks(m_grid, QStringLiteral("x"));
    QCOMPARE(beepCount(), beeps + 1);
    QCOMPARE(m_view.Penjualan->State(), dsBrowse);

    key(Qt::Key_F2);
    QVERIFY(m_grid->EditorVisible());
    QCOMPARE(m_grid->Editor()->text(), QStringLiteral("100"));
    key(Qt::Key_End);
    QTest::keyClicks(m_grid->Editor(), QStringLiteral("5"));
    QCOMPARE(m_view.Penjualan->State(), dsEdit);
    QVERIFY(m_grid->Pending());
    key(Qt::Key_Escape); // the pending text goes, the edit stays
    QCOMPARE(m_grid->Editor()->text(), QStringLiteral("100"));
    QCOMPARE(m_view.Penjualan->State(), dsEdit);
    key(Qt::Key_Escape); // nothing pending: the edit is cancelled
    QCOMPARE(m_view.Penjualan->State(), dsBrowse);

    QTest::keyClicks(m_grid, QStringLiteral("250"));
    key(Qt::Key_Return);
    QCOMPARE(m_view.PenjualanHargaSatuan->AsReal(), 250.0);
    QCOMPARE(m_view.PenjualanJumlahHarga->AsReal(), 500.0);
    key(Qt::Key_Down); // posts
    QCOMPARE(m_db->exec(QStringLiteral("SELECT \"Harga Satuan\" FROM DataBarang WHERE \"No Pesanan\"=1"))
                 .value(0).toDouble(),
             250.0);

    // Calculated cells refuse input.
    m_grid->SetSelectedIndex(3);
    QTest::keyClicks(m_grid, QStringLiteral("9"));
    QCOMPARE(m_view.Penjualan->State(), dsBrowse);

    // Tab wraps to the next row; in the last cell of the last record it appends.
    key(Qt::Key_End);
    key(Qt::Key_Tab);
    QCOMPARE(m_grid->SelectedIndex(), 0);
    QCOMPARE(m_view.PenjualanNoPesanan->AsReal(), 3.0);
    key(Qt::Key_Backtab);
    QCOMPARE(m_grid->SelectedIndex(), 4);
    QCOMPARE(m_view.PenjualanNoPesanan->AsReal(), 2.0);
    key(Qt::Key_End, Qt::ControlModifier);
    key(Qt::Key_Tab);
    QCOMPARE(m_view.Penjualan->State(), dsInsert);
    QVERIFY(m_errors.isEmpty());
}

// A write that raises keeps the editor with its text selected, the view in
// its state, and reaches the error report.
void TestTDBGrid::failingCellWriteKeepsEditorAndState()
{
    m_grid->SetSelectedIndex(2);
    key(Qt::Key_F2);
    QTest::keyClicks(m_grid->Editor(), QStringLiteral("1.2.3"));
    key(Qt::Key_Return);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY(m_errors.first().contains(QStringLiteral("is not a valid floating point value")));
    QVERIFY(m_grid->EditorVisible());
    QVERIFY(m_grid->Editor()->hasFocus());
    QCOMPARE(m_grid->Editor()->selectedText(), QStringLiteral("1.2.3"));
    QCOMPARE(m_view.Penjualan->State(), dsEdit);

    // Leaving the grid fails the same way and takes the focus back.
    m_other->setFocus(Qt::TabFocusReason);
    QCOMPARE(m_errors.size(), 2);
    QVERIFY(m_grid->Editor()->hasFocus());
    QCOMPARE(m_view.PenjualanHargaSatuan->AsReal(), 100.0);
}

void TestTDBGrid::leavingTheGrid()
{
    key(Qt::Key_Insert);
    QCOMPARE(m_view.Penjualan->State(), dsInsert);
    m_other->setFocus(Qt::TabFocusReason);
    QCOMPARE(m_view.Penjualan->State(), dsBrowse);
    QCOMPARE(lines(), 30);

    m_grid->setFocus(Qt::MouseFocusReason);
    m_grid->SetSelectedIndex(2);
    QTest::keyClicks(m_grid, QStringLiteral("7"));
    m_other->setFocus(Qt::TabFocusReason);
    QCOMPARE(m_view.PenjualanHargaSatuan->AsReal(), 7.0);
    QCOMPARE(m_view.Penjualan->State(), dsEdit);
    QVERIFY(m_errors.isEmpty());
}

void TestTDBGrid::pagingAndInsert()
{
    const int rows = m_grid->VisibleRowCount();
    QVERIFY(rows > 2 && rows < 30);
    key(Qt::Key_PageDown);
    QCOMPARE(m_view.PenjualanNoPesanan->AsReal(), 1.0 + rows);
    key(Qt::Key_PageUp);
    QCOMPARE(m_view.PenjualanNoPesanan->AsReal(), 1.0);

    key(Qt::Key_Down);
    key(Qt::Key_Insert);
    QCOMPARE(m_view.Penjualan->State(), dsInsert);
    QCOMPARE(m_grid->Row(), 1);
    QCOMPARE(m_grid->CellText(1, 0), QString());
    QCOMPARE(m_grid->CellText(2, 0), QStringLiteral("2"));
    key(Qt::Key_Down); // leaves the untouched new record: cancelled
    QCOMPARE(m_view.Penjualan->State(), dsBrowse);
    QCOMPARE(m_view.PenjualanNoPesanan->AsReal(), 2.0);
}

QTEST_MAIN(TestTDBGrid)
#include "tst_TDBGrid.moc"

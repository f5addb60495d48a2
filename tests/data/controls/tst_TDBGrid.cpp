#include "ModalAnswer.h"
#include "RealInput.h"
#include "TestDatabase.h"

#include "data/DataModel.h"
#include "data/LocaleSettings.h"
#include "data/controls/TDBEdit.h"
#include "data/controls/TDBGrid.h"
#include "errors/HandlerGuard.h"
#include "widgets/Beep.h"

#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
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
    void longViewMovesOneRowPerKey();
    void wheelAndScrollBarMoveThroughTheView();
    void searchAndCancelPlaceTheRightRecord();

private:
    // Keys go to the grid or its open cell editor, whichever has the focus.
    static void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { test::key(k, modifiers); }
    // A click on the indicator of the current row: the grid takes the focus,
    // the record and the column stay.
    void clickGrid() const
    {
        const int height = m_grid->fontMetrics().height() + 4;
        test::clickAt(m_grid->viewport(), QPoint(4, height * (m_grid->Row() + 1) + height / 2));
        QVERIFY(m_grid->hasFocus());
    }
    qint64 lines() const { return m_db->count(QStringLiteral("DataBarang")); }
    // Order lines 31 to `last` more, in one statement.
    void addLines(int last) const
    {
        m_db->exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 31 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                  "INSERT INTO DataBarang (\"No Pesanan\", \"Kode Pelanggan\") SELECT i, 'P001' FROM n")
                       .arg(last));
        m_view.Penjualan->Refresh();
    }
    double number(int row) const { return m_grid->CellText(row, 0).toDouble(); }

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
    clickGrid();
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
    test::type(QStringLiteral("x"));
    QCOMPARE(beepCount(), beeps + 1);
    QCOMPARE(m_view.Penjualan->State(), dsBrowse);

    key(Qt::Key_F2);
    QVERIFY(m_grid->EditorVisible());
    QCOMPARE(m_grid->Editor()->text(), QStringLiteral("100"));
    key(Qt::Key_End);
    test::type(QStringLiteral("5"));
    QCOMPARE(m_view.Penjualan->State(), dsEdit);
    QVERIFY(m_grid->Pending());
    // Ctrl+Insert copies: the pending text stays in its cell and record.
    key(Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(m_view.Penjualan->State(), dsEdit);
    QCOMPARE(m_view.PenjualanNoPesanan->AsReal(), 1.0);
    QCOMPARE(m_grid->Editor()->text(), QStringLiteral("1005"));
    QVERIFY(m_grid->Pending());
    QCOMPARE(lines(), 30);
    key(Qt::Key_Escape); // the pending text goes, the edit stays
    QCOMPARE(m_grid->Editor()->text(), QStringLiteral("100"));
    QCOMPARE(m_view.Penjualan->State(), dsEdit);
    key(Qt::Key_Escape); // nothing pending: the edit is cancelled
    QCOMPARE(m_view.Penjualan->State(), dsBrowse);

    test::type(QStringLiteral("250"));
    key(Qt::Key_Return);
    QCOMPARE(m_view.PenjualanHargaSatuan->AsReal(), 250.0);
    QCOMPARE(m_view.PenjualanJumlahHarga->AsReal(), 500.0);
    key(Qt::Key_Down); // posts
    QCOMPARE(m_db->exec(QStringLiteral("SELECT \"Harga Satuan\" FROM DataBarang WHERE \"No Pesanan\"=1"))
                 .value(0).toDouble(),
             250.0);

    // Calculated cells refuse input.
    m_grid->SetSelectedIndex(3);
    test::type(QStringLiteral("9"));
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
    test::type(QStringLiteral("1.2.3"));
    key(Qt::Key_Return);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY(m_errors.first().contains(QStringLiteral("is not a valid floating point value")));
    QVERIFY(m_grid->EditorVisible());
    QVERIFY(m_grid->Editor()->hasFocus());
    QCOMPARE(m_grid->Editor()->selectedText(), QStringLiteral("1.2.3"));
    QCOMPARE(m_view.Penjualan->State(), dsEdit);

    // Leaving the grid fails the same way and takes the focus back.
    test::clickAt(m_other);
    QCOMPARE(m_errors.size(), 2);
    QVERIFY(m_grid->Editor()->hasFocus());
    QCOMPARE(m_view.PenjualanHargaSatuan->AsReal(), 100.0);
}

// A click elsewhere or Ctrl+Tab (Tab moves between cells) leaves the grid;
// an untouched new record goes, a typed cell is written.
void TestTDBGrid::leavingTheGrid()
{
    key(Qt::Key_Insert);
    QCOMPARE(m_view.Penjualan->State(), dsInsert);
    test::clickAt(m_other);
    QCOMPARE(m_view.Penjualan->State(), dsBrowse);
    QCOMPARE(lines(), 30);

    clickGrid();
    m_grid->SetSelectedIndex(2);
    test::type(QStringLiteral("7"));
    key(Qt::Key_Tab, Qt::ControlModifier);
    QVERIFY(m_other->hasFocus());
    QCOMPARE(m_view.PenjualanHargaSatuan->AsReal(), 7.0);
    QCOMPARE(m_view.Penjualan->State(), dsEdit);
    clickGrid();
    key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(m_other->hasFocus());
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

// Through a view longer than the records it keeps buffered, which it lets go
// of and reads again as it moves: one row per key, the rows scrolling by one
// at the edges, both ways.
void TestTDBGrid::longViewMovesOneRowPerKey()
{
    addLines(1500);
    const int rows = m_grid->VisibleRowCount();
    for (int i = 1; i < 1200; ++i) {
        key(Qt::Key_Down);
        QCOMPARE(m_grid->Row(), std::min(i, rows - 1));
        QCOMPARE(number(m_grid->Row()), 1.0 + i);
        QCOMPARE(number(0), 1.0 + std::max(0, i - rows + 1));
    }
    for (int i = 1198; i >= 700; --i) {
        key(Qt::Key_Up);
        QCOMPARE(number(m_grid->Row()), 1.0 + i);
        QCOMPARE(m_grid->Row(), std::max(0, rows - 1 - (1199 - i)));
    }
}

// The wheel scrolls three rows a notch, the current record with them; a
// dragged scroll bar thumb moves through the view in proportion.
void TestTDBGrid::wheelAndScrollBarMoveThroughTheView()
{
    addLines(1000);
    key(Qt::Key_Down);
    test::wheelAt(m_grid->viewport(), -2); // two notches towards the user: down the view
    QCOMPARE(number(0), 7.0);
    QCOMPARE(m_grid->Row(), 1);
    QCOMPARE(m_view.PenjualanNoPesanan->AsReal(), 8.0);
    test::wheelAt(m_grid->viewport(), 1);
    QCOMPARE(number(0), 4.0);
    test::wheelAt(m_grid->viewport(), 5); // stops at the first record
    QCOMPARE(number(0), 1.0);

    QScrollBar* bar = m_grid->verticalScrollBar();
    const auto thumbAt = [bar](int value) {
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = Qt::Vertical;
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = option.sliderValue = value;
        option.pageStep = bar->pageStep();
        return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar).center();
    };
    const QPoint start = thumbAt(bar->value());
    const QPoint middle = thumbAt((bar->minimum() + bar->maximum()) / 2);
    test::dragAt(bar, start, middle);
    QVERIFY2(std::abs(m_view.PenjualanNoPesanan->AsReal() - 500.0) < 30, qPrintable(m_grid->CellText(m_grid->Row(), 0)));
    test::dragAt(bar, middle, thumbAt(bar->maximum()) + QPoint(0, 20));
    QCOMPARE(m_view.PenjualanNoPesanan->AsReal(), 1000.0);
    QVERIFY(m_view.Penjualan->Eof());
    QCOMPARE(bar->value(), bar->maximum());
    QVERIFY(m_errors.isEmpty());
}

// A search that lands outside the rows shown puts the record near their
// middle; cancelling an insert returns to the record current before it,
// also after the view read more records ahead of it meanwhile.
void TestTDBGrid::searchAndCancelPlaceTheRightRecord()
{
    addLines(1000);
    const int rows = m_grid->VisibleRowCount();
    QVERIFY(m_view.Penjualan->FindByKey({QStringLiteral("No Pesanan")}, 700.0));
    QCOMPARE(m_grid->Row(), rows / 2);
    QCOMPARE(number(m_grid->Row()), 700.0);
    QVERIFY(m_view.Penjualan->FindByKey({QStringLiteral("No Pesanan")}, 701.0)); // on the rows shown: they stay
    QCOMPARE(m_grid->Row(), rows / 2 + 1);

    key(Qt::Key_Insert);
    QCOMPARE(m_view.Penjualan->State(), dsInsert);
    m_window->resize(500, 1000); // more rows: the view reads further back
    QTRY_VERIFY(m_grid->VisibleRowCount() > 20);
    key(Qt::Key_Escape);
    QCOMPARE(m_view.Penjualan->State(), dsBrowse);
    QCOMPARE(m_view.PenjualanNoPesanan->AsReal(), 701.0);
    QCOMPARE(number(m_grid->Row()), 701.0);
}

QTEST_MAIN(TestTDBGrid)
#include "tst_TDBGrid.moc"

#include "TDBGrid.h"

#include "CommandKeys.h"

#include "errors/HandlerGuard.h"
#include "widgets/Beep.h"
#include "widgets/ConfirmBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScopeGuard>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

constexpr int kIndicatorWidth = 12;
constexpr int kMinColumnWidth = 8;
constexpr int kBorderGrip = 3;

// The vertical bar: its ends stand for the first and last record, a thumb
// dragged in between for that fraction of the view.
constexpr int kBarStart = 0;
constexpr int kBarEnd = 1000;
constexpr int kWheelNotch = 120;

} // namespace

// ---------------------------------------------------------------- cell editor

TGridEditor::TGridEditor(TCustomDBGrid* grid) : TMaskEdit(grid->viewport()), m_grid(grid)
{
    setFrame(false);
    hide();
}

bool TGridEditor::EditCanModify()
{
    return m_grid->EditorCanModify();
}

void TGridEditor::KeyPress(QChar& key)
{
    TMaskEdit::KeyPress(key);
    m_grid->EditorKeyPress(key);
}

// The grid's own keys reach the grid; caret keys stay in the editor.
void TGridEditor::KeyDown(int& key, Qt::KeyboardModifiers modifiers)
{
    if (m_grid->GridKey(key, modifiers, true))
        key = 0;
}

void TGridEditor::Change()
{
    m_grid->EditorChanged();
    TMaskEdit::Change();
}

// ---------------------------------------------------------------- grid

TCustomDBGrid::TCustomDBGrid(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    m_editor = new TGridEditor(this);
    verticalScrollBar()->setRange(kBarStart, kBarEnd);
    verticalScrollBar()->setPageStep(kBarEnd / 20);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { guarded([&] { ScrollAction(action); }); });
    connect(verticalScrollBar(), &QScrollBar::sliderReleased, this, [this] { guarded([this] { ThumbReleased(); }); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (EditorVisible())
            m_editor->setGeometry(CellRect(m_row, m_col));
        viewport()->update();
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        // Leaving: the focus goes to another control of the same window.
        if (IsInside(old) && now && now->window() == window() && !IsInside(now))
            guarded([this] { Leave(); });
    });
    m_link.OnActiveChange = [this] { BindColumns(); };
    m_link.OnLayoutChange = [this] { BindColumns(); };
    m_link.OnEditingChange = [this] { viewport()->update(); };
    m_link.OnDataSetChange = [this] { DataSetChanged(); };
    m_link.OnDataSetScroll = [this] { DataSetScrolled(); };
    m_link.OnRecordChange = [this](TField* field) { RecordChanged(field); };
    m_link.OnUpdateData = [this] { WriteCell(); };
}

TCustomDBGrid::~TCustomDBGrid() = default;

void TCustomDBGrid::SetDataSource(TDataSource* source)
{
    m_link.SetDataSource(source);
    BindColumns();
}

TColumn* TCustomDBGrid::AddColumn(const QString& fieldName, const QString& caption, Qt::Alignment titleAlignment,
                                  const QColor& titleColor)
{
    auto column = std::make_unique<TColumn>();
    column->FieldName = fieldName;
    column->Title = TColumnTitle{caption, titleAlignment, titleColor};
    m_columns.push_back(std::move(column));
    BindColumns();
    return m_columns.back().get();
}

bool TCustomDBGrid::IsInside(const QWidget* widget) const
{
    return widget && (widget == this || widget == m_editor || widget == viewport());
}

// ---------------------------------------------------------------- data events

void TCustomDBGrid::BindColumns()
{
    TDataSet* dataSet = m_link.Active() ? m_link.DataSet() : nullptr;
    for (auto& column : m_columns) {
        column->m_field = dataSet ? dataSet->FindField(column->FieldName) : nullptr;
        column->m_defaultWidth = DefaultWidth(*column);
    }
    m_link.SetBufferCount(VisibleRowCount());
    HideEditor();
    DataSetChanged();
}

// Display width in digits of the column's font plus 4 pixels, widened to the
// title's text.
int TCustomDBGrid::DefaultWidth(const TColumn& column) const
{
    const QFontMetrics metrics = fontMetrics();
    const int cells = column.m_field ? column.m_field->DisplayWidth() * metrics.horizontalAdvance(QLatin1Char('0')) + 4 : 64;
    const QString title = column.Title.Caption.isEmpty() ? column.FieldName : column.Title.Caption;
    return std::max(cells, metrics.horizontalAdvance(title) + 4);
}

void TCustomDBGrid::DataSetChanged()
{
    if (m_link.DataSet() && m_link.DataSet()->State() != dsInsert)
        m_appended = false;
    if (EditorVisible() && m_editorStarting > 0)
        LoadEditor();
    else
        HideEditor();
    PlaceRow(RowAfterReread());
}

// The current record moved by so many records: so does the current row,
// until it reaches an edge and the rows scroll instead.
void TCustomDBGrid::DataSetScrolled()
{
    TDataSet* dataSet = m_link.DataSet();
    HideEditor();
    const qint64 moved = dataSet ? dataSet->RecordPosition() - m_lastPosition : 0;
    PlaceRow(m_keepRow ? m_row : int(std::clamp<qint64>(m_row + moved, -1, VisibleRowCount())));
}

void TCustomDBGrid::RecordChanged(TField* field)
{
    if (EditorVisible() && !m_link.Modified() && (!field || field == SelectedField()))
        LoadEditor();
    viewport()->update();
}

// Where the current record goes after the records were re-read: where the
// rows stay put, if the record of the top row is still at the top of them;
// else on its own row, if it was shown; else (a search that jumped, a record
// whose key moved it) near the middle.
int TCustomDBGrid::RowAfterReread() const
{
    TDataSet* dataSet = m_link.Active() ? m_link.DataSet() : nullptr;
    const int current = dataSet ? dataSet->CurrentBufferIndex() : -1;
    if (current < 0)
        return m_row;
    const StorageRow record = dataSet->BufferBookmark(current);
    if (record.isEmpty())
        return m_row; // a new record stands where it was inserted
    const int rows = VisibleRowCount();
    if (!m_topRow.isEmpty()) {
        for (int row = 0; row < rows && row <= current; ++row)
            if (dataSet->BufferBookmark(current - row) == m_topRow)
                return row;
    }
    return m_shownRows.contains(record) ? m_row : rows / 2;
}

// Puts the current record on the wanted screen row, as far as the records
// buffered before and after it allow (no blank rows while records follow).
void TCustomDBGrid::PlaceRow(int wanted)
{
    TDataSet* dataSet = m_link.Active() ? m_link.DataSet() : nullptr;
    const int current = dataSet ? dataSet->CurrentBufferIndex() : -1;
    int row = 0;
    m_shownRows.clear();
    m_topRow = StorageRow();
    if (current >= 0) {
        const int rows = VisibleRowCount();
        const int after = dataSet->BufferedRecordCount() - 1 - current;
        row = std::clamp(wanted, 0, rows - 1);
        row = std::max(row, rows - 1 - after);
        row = std::clamp(row, 0, current);
        m_lastPosition = dataSet->RecordPosition();
        m_topRow = dataSet->BufferBookmark(current - row);
        for (int i = current - row; i < std::min(current - row + rows, dataSet->BufferedRecordCount()); ++i)
            m_shownRows.append(dataSet->BufferBookmark(i));
    }
    m_row = row;
    if (EditorVisible())
        m_editor->setGeometry(CellRect(m_row, m_col));
    UpdateScrollBars();
    viewport()->update();
}

// ---------------------------------------------------------------- keys

bool TCustomDBGrid::focusNextPrevChild(bool)
{
    return false; // Tab moves between cells
}

void TCustomDBGrid::keyPressEvent(QKeyEvent* event)
{
    guarded([&] {
        if (GridKey(event->key(), event->modifiers(), false))
            return;
        const QString text = event->text();
        if (text.size() == 1 && text.front().isPrint() && !isCommandKey(event->modifiers()) && SelectedField()) {
            ShowEditor();
            if (EditorVisible())
                QCoreApplication::sendEvent(m_editor, event);
            return;
        }
        event->ignore();
    });
}

// The keys of the grid; fromEditor: the cell editor is open and keeps the
// keys that move its caret. Returns whether the key was the grid's.
bool TCustomDBGrid::GridKey(int key, Qt::KeyboardModifiers modifiers, bool fromEditor)
{
    TDataSet* dataSet = m_link.Active() ? m_link.DataSet() : nullptr;
    if (!dataSet)
        return false;
    const bool ctrl = isCommandKey(modifiers);
    switch (key) {
    case Qt::Key_Up: MoveRecord(-1); return true;
    case Qt::Key_Down: MoveRecord(1); return true;
    case Qt::Key_PageUp: dataSet->MoveBy(-VisibleRowCount()); return true;
    case Qt::Key_PageDown: dataSet->MoveBy(VisibleRowCount()); return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (ctrl)
            LeaveByKey(key == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier));
        else
            NextCell(key == Qt::Key_Tab ? 1 : -1);
        return true;
    case Qt::Key_Escape: EscapeKey(); return true;
    case Qt::Key_F2: ShowEditor(); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        WriteCell();
        HideEditor();
        return true;
    case Qt::Key_Insert:
        // Shift+Insert pastes and Ctrl+Insert copies: keys of the cell editor.
        if (modifiers & (Qt::ShiftModifier | Qt::ControlModifier))
            return false;
        dataSet->Insert();
        return true;
    case Qt::Key_Delete:
        if (!ctrl)
            return false;
        DeleteRecord();
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
        if (ctrl) {
            key == Qt::Key_Home ? dataSet->First() : dataSet->Last();
            return true;
        }
        if (fromEditor)
            return false;
        MoveColumn(key == Qt::Key_Home ? 0 : ColumnCount() - 1);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (fromEditor)
            return false;
        MoveColumn(m_col + (key == Qt::Key_Left ? -1 : 1));
        return true;
    default: return false;
    }
}

// Ctrl+Tab and Ctrl+Shift+Tab: Tab moves between cells, so these leave the
// grid for the next or previous control of the window.
void TCustomDBGrid::LeaveByKey(bool next)
{
    HideEditor();
    QAbstractScrollArea::focusNextPrevChild(next);
}

// A new record into which nothing was typed.
bool TCustomDBGrid::UntouchedInsert() const
{
    const TDataSet* dataSet = m_link.DataSet();
    return dataSet && dataSet->State() == dsInsert && !dataSet->Modified() && !m_link.Modified();
}

// Up and Down: leaving an untouched new record cancels it; Down at the last
// record appends one.
void TCustomDBGrid::MoveRecord(int direction)
{
    TDataSet* dataSet = m_link.DataSet();
    if (UntouchedInsert()) {
        // Down on a record appended at the end stays there.
        if (direction < 0 || !m_appended)
            dataSet->Cancel();
        return;
    }
    if (direction < 0) {
        dataSet->Prior();
        return;
    }
    dataSet->Next();
    if (dataSet->Eof() && dataSet->CanModify()) {
        dataSet->Append();
        m_appended = true;
    }
}

// Tab and Shift+Tab: the next or previous cell, wrapping to the next or
// previous row; past the last cell of the last record a record is appended.
void TCustomDBGrid::NextCell(int direction)
{
    const int column = m_col + direction;
    if (column >= 0 && column < ColumnCount()) {
        MoveColumn(column);
        return;
    }
    TDataSet* dataSet = m_link.DataSet();
    if (direction < 0 && dataSet->Bof() && !UntouchedInsert())
        return;
    WriteCell();
    MoveRecord(direction);
    MoveColumn(direction > 0 ? 0 : ColumnCount() - 1);
}

void TCustomDBGrid::MoveColumn(int column)
{
    column = std::clamp(column, 0, std::max(ColumnCount() - 1, 0));
    if (column == m_col)
        return;
    WriteCell();
    HideEditor();
    m_col = column;
    EnsureColumnVisible();
    viewport()->update();
}

void TCustomDBGrid::SetSelectedIndex(int column)
{
    MoveColumn(column);
}

TField* TCustomDBGrid::SelectedField() const
{
    return m_col < ColumnCount() ? Column(m_col)->Field() : nullptr;
}

// Escape: the cell's pending text is discarded; with none, the edit or
// insert is cancelled.
void TCustomDBGrid::EscapeKey()
{
    if (m_link.Modified()) {
        m_link.Reset();
        m_editor->selectAll();
        return;
    }
    HideEditor();
    m_link.DataSet()->Cancel();
}

void TCustomDBGrid::DeleteRecord()
{
    TDataSet* dataSet = m_link.DataSet();
    if (dataSet->IsEmpty() || !dataSet->CanModify())
        return;
    if (ConfirmOkCancel(this, QStringLiteral("Delete record?")))
        dataSet->Delete();
}

// ---------------------------------------------------------------- cell editor

bool TCustomDBGrid::EditorVisible() const
{
    return m_editor->isVisible();
}

void TCustomDBGrid::ShowEditor()
{
    if (!SelectedField() || !SelectedField()->CanModify() || !m_link.Active())
        return;
    if (EditorVisible()) {
        m_editor->setFocus(Qt::OtherFocusReason);
        return;
    }
    EnsureColumnVisible();
    m_editor->setGeometry(CellRect(m_row, m_col));
    LoadEditor();
    m_editor->show();
    m_editor->setFocus(Qt::OtherFocusReason);
    m_editor->selectAll();
}

void TCustomDBGrid::HideEditor()
{
    if (!EditorVisible())
        return;
    if (m_editor->hasFocus())
        setFocus(Qt::OtherFocusReason);
    m_editor->hide();
}

// The cell's field: its mask, its edit text, right-aligned for numbers.
void TCustomDBGrid::LoadEditor()
{
    const TField* field = SelectedField();
    // A reload while the user starts typing keeps a whole selection, so the
    // typed character replaces the text.
    const bool allSelected = m_editor->hasSelectedText() && m_editor->selectedText() == m_editor->text();
    ++m_loadingEditor;
    m_editor->SetEditMask(field ? field->EditMask() : QString());
    m_editor->SetText(field ? field->EditText() : QString());
    if (allSelected)
        m_editor->selectAll();
    m_editor->setAlignment(field && field->Alignment() == TAlignment::taRightJustify ? Qt::AlignRight
                                                                                        : Qt::AlignLeft);
    --m_loadingEditor;
}

// Writes the cell's pending text into its field (mask validated first). A
// write that raises keeps the editor, its text selected.
void TCustomDBGrid::WriteCell()
{
    if (!m_link.Modified())
        return;
    TField* field = SelectedField();
    try {
        m_editor->ValidateEdit();
        if (field)
            field->SetEditText(m_editor->Text());
    } catch (...) {
        m_editor->selectAll();
        throw;
    }
    // Written: the view's own event no longer needs to.
    m_link.Reset();
}

bool TCustomDBGrid::EditorCanModify()
{
    const TField* field = SelectedField();
    if (!field || !field->CanModify())
        return false;
    ++m_editorStarting;
    try {
        m_link.Edit();
    } catch (...) {
        --m_editorStarting;
        throw;
    }
    --m_editorStarting;
    return m_link.Editing();
}

void TCustomDBGrid::EditorKeyPress(QChar& key)
{
    const TField* field = SelectedField();
    if (key.isPrint() && field && !field->IsValidChar(key)) {
        beep();
        key = QChar();
    }
}

void TCustomDBGrid::EditorChanged()
{
    if (m_loadingEditor == 0)
        m_link.Modify();
}

// The focus left the grid: an untouched new record is cancelled, else the
// pending cell is written; a failing write takes the focus back.
void TCustomDBGrid::Leave()
{
    TDataSet* dataSet = m_link.Active() ? m_link.DataSet() : nullptr;
    if (!dataSet)
        return;
    if (UntouchedInsert()) {
        dataSet->Cancel();
        return;
    }
    try {
        WriteCell();
    } catch (...) {
        if (EditorVisible())
            m_editor->setFocus(Qt::OtherFocusReason);
        else
            setFocus(Qt::OtherFocusReason);
        throw;
    }
}

// ---------------------------------------------------------------- geometry

int TCustomDBGrid::RowHeight() const
{
    return fontMetrics().height() + 4;
}

int TCustomDBGrid::VisibleRowCount() const
{
    return std::max(1, (viewport()->height() - RowHeight()) / RowHeight());
}

int TCustomDBGrid::ColumnX(int column) const
{
    int x = kIndicatorWidth - horizontalScrollBar()->value();
    for (int i = 0; i < column; ++i)
        x += Column(i)->Visible ? Column(i)->Width() + 1 : 0;
    return x;
}

QRect TCustomDBGrid::CellRect(int row, int column) const
{
    const int width = Column(column)->Visible ? Column(column)->Width() : 0;
    return QRect(ColumnX(column), RowHeight() * (row + 1), width, RowHeight() - 1);
}

int TCustomDBGrid::RowAt(int y) const
{
    return y < RowHeight() ? -1 : y / RowHeight() - 1;
}

int TCustomDBGrid::ColumnAt(int x) const
{
    for (int i = 0; i < ColumnCount(); ++i) {
        const int left = ColumnX(i);
        if (Column(i)->Visible && x >= left && x < left + Column(i)->Width() + 1)
            return i;
    }
    return -1;
}

// The column whose right border is under x (within a grip's width), or -1.
int TCustomDBGrid::ColumnBorderAt(int x) const
{
    for (int i = 0; i < ColumnCount(); ++i) {
        const int right = ColumnX(i) + Column(i)->Width();
        if (Column(i)->Visible && std::abs(x - right) <= kBorderGrip)
            return i;
    }
    return -1;
}

int TCustomDBGrid::FirstBufferIndex() const
{
    const TDataSet* dataSet = m_link.DataSet();
    return dataSet ? dataSet->CurrentBufferIndex() - m_row : 0;
}

void TCustomDBGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    guarded([this] {
        m_link.SetBufferCount(VisibleRowCount());
        PlaceRow(m_row);
    });
}

// The thumb stands at an end for the first and last record, and keeps its
// place (short of the ends) in between.
void TCustomDBGrid::UpdateScrollBars()
{
    const TDataSet* dataSet = m_link.Active() ? m_link.DataSet() : nullptr;
    QScrollBar* bar = verticalScrollBar();
    if (!bar->isSliderDown()) {
        const int inside = std::clamp(bar->value(), kBarStart + 1, kBarEnd - 1);
        bar->setValue(!dataSet || dataSet->Bof() ? kBarStart : dataSet->Eof() ? kBarEnd : inside);
    }
    const int total = ColumnX(ColumnCount()) + horizontalScrollBar()->value();
    horizontalScrollBar()->setRange(0, std::max(0, total - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

// The vertical bar moves the view; its position then follows the view.
void TCustomDBGrid::ScrollAction(int action)
{
    TDataSet* dataSet = m_link.Active() ? m_link.DataSet() : nullptr;
    if (!dataSet)
        return;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: dataSet->Next(); break;
    case QAbstractSlider::SliderSingleStepSub: dataSet->Prior(); break;
    case QAbstractSlider::SliderPageStepAdd: dataSet->MoveBy(VisibleRowCount()); break;
    case QAbstractSlider::SliderPageStepSub: dataSet->MoveBy(-VisibleRowCount()); break;
    case QAbstractSlider::SliderToMinimum: dataSet->First(); break;
    case QAbstractSlider::SliderToMaximum: dataSet->Last(); break;
    default: return; // a dragged thumb moves the view when it is let go
    }
    verticalScrollBar()->setSliderPosition(verticalScrollBar()->value());
}

void TCustomDBGrid::ThumbReleased()
{
    TDataSet* dataSet = m_link.Active() ? m_link.DataSet() : nullptr;
    if (!dataSet)
        return;
    QScrollBar* bar = verticalScrollBar();
    const int position = bar->sliderPosition();
    dataSet->MoveToFraction(double(position - kBarStart) / (kBarEnd - kBarStart));
    if (!dataSet->Bof() && !dataSet->Eof())
        bar->setValue(std::clamp(position, kBarStart + 1, kBarEnd - 1));
}

// The wheel scrolls the rows, three a notch (the desktop's setting), and the
// current record with them: it keeps its row until the view's end stops it.
void TCustomDBGrid::wheelEvent(QWheelEvent* event)
{
    event->accept();
    m_wheelDelta += event->angleDelta().y();
    const int notches = m_wheelDelta / kWheelNotch;
    m_wheelDelta -= notches * kWheelNotch;
    if (notches != 0)
        guarded([&] { ScrollRows(-notches * QApplication::wheelScrollLines()); });
}

void TCustomDBGrid::ScrollRows(int rows)
{
    TDataSet* dataSet = m_link.Active() ? m_link.DataSet() : nullptr;
    if (!dataSet || dataSet->IsEmpty())
        return;
    m_keepRow = true;
    const auto restore = qScopeGuard([this] { m_keepRow = false; });
    dataSet->MoveBy(rows);
}

void TCustomDBGrid::EnsureColumnVisible()
{
    if (m_col >= ColumnCount())
        return;
    QScrollBar* bar = horizontalScrollBar();
    const int left = ColumnX(m_col) + bar->value() - kIndicatorWidth;
    const int right = left + Column(m_col)->Width() + kIndicatorWidth;
    if (left < bar->value())
        bar->setValue(left);
    else if (right > bar->value() + viewport()->width())
        bar->setValue(right - viewport()->width());
}

// ---------------------------------------------------------------- mouse

void TCustomDBGrid::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (RowAt(at.y()) < 0) {
        m_resizing = ColumnBorderAt(at.x());
        m_resizeFrom = at.x() - (m_resizing >= 0 ? Column(m_resizing)->Width() : 0);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    guarded([&] {
        TDataSet* dataSet = m_link.Active() ? m_link.DataSet() : nullptr;
        const int row = RowAt(at.y());
        const int column = ColumnAt(at.x());
        if (!dataSet || FirstBufferIndex() + row >= dataSet->BufferedRecordCount())
            return;
        const bool sameCell = row == m_row && column == m_col;
        if (row != m_row)
            dataSet->MoveBy(row - m_row);
        if (column >= 0)
            MoveColumn(column);
        if (sameCell && !EditorVisible())
            ShowEditor();
    });
}

void TCustomDBGrid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (m_resizing >= 0) {
        Column(m_resizing)->SetWidth(std::max(kMinColumnWidth, at.x() - m_resizeFrom));
        UpdateScrollBars();
        viewport()->update();
        return;
    }
    const bool onBorder = RowAt(at.y()) < 0 && ColumnBorderAt(at.x()) >= 0;
    viewport()->setCursor(onBorder ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void TCustomDBGrid::mouseReleaseEvent(QMouseEvent*)
{
    m_resizing = -1;
}

// ---------------------------------------------------------------- painting

void TCustomDBGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().base());
    PaintRows(painter);
    PaintTitles(painter);
}

void TCustomDBGrid::PaintTitles(QPainter& painter)
{
    const QColor fixed = palette().color(QPalette::Button);
    const int height = RowHeight();
    painter.fillRect(QRect(0, 0, viewport()->width(), height - 1), fixed);
    painter.fillRect(QRect(0, height, kIndicatorWidth - 1, viewport()->height()), fixed);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, height - 1, viewport()->width(), height - 1);
    painter.drawLine(kIndicatorWidth - 1, 0, kIndicatorWidth - 1, viewport()->height());
    for (int i = 0; i < ColumnCount(); ++i) {
        const TColumn& column = *Column(i);
        if (!column.Visible)
            continue;
        const QRect rect(ColumnX(i), 0, column.Width(), height - 1);
        painter.fillRect(rect, column.Title.Color.isValid() ? column.Title.Color : fixed);
        painter.setPen(palette().color(QPalette::ButtonText));
        const QString caption = column.Title.Caption.isEmpty() ? column.FieldName : column.Title.Caption;
        painter.drawText(rect.adjusted(2, 0, -2, 0), int(column.Title.Alignment | Qt::AlignVCenter), caption);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawLine(rect.right() + 1, 0, rect.right() + 1, height - 1);
    }
    if (m_link.Active() && !m_link.DataSet()->IsEmpty())
        PaintIndicator(painter, QRect(0, RowHeight() * (m_row + 1), kIndicatorWidth - 1, RowHeight() - 1));
}

// The current row's mark: an arrow while browsing, "I" while editing, "*"
// for a new record.
void TCustomDBGrid::PaintIndicator(QPainter& painter, const QRect& rect)
{
    painter.setPen(palette().color(QPalette::ButtonText));
    const TDataSetState state = m_link.DataSet()->State();
    if (state == dsEdit || state == dsInsert) {
        painter.drawText(rect, Qt::AlignCenter, state == dsEdit ? QStringLiteral("I") : QStringLiteral("*"));
        return;
    }
    const QPoint c = rect.center();
    const QPoint arrow[] = {QPoint(c.x() - 2, c.y() - 4), QPoint(c.x() + 2, c.y()), QPoint(c.x() - 2, c.y() + 4)};
    painter.setBrush(palette().color(QPalette::ButtonText));
    painter.drawPolygon(arrow, 3);
    painter.setBrush(Qt::NoBrush);
}

void TCustomDBGrid::PaintRows(QPainter& painter)
{
    const int rows = VisibleRowCount() + 1;
    for (int row = 0; row < rows; ++row) {
        for (int i = 0; i < ColumnCount(); ++i) {
            const TColumn& column = *Column(i);
            if (!column.Visible)
                continue;
            const QRect rect = CellRect(row, i);
            const bool selected = row == m_row && i == m_col && hasFocus();
            if (selected)
                painter.fillRect(rect, palette().highlight());
            painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
            const bool right = column.Field() && column.Field()->Alignment() == TAlignment::taRightJustify;
            painter.drawText(rect.adjusted(2, 0, -2, 0), int((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter),
                             CellText(row, i));
            painter.setPen(palette().color(QPalette::Midlight));
            painter.drawLine(rect.bottomLeft() + QPoint(0, 1), rect.bottomRight() + QPoint(1, 1));
            painter.drawLine(rect.topRight() + QPoint(1, 0), rect.bottomRight() + QPoint(1, 1));
        }
    }
}

QString TCustomDBGrid::CellText(int row, int column) const
{
    TDataSet* dataSet = m_link.Active() ? m_link.DataSet() : nullptr;
    const TField* field = column < ColumnCount() ? Column(column)->Field() : nullptr;
    const int index = FirstBufferIndex() + row;
    if (!dataSet || !field || dataSet->IsEmpty() || index < 0 || index >= dataSet->BufferedRecordCount())
        return QString();
    TDataSet::BufferScope scope(dataSet, index);
    return field->DisplayText();
}

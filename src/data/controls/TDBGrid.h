#pragma once

#include "TMaskEdit.h"
#include "data/GridDataLink.h"

#include <QAbstractScrollArea>
#include <QColor>

#include <memory>
#include <vector>

class TCustomDBGrid;

// The grid's cell editor: a masked edit that leaves the view, the field and
// the grid's keys to its grid.
class TGridEditor : public TMaskEdit {
public:
    explicit TGridEditor(TCustomDBGrid* grid);

protected:
    bool EditCanModify() override;
    void KeyPress(QChar& key) override;
    void KeyDown(int& key, Qt::KeyboardModifiers modifiers) override;
    void Change() override;
    void DoExit() override {}
    bool focusNextPrevChild(bool) override { return false; }

private:
    TCustomDBGrid* m_grid;
};

struct TColumnTitle {
    QString Caption;                          // empty: the field's name
    Qt::Alignment Alignment = Qt::AlignLeft;
    QColor Color;                             // invalid: the grid's fixed colour
};

// One column of a grid: the field it shows, found by name when the view
// opens; a name the view doesn't have leaves the column empty.
class TColumn {
public:
    QString FieldName;
    TColumnTitle Title;
    bool Visible = true;

    TField* Field() const { return m_field; }
    int Width() const { return m_width > 0 ? m_width : m_defaultWidth; }
    void SetWidth(int width) { m_width = width; }

private:
    friend class TCustomDBGrid;
    TField* m_field = nullptr;
    int m_width = 0;
    int m_defaultWidth = 64;
};

// A grid over a view: a title row, an indicator column, one row per record.
// The current row is the view's current record both ways. Only the visible
// rows are painted, from the records the view keeps buffered around the
// current one, so a view of any size opens and pages at once. The vertical
// scroll bar is approximate: at the start, somewhere inside, at the end;
// dragging its thumb moves to the record at that fraction of the view.
class TCustomDBGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TCustomDBGrid(QWidget* parent = nullptr);
    ~TCustomDBGrid() override;

    TDataSource* DataSource() const { return m_link.DataSource(); }
    void SetDataSource(TDataSource* source);
    TColumn* AddColumn(const QString& fieldName, const QString& caption = QString(),
                       Qt::Alignment titleAlignment = Qt::AlignLeft, const QColor& titleColor = QColor());
    int ColumnCount() const { return int(m_columns.size()); }
    TColumn* Column(int index) const { return m_columns.at(size_t(index)).get(); }

    // What the grid shows, for its users and tests.
    int VisibleRowCount() const;
    int Row() const { return m_row; }                 // screen row of the current record
    int SelectedIndex() const { return m_col; }       // column of the current cell
    void SetSelectedIndex(int column);
    TField* SelectedField() const;
    // Display text of a shown cell; empty beyond the records.
    QString CellText(int row, int column) const;
    // Where a cell lies in the viewport.
    QRect CellRect(int row, int column) const;
    bool EditorVisible() const;
    TGridEditor* Editor() const { return m_editor; }
    bool Pending() const { return m_link.Modified(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    friend class TGridEditor;

    // Keys.
    bool GridKey(int key, Qt::KeyboardModifiers modifiers, bool fromEditor);
    void LeaveByKey(bool next);
    bool UntouchedInsert() const;
    void MoveRecord(int direction);
    void NextCell(int direction);
    void MoveColumn(int column);
    void EscapeKey();
    void DeleteRecord();

    // The cell editor.
    void ShowEditor();
    void HideEditor();
    void LoadEditor();
    void WriteCell();
    bool EditorCanModify();
    void EditorKeyPress(QChar& key);
    void EditorChanged();
    void Leave();

    // Data events.
    void BindColumns();
    void DataSetChanged();
    void DataSetScrolled();
    void RecordChanged(TField* field);
    int RowAfterReread() const;
    void PlaceRow(int wanted);
    void ScrollRows(int rows);

    // Geometry and painting.
    int RowHeight() const;
    int ColumnX(int column) const;
    int RowAt(int y) const;
    int ColumnAt(int x) const;
    int ColumnBorderAt(int x) const;
    int FirstBufferIndex() const;
    int DefaultWidth(const TColumn& column) const;
    void UpdateScrollBars();
    void ScrollAction(int action);
    void ThumbReleased();
    void EnsureColumnVisible();
    void PaintTitles(QPainter& painter);
    void PaintRows(QPainter& painter);
    void PaintIndicator(QPainter& painter, const QRect& rect);
    bool IsInside(const QWidget* widget) const;

    TGridDataLink m_link;
    std::vector<std::unique_ptr<TColumn>> m_columns;
    TGridEditor* m_editor = nullptr;
    int m_row = 0;
    int m_col = 0;
    qint64 m_lastPosition = 0;        // the view's RecordPosition() when the rows were placed
    StorageRow m_topRow;              // the record on the top row then (empty: a new one)
    QList<StorageRow> m_shownRows;    // the records shown then
    bool m_keepRow = false;           // the rows scroll under the current row (mouse wheel)
    int m_wheelDelta = 0;             // wheel turn not yet a whole notch
    int m_editorStarting = 0; // > 0 while the editor asks the view to edit
    int m_loadingEditor = 0;
    bool m_appended = false;  // the new record was appended by Down or Tab
    int m_resizing = -1;      // column whose width is being dragged
    int m_resizeFrom = 0;
};

class TDBGrid : public TCustomDBGrid {
    Q_OBJECT
public:
    explicit TDBGrid(QWidget* parent = nullptr) : TCustomDBGrid(parent) {}
    TDBGrid(QWidget* parent, const QRect& geometry, TDataSource* source) : TCustomDBGrid(parent)
    {
        setGeometry(geometry);
        SetDataSource(source);
    }
};

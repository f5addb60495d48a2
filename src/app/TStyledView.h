#pragma once

#include "app/StyledLayout.h"
#include "app/TViewStyle.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

// A styled-text viewer: items of text in styles from a style table, laid out
// in lines over a tiled background picture that stays still while the text
// scrolls. The vertical position counts in steps of VSmallStep pixels.
class TStyledView : public QWidget {
    Q_OBJECT
public:
    explicit TStyledView(QWidget* parent);

    void setStyle(const TViewStyle* style) { m_style = style; }
    int LeftMargin = 5;
    int RightMargin = 5;
    int MinTextWidth = 0;
    int MaxTextWidth = 0;
    bool AllowSelection = true;
    void setBackgroundBitmap(const QImage& picture) { m_background = QPixmap::fromImage(picture); }

    // Appends each line of text as a left-aligned item (a final line break adds none).
    void AddText(const QString& text, int style);
    // Appends one centred item; the text is not split.
    void AddCenteredLine(const QString& text, int style);
    int ItemCount() const { return int(m_items.size()); }

    // Accepted only if greater than 0 and the content height over it is at most 30000.
    void SetVSmallStep(int pixels);
    int VSmallStep() const { return m_step; }
    // Lays out every item, sets the scroll range and moves to the top.
    void Format();
    int ContentHeight() const { return m_layout.contentHeight; }
    const StyledLayout& layout() const { return m_layout; }
    int VScrollPos() const { return m_position; }
    int VScrollMax() const;
    void ScrollTo(int position);
    QString SelectedText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // A place in the text: line index and character index within it.
    struct Place {
        int line = -1;
        int column = 0;
        bool operator<(const Place& o) const { return line < o.line || (line == o.line && column < o.column); }
    };
    Place placeAt(const QPoint& point) const;
    int textWidth() const;
    void paintLine(QPainter& painter, int index, int offset) const;

    const TViewStyle* m_style = nullptr;
    QPixmap m_background;
    QList<StyledItem> m_items;
    StyledLayout m_layout;
    int m_step = 10;
    int m_range = 0;
    int m_page = 0;
    int m_position = 0;
    Place m_anchor;
    Place m_caret;
};

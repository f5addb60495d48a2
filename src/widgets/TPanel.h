#pragma once

#include <QFrame>

enum class TPanelBevel { bvNone, bvLowered, bvRaised };

// A panel of a window: an optional one-pixel black border, then an outer and
// an inner bevel, each one pixel wide. Panels aligned to the top take the
// full width of their parent.
class TPanel : public QFrame {
    Q_OBJECT
public:
    TPanel(QWidget* parent, const QRect& bounds, TPanelBevel outer, TPanelBevel inner, bool singleBorder = true);

    TPanelBevel BevelOuter() const { return m_outer; }
    TPanelBevel BevelInner() const { return m_inner; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawBevel(QPainter& painter, QRect& rect, TPanelBevel bevel) const;

    TPanelBevel m_outer;
    TPanelBevel m_inner;
    bool m_singleBorder;
};

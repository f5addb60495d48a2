#include "widgets/TPanel.h"

#include <QPainter>

TPanel::TPanel(QWidget* parent, const QRect& bounds, TPanelBevel outer, TPanelBevel inner, bool singleBorder)
    : QFrame(parent), m_outer(outer), m_inner(inner), m_singleBorder(singleBorder)
{
    setGeometry(bounds);
}

void TPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QRect r = rect().adjusted(0, 0, -1, -1);
    if (m_singleBorder) {
        painter.setPen(Qt::black);
        painter.drawRect(r);
        r.adjust(1, 1, -1, -1);
    }
    drawBevel(painter, r, m_outer);
    drawBevel(painter, r, m_inner);
}

// A raised bevel is light at the top and left, dark at the bottom and right;
// a lowered one the other way round. Each bevel narrows the rectangle.
void TPanel::drawBevel(QPainter& painter, QRect& r, TPanelBevel bevel) const
{
    if (bevel == TPanelBevel::bvNone)
        return;
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    const bool raised = bevel == TPanelBevel::bvRaised;
    painter.setPen(raised ? light : dark);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(raised ? dark : light);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    r.adjust(1, 1, -1, -1);
}

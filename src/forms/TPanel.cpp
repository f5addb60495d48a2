#include "forms/TPanel.h"

#include <QEvent>
#include <QPainter>

namespace {

// One bevel of one pixel: light on the top and left edges, dark on the
// bottom and right ones (swapped for a lowered bevel).
void drawBevel(QPainter& painter, const QRect& r, bool lowered, const QPalette& palette)
{
    const QColor light = palette.color(QPalette::Light);
    const QColor dark = palette.color(QPalette::Dark);
    painter.setPen(lowered ? dark : light);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(lowered ? light : dark);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

} // namespace

TPanel::TPanel(QWidget* parent, const QRect& bounds, bool innerLowered)
    : QWidget(parent), m_innerLowered(innerLowered)
{
    setGeometry(bounds);
}

void TPanel::alignTop()
{
    parentWidget()->installEventFilter(this);
    setGeometry(0, 0, parentWidget()->width(), height());
}

bool TPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(0, 0, parentWidget()->width(), height());
    return QWidget::eventFilter(watched, event);
}

void TPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QRect r = rect().adjusted(0, 0, -1, -1);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(r);
    r.adjust(1, 1, -1, -1);
    drawBevel(painter, r, false, palette());
    if (m_innerLowered)
        drawBevel(painter, r.adjusted(1, 1, -1, -1), true, palette());
}

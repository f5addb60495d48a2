#include "TRepFrame.h"

#include "RepRound.h"

#include <QPainter>

namespace {

constexpr double TenthsPerPoint = 254.0 / 72.0;

} // namespace

void fillBox(QPainter& canvas, const QRect& box, const QColor& color)
{
    canvas.setPen(Qt::NoPen);
    canvas.setBrush(color);
    canvas.drawRect(box);
}

int TRepFrame::InsetTenths() const
{
    return nearest(Width * TenthsPerPoint);
}

int TRepFrame::Thickness(double scale) const
{
    if (Width == -1)
        return 1;
    const int thickness = nearest(scale * TenthsPerPoint * Width);
    return thickness < 1 && Width >= 1 ? 1 : thickness;
}

void TRepFrame::Paint(QPainter& canvas, const QRect& box, double scaleX, double scaleY) const
{
    const int tx = Thickness(scaleX);
    const int ty = Thickness(scaleY);
    const int left = box.left();
    const int top = box.top();
    const int right = box.left() + box.width();
    const int bottom = box.top() + box.height();
    if (DrawTop)
        fillBox(canvas, QRect(QPoint(left, top), QPoint(right - 1, top + ty - 1)), Color);
    if (DrawBottom)
        fillBox(canvas, QRect(QPoint(left, bottom - ty), QPoint(right - 1, bottom - 1)), Color);
    if (DrawLeft)
        fillBox(canvas, QRect(QPoint(left, top), QPoint(left + tx - 1, bottom - 1)), Color);
    if (DrawRight)
        fillBox(canvas, QRect(QPoint(right - tx, top), QPoint(right - 1, bottom - 1)), Color);
}

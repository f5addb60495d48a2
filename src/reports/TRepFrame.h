#pragma once

#include <QColor>
#include <QRect>

class QPainter;

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// The sides drawn around a report page, a band or an element. Width is in
// points (1/72 inch).
// Fills a device box with no outline. The canvas's pen and brush change only
// when they differ, so a recorded page holds few state changes.
void fillBox(QPainter& canvas, const QRect& box, const QColor& color);

struct TRepFrame {
    QColor Color = Qt::black;
    bool DrawTop = false;
    bool DrawBottom = false;
    bool DrawLeft = false;
    bool DrawRight = false;
    TPenStyle Style = TPenStyle::psSolid;
    int Width = 1;

    bool AnySide() const { return DrawTop || DrawBottom || DrawLeft || DrawRight; }
    void SetAllSides(bool on) { DrawTop = DrawBottom = DrawLeft = DrawRight = on; }
    // The line thickness in 0.1 mm.
    int InsetTenths() const;
    // Device pixels of a line at `scale` device pixels per 0.1 mm, at least 1.
    int Thickness(double scale) const;
    // Paints the drawn sides as filled strips inside `box` (device pixels,
    // right and bottom edges excluded), so the pen style never shows.
    void Paint(QPainter& canvas, const QRect& box, double scaleX, double scaleY) const;
};

// Draws the program's pictures (logo, background, button faces, arrows, stone
// texture, icons and the preview tool bar pictures) and writes them as PNG files
// into the folder given on the command line. The drawing uses no randomness, so
// every run writes the same bytes.

#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

constexpr double Pi = 3.14159265358979323846;

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void smooth(QPainter& p)
{
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                     | QPainter::SmoothPixmapTransform);
}

QFont boldFont(int pixels)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(true);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QLinearGradient vertical(double top, double bottom, const QColor& from, const QColor& to)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    return g;
}

QRadialGradient radial(QPointF centre, double radius, const QGradientStops& stops)
{
    QRadialGradient g(centre, radius);
    g.setStops(stops);
    return g;
}

QPainterPath closedPath(const QPolygonF& corners)
{
    QPainterPath path;
    path.addPolygon(corners);
    path.closeSubpath();
    return path;
}

// A water drop whose round part has centre (cx, cy) and radius r, pointing up to tipY.
QPainterPath dropPath(double cx, double cy, double r, double tipY)
{
    const double shoulder = tipY + (cy - tipY) * 0.38;
    QPainterPath path;
    path.moveTo(cx, tipY);
    path.cubicTo(cx + r * 0.18, shoulder, cx + r, cy - r * 0.62, cx + r, cy);
    path.arcTo(QRectF(cx - r, cy - r, 2 * r, 2 * r), 0, -180);
    path.cubicTo(cx - r, cy - r * 0.62, cx - r * 0.18, shoulder, cx, tipY);
    path.closeSubpath();
    return path;
}

// The area below a sine wave running across [left, right] around baseline y.
QPainterPath wavePath(double left, double right, double bottom, double y, double amplitude,
                      double length, double phase)
{
    QPainterPath path;
    path.moveTo(left, bottom);
    for (double x = left; x <= right; x += 0.5)
        path.lineTo(x, y + amplitude * std::sin((x - left) / length * 2 * Pi + phase));
    path.lineTo(right, bottom);
    path.closeSubpath();
    return path;
}

// A white drop with a soft aqua shade and a highlight along its left flank.
void paintDrop(QPainter& p, const QPainterPath& drop, const QRectF& box, double outline)
{
    QLinearGradient fill(box.topLeft(), box.bottomRight());
    fill.setColorAt(0, QColor(0xff, 0xff, 0xff));
    fill.setColorAt(0.55, QColor(0xe6, 0xf6, 0xff));
    fill.setColorAt(1, QColor(0x9c, 0xd8, 0xf7));
    p.setBrush(fill);
    p.setPen(QPen(QColor(0x0b, 0x3d, 0x86), outline));
    p.drawPath(drop);

    const double w = box.width();
    QPainterPath shine;
    shine.moveTo(box.left() + w * 0.24, box.top() + box.height() * 0.58);
    shine.quadTo(box.left() + w * 0.22, box.top() + box.height() * 0.40,
                 box.left() + w * 0.40, box.top() + box.height() * 0.22);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 230), w * 0.07, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(shine);
}

void paintWaves(QPainter& p, const QRectF& area, double baseline, double scale)
{
    const double l = area.left(), r = area.right(), b = area.bottom();
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(baseline - 4 * scale, b, QColor(0x4f, 0xb8, 0xee), QColor(0x15, 0x65, 0xc0)));
    p.drawPath(wavePath(l, r, b, baseline, 3.2 * scale, 46 * scale, 0.4));
    p.setBrush(vertical(baseline + 6 * scale, b, QColor(0x1e, 0x88, 0xe5), QColor(0x0a, 0x3a, 0x86)));
    p.drawPath(wavePath(l, r, b, baseline + 10 * scale, 3.0 * scale, 38 * scale, 2.3));
}

// --- logo -------------------------------------------------------------------

void paintBadge(QPainter& p, QPointF c, double radius)
{
    QRadialGradient shadow(c + QPointF(0, 3), radius + 4);
    shadow.setColorAt(0.90, QColor(0, 0, 0, 80));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(c + QPointF(0, 3), radius + 4, radius + 4);

    p.setBrush(vertical(c.y() - radius, c.y() + radius, QColor(0x2f, 0x7c, 0xd6), QColor(0x08, 0x2a, 0x5e)));
    p.setPen(QPen(QColor(0x05, 0x1c, 0x40), 1.2));
    p.drawEllipse(c, radius, radius);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 225), 1.6));
    p.drawEllipse(c, radius - 4.5, radius - 4.5);

    const double inner = radius - 8;
    p.setBrush(radial(c - QPointF(0, inner * 0.5), inner * 1.6,
                      {{0, QColor(0xf2, 0xfb, 0xff)}, {0.5, QColor(0x9d, 0xd8, 0xf6)}, {1, QColor(0x2c, 0x8c, 0xd8)}}));
    p.setPen(QPen(QColor(0x05, 0x1c, 0x40), 1));
    p.drawEllipse(c, inner, inner);

    QPainterPath disc;
    disc.addEllipse(c, inner - 0.5, inner - 0.5);
    p.save();
    p.setClipPath(disc);
    paintWaves(p, QRectF(c.x() - inner, c.y() - inner, 2 * inner, 2 * inner), c.y() + 15, 1.0);
    p.restore();
}

// A glassy sheen over the upper part of the badge, drawn last.
void paintSheen(QPainter& p, QPointF c, double radius)
{
    QPainterPath badge, lower;
    badge.addEllipse(c, radius - 1.5, radius - 1.5);
    lower.addEllipse(QPointF(c.x(), c.y() + radius * 0.95), radius * 1.5, radius * 1.05);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(c.y() - radius, c.y(), QColor(255, 255, 255, 90), QColor(255, 255, 255, 0)));
    p.drawPath(badge.subtracted(lower));
}

void paintRibbon(QPainter& p)
{
    const QColor tail(0x9a, 0x12, 0x12), fold(0x5c, 0x06, 0x06);
    p.setPen(QPen(QColor(0x4a, 0x05, 0x05), 0.8));
    p.setBrush(tail);
    p.drawPolygon(QPolygonF({{0.5, 106}, {21, 106}, {21, 126}, {0.5, 126}, {7, 116}}));
    p.drawPolygon(QPolygonF({{145.5, 106}, {125, 106}, {125, 126}, {145.5, 126}, {139, 116}}));
    p.setBrush(fold);
    p.drawPolygon(QPolygonF({{12, 121}, {21, 126}, {21, 121}}));
    p.drawPolygon(QPolygonF({{134, 121}, {125, 126}, {125, 121}}));

    const QRectF band(12, 101, 122, 20);
    QLinearGradient red = vertical(band.top(), band.bottom(), QColor(0xf0, 0x4a, 0x3e), QColor(0xb0, 0x14, 0x14));
    red.setColorAt(0.45, QColor(0xdc, 0x2a, 0x24));
    p.setBrush(red);
    p.drawRect(band);
    p.setPen(QPen(QColor(0xff, 0xd8, 0x70, 200), 0.8));
    p.drawLine(QPointF(band.left() + 1, band.top() + 2), QPointF(band.right() - 1, band.top() + 2));
    p.drawLine(QPointF(band.left() + 1, band.bottom() - 2), QPointF(band.right() - 1, band.bottom() - 2));

    QFont font = boldFont(11);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
    p.setFont(font);
    p.setPen(QColor(0x40, 0x00, 0x00, 160));
    p.drawText(band.translated(0.6, 0.8), Qt::AlignCenter, QStringLiteral("TIRTA WANGSA"));
    p.setPen(Qt::white);
    p.drawText(band, Qt::AlignCenter, QStringLiteral("TIRTA WANGSA"));
}

void paintInitials(QPainter& p, const QRectF& box, int pixels)
{
    p.setFont(boldFont(pixels));
    p.setPen(QColor(0x0b, 0x3d, 0x86));
    p.drawText(box, Qt::AlignCenter, QStringLiteral("TW"));
}

QImage logo()
{
    QImage image = canvas(146, 149);
    QPainter p(&image);
    smooth(p);
    const QPointF c(73, 72);
    paintBadge(p, c, 69);
    const double r = 26, cy = 72, tip = 13;
    paintDrop(p, dropPath(c.x(), cy, r, tip), QRectF(c.x() - r, tip, 2 * r, cy + r - tip), 1.6);
    paintInitials(p, QRectF(c.x() - r, cy - r + 6, 2 * r, 2 * r - 8), 24);
    paintSheen(p, c, 69);
    paintRibbon(p);
    return image;
}

// --- window icons: the logo's badge and drop, without ribbon ---------------

QImage icon(int size)
{
    QImage image = canvas(size, size);
    QPainter p(&image);
    smooth(p);
    p.scale(size / 256.0, size / 256.0);
    const QPointF c(128, 128);
    const double scale = size < 64 ? 2.2 : 1.7;
    p.setPen(QPen(QColor(0x05, 0x1c, 0x40), size < 64 ? 8 : 3));
    p.setBrush(vertical(4, 252, QColor(0x3a, 0x8a, 0xe0), QColor(0x08, 0x2a, 0x5e)));
    p.drawEllipse(c, 123, 123);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 230), size < 64 ? 12 : 6));
    p.drawEllipse(c, 106, 106);

    QPainterPath disc;
    disc.addEllipse(c, 96, 96);
    p.save();
    p.setClipPath(disc);
    paintWaves(p, QRectF(32, 32, 192, 192), 186, scale);
    p.restore();

    const double r = 58, cy = 146, tip = 34;
    paintDrop(p, dropPath(128, cy, r, tip), QRectF(128 - r, tip, 2 * r, cy + r - tip), size < 64 ? 9 : 4);
    if (size >= 64)
        paintInitials(p, QRectF(128 - r, cy - r + 14, 2 * r, 2 * r - 18), 54);
    paintSheen(p, c, 123);
    return image;
}

// --- background -------------------------------------------------------------

QImage background()
{
    QImage image = canvas(353, 90);
    QPainter p(&image);
    p.fillRect(image.rect(), vertical(0, 90, QColor(0x1f, 0x62, 0xc4), QColor(0x16, 0x4c, 0xa3)));
    return image;
}

// --- button faces -----------------------------------------------------------

constexpr int FaceHeight = 24;

void paintPill(QPainter& p, const QRectF& pill)
{
    const double radius = pill.height() / 2;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 55));
    p.drawRoundedRect(pill.translated(0, 1.2), radius, radius);

    QLinearGradient green = vertical(pill.top(), pill.bottom(), QColor(0x7d, 0xdb, 0x6e), QColor(0x12, 0x75, 0x1f));
    green.setColorAt(0.5, QColor(0x2f, 0xa8, 0x3a));
    green.setColorAt(0.52, QColor(0x23, 0x96, 0x2f));
    p.setBrush(green);
    p.setPen(QPen(QColor(0x0b, 0x4f, 0x16), 1));
    p.drawRoundedRect(pill, radius, radius);

    const QRectF gloss(pill.left() + radius * 0.6, pill.top() + 1.5, pill.width() - radius * 1.2, pill.height() * 0.42);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(gloss.top(), gloss.bottom(), QColor(255, 255, 255, 150), QColor(255, 255, 255, 20)));
    p.drawRoundedRect(gloss, gloss.height() / 2, gloss.height() / 2);
}

void paintKnob(QPainter& p, QPointF c, double r)
{
    p.setBrush(radial(c - QPointF(r * 0.35, r * 0.4), r * 1.5,
                      {{0, QColor(0xff, 0x9a, 0x88)}, {0.35, QColor(0xf0, 0x2c, 0x22)}, {1, QColor(0x86, 0x08, 0x08)}}));
    p.setPen(QPen(QColor(0x5a, 0x04, 0x04), 0.9));
    p.drawEllipse(c, r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(QPointF(c.x() - r * 0.32, c.y() - r * 0.42), r * 0.36, r * 0.22);
}

void paintWord(QPainter& p, const QRectF& area, const QString& word)
{
    QFont font = boldFont(12);
    font.setHintingPreference(QFont::PreferFullHinting);
    p.setFont(font);
    p.setPen(QColor(0x04, 0x30, 0x0a, 190));
    p.drawText(area.translated(0, 1), Qt::AlignCenter, word);
    p.setPen(Qt::white);
    p.drawText(area, Qt::AlignCenter, word);
}

QImage buttonFace(const QString& word, int width)
{
    QImage image = canvas(width, FaceHeight);
    QPainter p(&image);
    smooth(p);
    const QRectF pill(0.5, 0.5, width - 1, FaceHeight - 2);
    paintPill(p, pill);
    const double knob = pill.height() / 2 - 2.5;
    const QPointF centre(pill.left() + 2.5 + knob, pill.center().y());
    paintKnob(p, centre, knob);
    paintWord(p, QRectF(centre.x() + knob + 1, pill.top(), pill.right() - centre.x() - knob - 6, pill.height()), word);
    return image;
}

// --- navigation arrows ------------------------------------------------------

QImage arrowRight()
{
    QImage image = canvas(40, 24);
    QPainter p(&image);
    smooth(p);
    const QPainterPath arrow = closedPath({{2.5, 8}, {22, 8}, {22, 2}, {37.5, 11.5}, {22, 21}, {22, 15}, {2.5, 15}});

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 50));
    p.drawPath(arrow.translated(0.8, 1.4));
    QLinearGradient blue = vertical(2, 21, QColor(0x6c, 0xbc, 0xff), QColor(0x0f, 0x4f, 0xb0));
    blue.setColorAt(0.5, QColor(0x2a, 0x84, 0xe6));
    p.setBrush(blue);
    p.setPen(QPen(QColor(0x0a, 0x33, 0x7a), 1, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
    p.drawPath(arrow);

    p.setClipRect(QRectF(0, 0, 40, 11.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 70));
    p.drawPath(arrow.translated(0, 0.8).intersected(arrow));
    return image;
}

QImage arrowLeft()
{
    return arrowRight().mirrored(true, false);
}

// --- stone texture that tiles on its 100-pixel period -----------------------

quint32 hash(int x, int y, quint32 seed)
{
    quint32 h = quint32(x) * 374761393u + quint32(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

double unit(quint32 h) { return (h & 0xffffff) / double(0x1000000); }

// Value noise whose lattice repeats every `cells` cells across the tile.
double tiledNoise(double x, double y, int cells, quint32 seed)
{
    const double size = 100.0 / cells;
    const double fx = x / size, fy = y / size;
    const int ix = int(std::floor(fx)), iy = int(std::floor(fy));
    auto at = [&](int i, int j) { return unit(hash((i % cells + cells) % cells, (j % cells + cells) % cells, seed)); };
    auto ease = [](double t) { return t * t * (3 - 2 * t); };
    const double tx = ease(fx - ix), ty = ease(fy - iy);
    const double top = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * tx;
    const double bottom = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * tx;
    return top + (bottom - top) * ty;
}

struct Pebble {
    double edge; // 0 on the seam between two pebbles, rising to 1 inside
    double tone; // the pebble's own shade, 0..1
};

// Scattered points (wrapped across the tile) split the tile into pebbles; the
// distance to the nearest point minus the nearest-but-one falls to zero on seams.
Pebble pebbleAt(double x, double y, int cells)
{
    const double size = 100.0 / cells;
    const int cx = int(x / size), cy = int(y / size);
    double first = 1e9, second = 1e9;
    quint32 nearest = 0;
    for (int j = cy - 1; j <= cy + 1; ++j)
        for (int i = cx - 1; i <= cx + 1; ++i) {
            const int wi = (i + cells) % cells, wj = (j + cells) % cells;
            const double px = (i + 0.05 + 0.9 * unit(hash(wi, wj, 91))) * size;
            const double py = (j + 0.05 + 0.9 * unit(hash(wi, wj, 92))) * size;
            const double d = std::hypot(x - px, y - py);
            if (d < first) {
                second = first;
                first = d;
                nearest = hash(wi, wj, 93);
            } else if (d < second) {
                second = d;
            }
        }
    return {std::min(1.0, (second - first) / size * 1.6), unit(nearest)};
}

QImage stone()
{
    constexpr int N = 100;
    std::vector<double> height(N * N), tone(N * N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            double rough = 0, weight = 0.5;
            for (int cells : {5, 10, 20, 50}) {
                rough += weight * tiledNoise(x, y, cells, quint32(cells));
                weight *= 0.5;
            }
            const Pebble pebble = pebbleAt(x, y, 5);
            height[y * N + x] = std::sqrt(pebble.edge) * 0.4 + rough * 0.8 + unit(hash(x, y, 7)) * 0.08;
            tone[y * N + x] = pebble.tone * 0.2 + tiledNoise(x, y, 4, 11) * 0.1;
        }
    auto at = [&](int x, int y) { return height[((y + N) % N) * N + (x + N) % N]; };

    QImage image(N, N, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const double light = (at(x - 1, y - 1) - at(x + 1, y + 1)) * 1.8;
            const double v = std::clamp(at(x, y) * 0.4 + light + tone[y * N + x], 0.0, 1.0);
            image.setPixel(x, y, qRgb(int(50 + 50 * v), int(33 + 34 * v), int(21 + 23 * v)));
        }
    return image;
}

// --- preview tool bar pictures ----------------------------------------------

const QColor Ink(0x2b, 0x3a, 0x4a);
const QColor Accent(0x1e, 0x6f, 0xd9);
const QColor AccentDark(0x0d, 0x47, 0xa1);

QImage tool(const std::function<void(QPainter&)>& paint)
{
    QImage image = canvas(24, 24);
    QPainter p(&image);
    smooth(p);
    paint(p);
    return image;
}

void magnifier(QPainter& p, const std::function<void(QPainter&)>& glyph)
{
    p.setPen(QPen(Ink, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15.5, 15.5), QPointF(21, 21));
    QRadialGradient lens(8, 7, 10);
    lens.setColorAt(0, Qt::white);
    lens.setColorAt(1, QColor(0xd6, 0xea, 0xfb));
    p.setBrush(lens);
    p.setPen(QPen(Ink, 1.6));
    p.drawEllipse(QPointF(10, 10), 7.2, 7.2);
    glyph(p);
}

void fitGlyph(QPainter& p)
{
    p.setPen(QPen(Accent, 1.3, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    for (const auto& corner : {QPointF(6.5, 6.5), QPointF(13.5, 6.5), QPointF(13.5, 13.5), QPointF(6.5, 13.5)}) {
        const double dx = corner.x() < 10 ? 2.5 : -2.5, dy = corner.y() < 10 ? 2.5 : -2.5;
        p.drawPolyline(QPolygonF({corner + QPointF(0, dy), corner, corner + QPointF(dx, 0)}));
    }
}

void actualSizeGlyph(QPainter& p)
{
    QFont font = boldFont(8);
    font.setHintingPreference(QFont::PreferFullHinting);
    p.setFont(font);
    p.setPen(AccentDark);
    p.drawText(QRectF(2, 2, 16, 16), Qt::AlignCenter, QStringLiteral("1:1"));
}

void widthGlyph(QPainter& p)
{
    p.setPen(QPen(Accent, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(5.5, 10), QPointF(14.5, 10));
    p.setBrush(Accent);
    p.drawPolygon(QPolygonF({{4.5, 10}, {7.5, 7.5}, {7.5, 12.5}}));
    p.drawPolygon(QPolygonF({{15.5, 10}, {12.5, 7.5}, {12.5, 12.5}}));
}

// Left-pointing navigation triangle, optionally with a bar at its tip.
void navigation(QPainter& p, bool toEnd, bool mirrored)
{
    if (mirrored) {
        p.translate(24, 0);
        p.scale(-1, 1);
    }
    p.setBrush(vertical(5, 19, QColor(0x5a, 0xa8, 0xf0), AccentDark));
    p.setPen(QPen(QColor(0x0a, 0x33, 0x7a), 1, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    const double shift = toEnd ? 2.5 : 0;
    p.drawPolygon(QPolygonF({{6.5 + shift, 12}, {16.5 + shift, 5.5}, {16.5 + shift, 18.5}}));
    if (toEnd)
        p.drawRect(QRectF(4.5, 5.5, 3, 13));
}

void printer(QPainter& p)
{
    p.setPen(QPen(Ink, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 2.5, 11, 8));
    p.setBrush(vertical(8, 17, QColor(0xb8, 0xc4, 0xcf), QColor(0x6b, 0x7b, 0x8a)));
    p.drawRoundedRect(QRectF(2.5, 8.5, 19, 9), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 14.5, 11, 7));
    p.setPen(QPen(QColor(0x9a, 0xa8, 0xb5), 1));
    p.drawLine(QPointF(8.5, 17), QPointF(15.5, 17));
    p.drawLine(QPointF(8.5, 19), QPointF(13.5, 19));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3c, 0xc8, 0x4a));
    p.drawEllipse(QPointF(18.5, 11.5), 1, 1);
}

void gear(QPainter& p, QPointF c)
{
    QPainterPath wheel;
    for (int i = 0; i < 16; ++i) {
        const double a = i * Pi / 8;
        const double r = (i % 2 == 0) ? 5.6 : 4.2;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        i == 0 ? wheel.moveTo(pt) : wheel.lineTo(pt);
    }
    wheel.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(c, 1.6, 1.6);
    p.setPen(QPen(QColor(0x5d, 0x3a, 0x00), 0.9, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.setBrush(vertical(c.y() - 6, c.y() + 6, QColor(0xff, 0xca, 0x4a), QColor(0xe0, 0x8a, 0x00)));
    p.drawPath(wheel.subtracted(hole));
}

void floppy(QPainter& p)
{
    const QPainterPath body = closedPath({{3.5, 3.5}, {18, 3.5}, {20.5, 6}, {20.5, 20.5}, {3.5, 20.5}});
    p.setPen(QPen(QColor(0x0a, 0x33, 0x7a), 1, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.setBrush(vertical(3, 21, QColor(0x4a, 0x98, 0xea), AccentDark));
    p.drawPath(body);
    p.setBrush(QColor(0xdd, 0xe4, 0xea));
    p.drawRect(QRectF(7.5, 3.5, 9, 6));
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawRect(QRectF(13, 4.5, 2, 4));
    p.setPen(QPen(QColor(0x0a, 0x33, 0x7a), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 12.5, 11, 8));
    p.setPen(QPen(QColor(0x9a, 0xa8, 0xb5), 1));
    p.drawLine(QPointF(8.5, 15), QPointF(15.5, 15));
    p.drawLine(QPointF(8.5, 17.5), QPointF(15.5, 17.5));
}

void openFolder(QPainter& p)
{
    const QPen edge(QColor(0x7a, 0x4a, 0x00), 1, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    p.setPen(edge);
    p.setBrush(vertical(4, 20, QColor(0xf4, 0xb8, 0x3a), QColor(0xd0, 0x8a, 0x10)));
    p.drawPolygon(QPolygonF({{2.5, 5.5}, {8.5, 5.5}, {10.5, 7.5}, {18.5, 7.5}, {18.5, 19.5}, {2.5, 19.5}}));
    p.setPen(QPen(QColor(0x9a, 0xa8, 0xb5), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 9.5, 11, 6));
    p.setPen(edge);
    p.setBrush(vertical(11, 20, QColor(0xff, 0xe0, 0x7a), QColor(0xf2, 0xb0, 0x2a)));
    p.drawPolygon(QPolygonF({{6.5, 11.5}, {22.5, 11.5}, {18.5, 19.5}, {2.5, 19.5}}));
}

void closeMark(QPainter& p)
{
    QRadialGradient red(10, 8, 12);
    red.setColorAt(0, QColor(0xff, 0x6e, 0x5e));
    red.setColorAt(1, QColor(0xc6, 0x16, 0x16));
    p.setBrush(red);
    p.setPen(QPen(QColor(0x7a, 0x08, 0x08), 1));
    p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8.5, 8.5), QPointF(15.5, 15.5));
    p.drawLine(QPointF(15.5, 8.5), QPointF(8.5, 15.5));
}

// --- writing ----------------------------------------------------------------

struct Face { const char* file; const char* word; int width; };

// Each face is as wide as the smallest button that carries it, less 3 pixels a side.
constexpr Face Faces[] = {
    {"simpan", "Simpan", 83},  {"tambah", "Tambah", 91},  {"hapus", "Hapus", 75},
    {"keluar", "Keluar", 83},  {"cetak-harian", "Cetak Harian", 131},
    {"preview", "Preview", 91}, {"print", "Print", 67},   {"batal", "Batal", 75},
};

bool write(const QDir& folder, const QString& name, const QImage& image)
{
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    if (image.save(path, "PNG", 9))
        return true;
    QTextStream(stderr) << "cannot write " << path << '\n';
    return false;
}

bool writeAll(const QDir& folder)
{
    bool ok = write(folder, "logo", logo()) && write(folder, "background", background())
        && write(folder, "icon", icon(32)) && write(folder, "icon-256", icon(256))
        && write(folder, "arrow-left", arrowLeft()) && write(folder, "arrow-right", arrowRight())
        && write(folder, "stone", stone());
    for (const Face& face : Faces)
        ok = ok && write(folder, QStringLiteral("face-") + face.file, buttonFace(face.word, face.width));

    const std::pair<const char*, std::function<void(QPainter&)>> tools[] = {
        {"zoom-fit", [](QPainter& p) { magnifier(p, fitGlyph); }},
        {"zoom-100", [](QPainter& p) { magnifier(p, actualSizeGlyph); }},
        {"zoom-width", [](QPainter& p) { magnifier(p, widthGlyph); }},
        {"first", [](QPainter& p) { navigation(p, true, false); }},
        {"previous", [](QPainter& p) { navigation(p, false, false); }},
        {"next", [](QPainter& p) { navigation(p, false, true); }},
        {"last", [](QPainter& p) { navigation(p, true, true); }},
        {"printer-setup", [](QPainter& p) { printer(p); gear(p, QPointF(17.5, 17.5)); }},
        {"print", printer},
        {"save", floppy},
        {"open", openFolder},
        {"close", closeMark},
    };
    for (const auto& [name, paint] : tools)
        ok = ok && write(folder, QStringLiteral("tool-") + name, tool(paint));
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: make-pictures <folder>\n";
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists()) {
        QTextStream(stderr) << "no such folder: " << folder.path() << '\n';
        return 2;
    }
    return writeAll(folder) ? 0 : 1;
}

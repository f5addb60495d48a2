#include "PagePlayer.h"

#include "RecordedPage.h"

#include <QPaintDevice>
#include <QPainter>

#include <cmath>

namespace {

using Page = RecordedPage;

constexpr QPainter::RenderHints PageHints = QPainter::Antialiasing | QPainter::TextAntialiasing
    | QPainter::SmoothPixmapTransform;

class Player {
public:
    Player(const Page& page, QPainter& painter, const QRectF& target);
    void Run();

    void operator()(const Page::SelectFont& command) { m_painter.setFont(m_fonts[size_t(command.index)]); }
    void operator()(const Page::SelectPen& command);
    void operator()(const Page::SelectBrush& command);
    void operator()(const Page::Rect& command);
    void operator()(const Page::Line& command) { m_painter.drawLine(command.line); }
    void operator()(const Page::Polygon& command);
    void operator()(const Page::Path& command) { m_painter.drawPath(command.path); }
    void operator()(const Page::Text& command) { m_painter.drawText(command.baseline, command.text); }
    void operator()(const Page::Image& command);
    void operator()(const Page::Clip& command);
    void operator()(const Page::Transform& command);
    void operator()(const Page::Hints& command);

private:
    void ApplyPen();
    void DrawHairline(const QRectF& rect, const QRectF& device);

    const Page& m_page;
    QPainter& m_painter;
    QTransform m_base; // page pixels to the painter's coordinates before the page's own transform
    std::vector<QFont> m_fonts;
    QPen m_pen{Qt::black};
    QBrush m_brush{Qt::NoBrush};
};

// A font of the table keeps its size in recorded pixels whatever the device:
// a device of D dots per inch draws P pixels with a point size of P * 72 / D.
Player::Player(const Page& page, QPainter& painter, const QRectF& target) : m_page(page), m_painter(painter)
{
    const QSize sheet = page.SheetSize();
    m_base = QTransform(target.width() / sheet.width(), 0, 0, target.height() / sheet.height(), target.x(), target.y())
        * painter.worldTransform();
    const int deviceDpi = painter.device() ? painter.device()->logicalDpiY() : 0;
    const double dpi = deviceDpi > 0 ? deviceDpi : 96.0;
    m_fonts.reserve(page.Fonts().size());
    for (const Page::Font& font : page.Fonts()) {
        QFont sized = font.font;
        sized.setPointSizeF(font.pixelSize * 72.0 / dpi);
        m_fonts.push_back(sized);
    }
}

void Player::Run()
{
    m_painter.save();
    m_painter.setWorldTransform(m_base);
    m_painter.setRenderHints(PageHints, false);
    m_painter.setBrush(m_brush);
    ApplyPen();
    for (const Page::Command& command : m_page.Commands())
        std::visit(*this, command);
    m_painter.restore();
}

void Player::operator()(const Page::SelectPen& command)
{
    m_pen = m_page.Pens()[size_t(command.index)];
    ApplyPen();
}

// A pen that would draw thinner than a device pixel draws a hairline.
void Player::ApplyPen()
{
    const double scale = std::sqrt(std::fabs(m_painter.deviceTransform().determinant()));
    if (m_pen.isCosmetic() || m_pen.widthF() == 0 || m_pen.widthF() * scale >= 1) {
        m_painter.setPen(m_pen);
        return;
    }
    QPen hairline = m_pen;
    hairline.setWidthF(0);
    m_painter.setPen(hairline);
}

void Player::operator()(const Page::SelectBrush& command)
{
    m_brush = m_page.Brushes()[size_t(command.index)];
    m_painter.setBrush(m_brush);
}

// Frame lines and rules are filled strips one recorded pixel thin; scaled
// below a device pixel they would fall between the pixel centres and vanish.
void Player::operator()(const Page::Rect& command)
{
    const QRectF& rect = command.rect;
    const QTransform& device = m_painter.deviceTransform();
    if (m_brush.style() != Qt::NoBrush && rect.width() > 0 && rect.height() > 0
        && device.type() <= QTransform::TxScale) {
        const QRectF mapped = device.mapRect(rect);
        if (mapped.width() < 1 || mapped.height() < 1) {
            DrawHairline(rect, mapped);
            if (m_pen.style() != Qt::NoPen) {
                m_painter.setBrush(Qt::NoBrush);
                m_painter.drawRect(rect);
                m_painter.setBrush(m_brush);
            }
            return;
        }
    }
    m_painter.drawRect(rect);
}

void Player::DrawHairline(const QRectF& rect, const QRectF& device)
{
    m_painter.setPen(QPen(m_brush.color(), 0, Qt::SolidLine, Qt::FlatCap));
    const QPointF centre = rect.center();
    if (device.height() < 1 && device.width() >= 1)
        m_painter.drawLine(QPointF(rect.left(), centre.y()), QPointF(rect.right(), centre.y()));
    else if (device.width() < 1 && device.height() >= 1)
        m_painter.drawLine(QPointF(centre.x(), rect.top()), QPointF(centre.x(), rect.bottom()));
    else
        m_painter.drawPoint(centre);
    ApplyPen();
}

void Player::operator()(const Page::Polygon& command)
{
    using PageFormat::PolygonMode;
    switch (command.mode) {
    case PolygonMode::OddEven: m_painter.drawPolygon(command.points, Qt::OddEvenFill); break;
    case PolygonMode::Winding: m_painter.drawPolygon(command.points, Qt::WindingFill); break;
    case PolygonMode::Convex: m_painter.drawConvexPolygon(command.points); break;
    case PolygonMode::Polyline: m_painter.drawPolyline(command.points); break;
    }
}

void Player::operator()(const Page::Image& command)
{
    m_painter.drawImage(command.target, m_page.Images()[size_t(command.index)], command.source);
}

void Player::operator()(const Page::Clip& command)
{
    using PageFormat::ClipKind;
    switch (command.kind) {
    case ClipKind::Off: m_painter.setClipping(false); break;
    case ClipKind::On: m_painter.setClipping(true); break;
    case ClipKind::Rects: m_painter.setClipRegion(command.region, command.operation); break;
    case ClipKind::Path: m_painter.setClipPath(command.path, command.operation); break;
    }
}

void Player::operator()(const Page::Transform& command)
{
    m_painter.setWorldTransform(command.transform * m_base);
    ApplyPen();
}

void Player::operator()(const Page::Hints& command)
{
    m_painter.setRenderHints(PageHints, false);
    m_painter.setRenderHints(command.hints, true);
}

} // namespace

namespace PagePlayer {

void Play(const RecordedPage& page, QPainter& painter, const QRectF& target)
{
    Player(page, painter, target).Run();
}

void PlayAtTrueSize(const RecordedPage& page, QPainter& painter)
{
    const QPaintDevice* device = painter.device();
    const QSize sheet = page.SheetSize();
    const QSizeF dpi = page.Resolution();
    Play(page, painter,
         QRectF(0, 0, sheet.width() * device->logicalDpiX() / dpi.width(),
                sheet.height() * device->logicalDpiY() / dpi.height()));
}

} // namespace PagePlayer

#include "TRepPreview.h"

#include "errors/HandlerGuard.h"
#include "reports/PagePlayer.h"
#include "reports/RepRound.h"
#include "reports/TRepMessage.h"
#include "reports/TRepPrinter.h"

#include <QPainter>
#include <QScrollBar>

namespace {

constexpr int Border = 4; // outline and shadow around the page
constexpr double TenthsPerInch = 254.0;

} // namespace

TRepPreviewImage::TRepPreviewImage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("RepPreviewImage"));
}

void TRepPreviewImage::LoadPage(const TRepPrinter& output, int n)
{
    m_pageNumber = n;
    m_picture = output.GetPage(n);
    update();
}

void TRepPreviewImage::Clear()
{
    m_pageNumber = 0;
    m_picture.reset();
    update();
}

// White sheet, the page stretched over the whole image, a one-pixel outline
// and a two-pixel shadow on the right and at the bottom.
void TRepPreviewImage::paintEvent(QPaintEvent*)
{
    if (!m_picture)
        return;
    const int w = width();
    const int h = height();
    QPainter painter(this);
    painter.fillRect(QRect(1, 1, w - 4, h - 4), Qt::white);
    DrawPicture(painter);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(QPolygon({QPoint(0, 0), QPoint(0, h - 3), QPoint(w - 3, h - 3), QPoint(w - 3, 0)}));
    painter.fillRect(QRect(w - 2, 2, 2, h - 2), Qt::black);
    painter.fillRect(QRect(2, h - 2, w - 2, 2), Qt::black);
}

// The sheet stretched over the whole image.
void TRepPreviewImage::DrawPicture(QPainter& painter) const
{
    PagePlayer::Play(*m_picture, painter, QRectF(0, 0, width(), height()));
}

TRepPreview::TRepPreview(QWidget* parent) : QScrollArea(parent), m_image(new TRepPreviewImage)
{
    setObjectName(QStringLiteral("RepPreview"));
    setWidgetResizable(false);
    setAlignment(Qt::AlignCenter);
    setWidget(m_image);
    setBackgroundRole(QPalette::Dark);
    LayoutImage();
}

TRepPreview::~TRepPreview() = default;

void TRepPreview::Attach(TRepPrinter& output)
{
    m_output = &output;
    output.setClient(this);
    output.setShowingPreview(true);
    LayoutImage();
}

bool TRepPreview::event(QEvent* event)
{
    const int type = event->type();
    if (type != PageAvailableMessage && type != ProgressMessage)
        return QScrollArea::event(event);
    const int value = int(static_cast<TRepMessage*>(event)->param());
    guarded([&] {
        if (type == PageAvailableMessage)
            PageAvailable(value);
        else if (OnProgressUpdate)
            OnProgressUpdate(value);
    });
    return true;
}

// The page on display is loaded the moment it is finished.
void TRepPreview::PageAvailable(int pages)
{
    if (m_output && pages == m_pageNumber && !m_image->HasPicture()) {
        ZoomToWidth();
        m_image->LoadPage(*m_output, m_pageNumber);
    }
    if (OnPageAvailable)
        OnPageAvailable(pages);
}

bool TRepPreview::SetPageNumber(int n)
{
    if (!m_output || (n == m_pageNumber && m_image->HasPicture()) || n < 1 || n > m_output->pageCount())
        return false;
    ReloadPage(n);
    return true;
}

void TRepPreview::ReloadPage(int n)
{
    if (!m_output)
        return;
    m_image->LoadPage(*m_output, n);
    m_pageNumber = n;
    ScrollToStart();
}

void TRepPreview::SetZoom(int percent)
{
    ApplyZoom(percent, TZoomMode::Other);
}

void TRepPreview::ApplyZoom(int percent, TZoomMode mode)
{
    if (percent < 2 || percent > 2000)
        return;
    m_zoom = percent;
    m_zoomMode = mode;
    LayoutImage();
}

QSize TRepPreview::PagePixels() const
{
    if (!m_output)
        return {};
    const double pixelsPerTenth = logicalDpiX() / TenthsPerInch;
    return {nearest(m_output->PaperWidthValue() * pixelsPerTenth),
            nearest(m_output->PaperLengthValue() * logicalDpiY() / TenthsPerInch)};
}

// The area is the viewport without scroll bars, so a zoom does not depend on
// whether the previous one needed them.
void TRepPreview::ZoomToFit()
{
    const QSize page = PagePixels();
    if (page.isEmpty())
        return;
    const QSize area = maximumViewportSize();
    ApplyZoom(std::min(nearest(double(area.width()) / page.width() * 95),
                  nearest(double(area.height()) / page.height() * 95)),
        TZoomMode::Fit);
}

void TRepPreview::ZoomToWidth()
{
    const QSize page = PagePixels();
    if (page.isEmpty())
        return;
    ApplyZoom(nearest(double(maximumViewportSize().width()) / page.width() * 90), TZoomMode::Width);
}

void TRepPreview::ApplyModeZoom()
{
    if (m_zoomMode == TZoomMode::Fit)
        ZoomToFit();
    else if (m_zoomMode == TZoomMode::Width)
        ZoomToWidth();
}

void TRepPreview::Relayout()
{
    ApplyModeZoom();
    LayoutImage();
}

void TRepPreview::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    guarded([this] { Relayout(); });
}

// The image is the page at the zoom plus its border; the scroll area centres
// it while it is smaller than the visible area.
void TRepPreview::LayoutImage()
{
    if (!m_output) {
        m_image->resize(Border, Border);
        return;
    }
    const double scale = m_zoom / 100.0 / TenthsPerInch;
    m_image->resize(nearest(m_output->PaperWidthValue() * scale * logicalDpiX()) + Border,
        nearest(m_output->PaperLengthValue() * scale * logicalDpiY()) + Border);
    ScrollToStart();
}

void TRepPreview::ScrollToStart()
{
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

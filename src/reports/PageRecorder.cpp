#include "PageRecorder.h"

#include "PageRecordingEngine.h"

#include <algorithm>
#include <climits>

using namespace PageFormat;

PageRecorder::PageRecorder() : m_engine(std::make_unique<PageRecordingEngine>())
{
}

PageRecorder::~PageRecorder() = default;

void PageRecorder::StartPage(QSize size, int dpi)
{
    m_size = QSize(std::clamp(size.width(), 1, MaxSheetPixels), std::clamp(size.height(), 1, MaxSheetPixels));
    m_dpi = std::clamp(dpi, MinDpi, MaxDpi);
    m_engine->StartPage(m_size, m_dpi);
}

QByteArray PageRecorder::TakePage()
{
    return m_engine->TakePage();
}

bool PageRecorder::RecordText(const QPainter& painter, const QPointF& baseline, const QString& text)
{
    return painter.device() == this && m_engine->RecordText(painter, baseline, text);
}

QPaintEngine* PageRecorder::paintEngine() const
{
    return m_engine.get();
}

int PageRecorder::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return m_size.width();
    case PdmHeight: return m_size.height();
    case PdmWidthMM: return qRound(m_size.width() * 25.4 / m_dpi);
    case PdmHeightMM: return qRound(m_size.height() * 25.4 / m_dpi);
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return m_dpi;
    case PdmNumColors: return INT_MAX;
    case PdmDepth: return 32;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
    }
    return QPaintDevice::metric(metric);
}

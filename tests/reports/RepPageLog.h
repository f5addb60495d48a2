#pragma once

// Reads what a report run really drew: each recorded page is replayed onto a
// paint device whose engine logs every fill, text and picture with its
// device rectangle or position.

#include "reports/PagePlayer.h"
#include "reports/TRepPrinter.h"
#include "reports/TReport.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTextItem>

struct LoggedFill {
    QRect rect;
    QColor color;
};

struct LoggedText {
    QPointF baseline;
    QString text;
    QFont font;
};

struct PageLog {
    QList<LoggedFill> fills;
    QList<LoggedText> texts;
    QList<QRect> images;

    QList<QRect> fillsOf(const QColor& color) const
    {
        QList<QRect> rects;
        for (const LoggedFill& fill : fills) {
            if (fill.color == color)
                rects.append(fill.rect);
        }
        return rects;
    }
    QStringList textList() const
    {
        QStringList list;
        for (const LoggedText& text : texts)
            list.append(text.text);
        return list;
    }
    const LoggedText* find(const QString& text) const
    {
        for (const LoggedText& logged : texts) {
            if (logged.text == text)
                return &logged;
        }
        return nullptr;
    }
};

class LoggingEngine : public QPaintEngine {
public:
    explicit LoggingEngine(PageLog& log) : QPaintEngine(QPaintEngine::AllFeatures), m_log(log) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState& state) override
    {
        if (state.state() & DirtyBrush)
            m_brush = state.brush();
        if (state.state() & DirtyTransform)
            m_transform = state.transform();
        if (state.state() & DirtyFont)
            m_font = state.font();
    }
    void drawRects(const QRectF* rects, int count) override
    {
        for (int i = 0; i < count; ++i) {
            if (m_brush.style() != Qt::NoBrush)
                m_log.fills.append({m_transform.mapRect(rects[i]).toRect(), m_brush.color()});
        }
    }
    void drawRects(const QRect* rects, int count) override
    {
        for (int i = 0; i < count; ++i) {
            if (m_brush.style() != Qt::NoBrush)
                m_log.fills.append({m_transform.mapRect(rects[i]), m_brush.color()});
        }
    }
    void drawPath(const QPainterPath& path) override
    {
        if (m_brush.style() != Qt::NoBrush)
            m_log.fills.append({m_transform.mapRect(path.boundingRect()).toRect(), m_brush.color()});
    }
    void drawTextItem(const QPointF& point, const QTextItem& item) override
    {
        m_log.texts.append({m_transform.map(point), item.text(), m_font});
    }
    void drawPixmap(const QRectF& rect, const QPixmap&, const QRectF&) override
    {
        m_log.images.append(m_transform.mapRect(rect).toRect());
    }
    void drawImage(const QRectF& rect, const QImage&, const QRectF&, Qt::ImageConversionFlags) override
    {
        m_log.images.append(m_transform.mapRect(rect).toRect());
    }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}

private:
    PageLog& m_log;
    QBrush m_brush;
    QTransform m_transform;
    QFont m_font;
};

class LoggingDevice : public QPaintDevice {
public:
    explicit LoggingDevice(PageLog& log) : m_engine(log) {}
    QPaintEngine* paintEngine() const override { return const_cast<LoggingEngine*>(&m_engine); }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: case PdmHeight: return 20000;
        case PdmWidthMM: case PdmHeightMM: return 20000 * 254 / 960;
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
        case PdmDepth: return 32;
        case PdmNumColors: return 0x7fffffff;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
        }
        return 0;
    }

private:
    LoggingEngine m_engine;
};

// The log of page `n` of the report's current output.
inline PageLog logPage(const TRepPrinter& output, int n)
{
    PageLog log;
    std::unique_ptr<RecordedPage> page = output.GetPage(n);
    if (!page)
        return log;
    LoggingDevice device(log);
    QPainter painter(&device);
    PagePlayer::PlayAtTrueSize(*page, painter);
    return log;
}

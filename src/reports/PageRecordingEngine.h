#pragma once

#include "PageFormat.h"
#include "PageStateTable.h"

#include <QByteArray>
#include <QCache>
#include <QHash>
#include <QPaintEngine>
#include <QPainter>

#include <functional>
#include <vector>

// Records what a painter draws as the commands of PageFormat.h. The tables
// of fonts, pens, brushes and pictures are kept per page; a state change that
// repeats one already in the table costs only its index.
class PageRecordingEngine : public QPaintEngine {
public:
    PageRecordingEngine();

    void StartPage(QSize size, int dpi);
    QByteArray TakePage();
    bool RecordText(const QPainter& painter, const QPointF& baseline, const QString& text);

    bool begin(QPaintDevice*) override;
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState& state) override;

    void drawRects(const QRectF* rects, int count) override;
    void drawLines(const QLineF* lines, int count) override;
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override;
    void drawPath(const QPainterPath& path) override;
    void drawTextItem(const QPointF& point, const QTextItem& item) override;
    void drawImage(const QRectF& target, const QImage& image, const QRectF& source,
                   Qt::ImageConversionFlags flags) override;
    void drawPixmap(const QRectF& target, const QPixmap& pixmap, const QRectF& source) override;

private:
    using Op = PageFormat::Op;
    using ImageKey = std::pair<int, qint64>; // 0 image, 1 pixmap; the cache key

    struct ImageEntry {
        QSize original;
        QSize size; // as recorded, within the bounds of a page
        QByteArray png;
    };

    void Begin(Op op);
    void SyncState();
    void SelectPen(const QPen& pen);
    void SelectBrush(const QBrush& brush);
    void SelectFont(const QFont& font);
    static QByteArray PenEntry(const QPen& pen);
    static QByteArray BrushEntry(const QBrush& brush);
    QByteArray FontEntry(const QFont& font) const;
    void Select(Op op, int index);
    void SetTransform(const QTransform& transform);
    void SetHints(QPainter::RenderHints hints);
    void SetClip(const QPaintEngineState& state);
    void WritePath(const QPainterPath& path);
    void WriteText(const QPointF& baseline, const QByteArray& utf8);
    void WriteRect(const QRectF& rect);
    void WritePoint(const QPointF& point);
    void DrawPicture(const QRectF& target, const QRectF& source, const ImageKey& key,
                     const std::function<QImage()>& picture);
    int PictureIndex(const ImageKey& key, const std::function<QImage()>& picture);
    const ImageEntry* Encoding(const ImageKey& key, const std::function<QImage()>& picture);

    QSize m_size;
    int m_dpi = 96;
    QByteArray m_commands;
    quint32 m_commandCount = 0;
    bool m_stateKnown = false;
    PageStateTable<QFont> m_fonts;
    PageStateTable<QPen> m_pens;
    PageStateTable<QBrush> m_brushes;
    int m_font = -1;
    int m_pen = -1;
    int m_brush = -1;
    QTransform m_transform;
    QPainter::RenderHints m_hints;
    bool m_clipSet = false; // as recorded, for text that bypasses the painter
    bool m_clipOn = true;
    std::vector<ImageEntry> m_images;
    QHash<ImageKey, int> m_imageIndexes;
    QCache<ImageKey, ImageEntry> m_encoded; // across pages
    ImageEntry m_unkept;                     // an encoding too large for that cache
};

#pragma once

#include "PageFormat.h"

#include <QBrush>
#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRectF>
#include <QRegion>
#include <QTransform>

#include <memory>
#include <variant>
#include <vector>

class PageImageCache;

// One recorded page (PageFormat.h), read and checked completely: its tables
// and commands hold only values a painter can take safely. PagePlayer draws it.
class RecordedPage {
public:
    // A font of the table: its size is kept apart, in recorded pixels, and
    // fitted to the resolution of the device it is drawn on.
    struct Font {
        QFont font;
        double pixelSize;
    };

    struct SelectFont { int index; };
    struct SelectPen { int index; };
    struct SelectBrush { int index; };
    struct Rect { QRectF rect; };
    struct Line { QLineF line; };
    struct Polygon {
        QPolygonF points;
        PageFormat::PolygonMode mode;
    };
    struct Path { QPainterPath path; };
    struct Text {
        QPointF baseline;
        QString text;
    };
    struct Image {
        int index;
        QRectF target;
        QRectF source;
    };
    struct Clip {
        PageFormat::ClipKind kind;
        Qt::ClipOperation operation;
        QRegion region;
        QPainterPath path;
    };
    struct Transform { QTransform transform; };
    struct Hints { QPainter::RenderHints hints; };

    using Command = std::variant<SelectFont, SelectPen, SelectBrush, Rect, Line, Polygon, Path, Text, Image, Clip,
                                 Transform, Hints>;

    // Checks `bytes` completely and reads them; throws ERepError saying what
    // is wrong. Pictures are decoded through `images`.
    static std::unique_ptr<RecordedPage> Read(const QByteArray& bytes, PageImageCache& images);
    // The same checks, keeping nothing: for every page of a file being loaded.
    static void Check(const QByteArray& bytes, PageImageCache& images);

    // The whole sheet, in recorded pixels, and the resolution it was recorded at.
    QSize SheetSize() const { return m_sheet; }
    QSizeF Resolution() const { return m_dpi; }
    // The page data as stored.
    const QByteArray& Bytes() const { return m_bytes; }

    const std::vector<Font>& Fonts() const { return m_fonts; }
    const std::vector<QPen>& Pens() const { return m_pens; }
    const std::vector<QBrush>& Brushes() const { return m_brushes; }
    const std::vector<QImage>& Images() const { return m_images; }
    const std::vector<Command>& Commands() const { return m_commands; }

private:
    RecordedPage() = default;
    class Reading;

    QByteArray m_bytes;
    QSize m_sheet;
    QSizeF m_dpi;
    std::vector<Font> m_fonts;
    std::vector<QPen> m_pens;
    std::vector<QBrush> m_brushes;
    std::vector<QImage> m_images;
    std::vector<Command> m_commands;
};

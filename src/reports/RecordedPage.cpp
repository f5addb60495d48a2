#include "RecordedPage.h"

#include "PageBytes.h"
#include "PageImageCache.h"

#include <QStringDecoder>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace PageFormat;

namespace {

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
}

// Text is mostly plain ASCII, which needs no decoder.
QString utf8(QByteArrayView bytes, const char* what)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        PageReader::refuse(QStringLiteral("%1 is not UTF-8").arg(QLatin1String(what)));
    return text;
}

quint8 choice(PageReader& reader, quint8 last, const char* what)
{
    const quint8 value = reader.u8();
    if (value > last)
        PageReader::refuse(QStringLiteral("%1 %2 is not known").arg(QLatin1String(what)).arg(value));
    return value;
}

double subPixels(quint32 value)
{
    return double(value) / SubPixels;
}

} // namespace

// Reads the page in the order it was written, refusing at the first value
// that is out of bounds, so that nothing unchecked ever reaches a painter.
class RecordedPage::Reading {
public:
    // A reading that does not keep the commands only checks them.
    Reading(RecordedPage& page, PageImageCache& images, bool keep)
        : m_page(page), m_images(images), m_reader(page.m_bytes), m_keep(keep)
    {
    }

    void All()
    {
        Header();
        Tables();
        Commands();
    }

private:
    void Header();
    void Tables();
    void Commands();
    RecordedPage::Font ReadFont();
    QPen ReadPen();
    QBrush ReadBrush();
    QImage ReadImage();
    Command ReadCommand();
    QRectF ReadRect();
    QPointF ReadPoint();
    QPolygonF ReadPolygon();
    QPainterPath ReadPath();
    RecordedPage::Clip ReadClip();
    QTransform ReadTransform();

    RecordedPage& m_page;
    PageImageCache& m_images;
    PageReader m_reader;
    bool m_keep;
    int m_fonts = 0;
    int m_pens = 0;
    int m_brushes = 0;
    int m_imageCount = 0;
    quint32 m_commands = 0;
};

std::unique_ptr<RecordedPage> RecordedPage::Read(const QByteArray& bytes, PageImageCache& images)
{
    std::unique_ptr<RecordedPage> page(new RecordedPage);
    page->m_bytes = bytes;
    Reading(*page, images, true).All();
    return page;
}

void RecordedPage::Check(const QByteArray& bytes, PageImageCache& images)
{
    RecordedPage page;
    page.m_bytes = bytes;
    Reading(page, images, false).All();
}

void RecordedPage::Reading::Header()
{
    const QByteArray& bytes = m_page.m_bytes;
    if (bytes.size() < HeaderSize || std::memcmp(bytes.constData(), Signature, sizeof Signature) != 0)
        PageReader::refuse(QStringLiteral("not a recorded page"));
    const auto field16 = [&](int at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
    const auto field32 = [&](int at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
    if (field16(At::Version) != Version)
        PageReader::refuse(QStringLiteral("page format %1 is not known").arg(field16(At::Version)));
    if (field16(At::Flags) != 0 || field32(At::Length) != quint32(bytes.size()))
        PageReader::refuse(QStringLiteral("the page is not as long as its header says"));
    if (field32(At::Checksum) != pageChecksum(QByteArrayView(bytes).sliced(At::ChecksummedFrom)))
        PageReader::refuse(QStringLiteral("the page's checksum does not match"));
    const quint32 width = field32(At::Width);
    const quint32 height = field32(At::Height);
    if (width < 1 || height < 1 || width > MaxSheetPixels || height > MaxSheetPixels)
        PageReader::refuse(QStringLiteral("the sheet size %1 x %2 is out of bounds").arg(width).arg(height));
    const quint16 dpiX = field16(At::DpiX);
    const quint16 dpiY = field16(At::DpiY);
    if (dpiX < MinDpi || dpiY < MinDpi || dpiX > MaxDpi || dpiY > MaxDpi)
        PageReader::refuse(QStringLiteral("the resolution %1 x %2 is out of bounds").arg(dpiX).arg(dpiY));
    m_page.m_sheet = QSize(int(width), int(height));
    m_page.m_dpi = QSizeF(dpiX, dpiY);
    m_fonts = field16(At::Fonts);
    m_pens = field16(At::Pens);
    m_brushes = field16(At::Brushes);
    m_imageCount = field16(At::Images);
    m_commands = field32(At::Commands);
    if (m_fonts > MaxTableSize || m_pens > MaxTableSize || m_brushes > MaxTableSize || m_imageCount > MaxTableSize
        || m_commands > MaxCommands)
        PageReader::refuse(QStringLiteral("a table or the command list is too long"));
    m_reader = PageReader(bytes, HeaderSize);
}

void RecordedPage::Reading::Tables()
{
    for (int i = 0; i < m_fonts; ++i)
        m_page.m_fonts.push_back(ReadFont());
    for (int i = 0; i < m_pens; ++i)
        m_page.m_pens.push_back(ReadPen());
    for (int i = 0; i < m_brushes; ++i)
        m_page.m_brushes.push_back(ReadBrush());
    for (int i = 0; i < m_imageCount; ++i)
        m_page.m_images.push_back(ReadImage());
}

RecordedPage::Font RecordedPage::Reading::ReadFont()
{
    const QString family = utf8(m_reader.bytes(m_reader.u8()), "a font family");
    const quint32 size = m_reader.u32();
    const quint16 weight = m_reader.u16();
    const quint8 style = choice(m_reader, QFont::StyleOblique, "font style");
    const quint16 stretch = m_reader.u16();
    if (size < 1 || size > quint32(MaxFontPixels * SubPixels) || weight < 1 || weight > 1000 || stretch > 4000)
        PageReader::refuse(QStringLiteral("a font's size, weight or stretch is out of bounds"));
    QFont font(family);
    font.setWeight(QFont::Weight(weight));
    font.setStyle(QFont::Style(style));
    font.setStretch(stretch);
    return {font, subPixels(size)};
}

QPen RecordedPage::Reading::ReadPen()
{
    const QColor color = QColor::fromRgba(m_reader.u32());
    const quint32 width = m_reader.u32();
    const quint8 style = choice(m_reader, Qt::DashDotDotLine, "pen style");
    const quint8 cap = choice(m_reader, 2, "pen cap");
    const quint8 join = choice(m_reader, 3, "pen join");
    const quint8 cosmetic = choice(m_reader, 1, "cosmetic flag");
    if (width > quint32(MaxPenPixels * SubPixels))
        PageReader::refuse(QStringLiteral("a pen is wider than %1 pixels").arg(MaxPenPixels));
    static constexpr Qt::PenCapStyle caps[] = {Qt::FlatCap, Qt::SquareCap, Qt::RoundCap};
    static constexpr Qt::PenJoinStyle joins[] = {Qt::MiterJoin, Qt::BevelJoin, Qt::RoundJoin, Qt::SvgMiterJoin};
    QPen pen(QBrush(color), subPixels(width), Qt::PenStyle(style), caps[cap], joins[join]);
    pen.setCosmetic(cosmetic != 0);
    return pen;
}

QBrush RecordedPage::Reading::ReadBrush()
{
    const QColor color = QColor::fromRgba(m_reader.u32());
    return QBrush(color, Qt::BrushStyle(choice(m_reader, Qt::DiagCrossPattern, "brush style")));
}

QImage RecordedPage::Reading::ReadImage()
{
    const quint32 width = m_reader.u32();
    const quint32 height = m_reader.u32();
    if (width < 1 || height < 1 || width > MaxImageSide || height > MaxImageSide
        || qint64(width) * height > MaxImagePixels)
        PageReader::refuse(QStringLiteral("a picture of %1 x %2 pixels is out of bounds").arg(width).arg(height));
    const quint32 length = m_reader.u32();
    return m_images.Decode(m_reader.bytes(length), QSize(int(width), int(height)));
}

void RecordedPage::Reading::Commands()
{
    if (!m_keep) {
        for (quint32 i = 0; i < m_commands; ++i)
            ReadCommand();
    } else {
        // Every command takes at least two bytes.
        m_page.m_commands.reserve(std::min<qsizetype>(m_commands, (m_page.m_bytes.size() - m_reader.position()) / 2));
        for (quint32 i = 0; i < m_commands; ++i)
            m_page.m_commands.push_back(ReadCommand());
    }
    if (!m_reader.atEnd())
        PageReader::refuse(QStringLiteral("data follows the last command"));
}

RecordedPage::Command RecordedPage::Reading::ReadCommand()
{
    const quint8 op = m_reader.u8();
    switch (Op(op)) {
    case Op::Font: return SelectFont{m_reader.index(m_fonts, "font")};
    case Op::Pen: return SelectPen{m_reader.index(m_pens, "pen")};
    case Op::Brush: return SelectBrush{m_reader.index(m_brushes, "brush")};
    case Op::Rect: return Rect{ReadRect()};
    case Op::Line: {
        const QPointF from = ReadPoint();
        return Line{QLineF(from, ReadPoint())};
    }
    case Op::Polygon: {
        const auto mode = PolygonMode(choice(m_reader, quint8(PolygonMode::Polyline), "polygon mode"));
        return Polygon{ReadPolygon(), mode};
    }
    case Op::Path: return Path{ReadPath()};
    case Op::Text: {
        const QPointF baseline = ReadPoint();
        const int length = m_reader.count(MaxTextBytes, "text length");
        const QByteArrayView text = m_reader.bytes(length);
        if (!m_keep && isAscii(text))
            return Text{baseline, QString()};
        return Text{baseline, utf8(text, "a text")};
    }
    case Op::Image: {
        const int index = m_reader.index(m_imageCount, "picture");
        const QRectF target = ReadRect();
        const QRectF source = ReadRect();
        if (source.left() < 0 || source.top() < 0 || source.width() < 0 || source.height() < 0
            || !QRectF(QPointF(0, 0), m_page.m_images[index].size()).contains(source))
            PageReader::refuse(QStringLiteral("a picture's part lies outside the picture"));
        return Image{index, target, source};
    }
    case Op::Clip: return ReadClip();
    case Op::Transform: return Transform{ReadTransform()};
    case Op::Hints: return Hints{QPainter::RenderHints(choice(m_reader, 7, "render hints"))};
    }
    PageReader::refuse(QStringLiteral("command %1 is not known").arg(op));
}

QPointF RecordedPage::Reading::ReadPoint()
{
    const double x = m_reader.coordinate();
    return QPointF(x, m_reader.coordinate());
}

QRectF RecordedPage::Reading::ReadRect()
{
    const QPointF topLeft = ReadPoint();
    const double width = m_reader.coordinate();
    return QRectF(topLeft, QSizeF(width, m_reader.coordinate()));
}

QPolygonF RecordedPage::Reading::ReadPolygon()
{
    const int count = m_reader.count(MaxPoints, "point count");
    if (count < 1)
        PageReader::refuse(QStringLiteral("a polygon has no points"));
    QPolygonF points;
    points.reserve(count);
    for (int i = 0; i < count; ++i)
        points.append(ReadPoint());
    return points;
}

// Built through the path's own operations, so that a curve always has its
// two control points.
QPainterPath RecordedPage::Reading::ReadPath()
{
    QPainterPath path;
    path.setFillRule(Qt::FillRule(choice(m_reader, Qt::WindingFill, "fill rule")));
    const int count = m_reader.count(MaxPoints, "path length");
    for (int i = 0; i < count; ++i) {
        const auto type = QPainterPath::ElementType(choice(m_reader, QPainterPath::CurveToDataElement, "path element"));
        const QPointF point = ReadPoint();
        if (type == QPainterPath::MoveToElement) {
            path.moveTo(point);
        } else if (type == QPainterPath::LineToElement) {
            path.lineTo(point);
        } else if (type == QPainterPath::CurveToElement && i + 2 < count) {
            QPointF data[2];
            for (QPointF& p : data) {
                if (choice(m_reader, QPainterPath::CurveToDataElement, "path element")
                    != QPainterPath::CurveToDataElement)
                    PageReader::refuse(QStringLiteral("a curve lacks its points"));
                p = ReadPoint();
            }
            path.cubicTo(point, data[0], data[1]);
            i += 2;
        } else {
            PageReader::refuse(QStringLiteral("a curve lacks its points"));
        }
    }
    return path;
}

RecordedPage::Clip RecordedPage::Reading::ReadClip()
{
    Clip clip{ClipKind(choice(m_reader, quint8(ClipKind::Path), "clip kind")), Qt::NoClip, {}, {}};
    if (clip.kind == ClipKind::Off || clip.kind == ClipKind::On)
        return clip;
    clip.operation = Qt::ClipOperation(choice(m_reader, Qt::IntersectClip, "clip operation"));
    if (clip.kind == ClipKind::Path) {
        clip.path = ReadPath();
        return clip;
    }
    const int count = m_reader.count(MaxClipRects, "clip rectangles");
    for (int i = 0; i < count; ++i)
        clip.region |= ReadRect().toRect();
    return clip;
}

// Only moderate affine transforms: mapped coordinates stay far from where a
// rasteriser's integers overflow.
QTransform RecordedPage::Reading::ReadTransform()
{
    double m[6];
    for (double& value : m)
        value = m_reader.f64();
    for (int i = 0; i < 6; ++i) {
        const double limit = i < 4 ? MaxTransformScale : double(MaxCoordinate);
        if (!std::isfinite(m[i]) || std::fabs(m[i]) > limit)
            PageReader::refuse(QStringLiteral("a transform is out of bounds"));
    }
    const QTransform transform(m[0], m[1], m[2], m[3], m[4], m[5]);
    if (std::fabs(transform.determinant()) < 1e-9)
        PageReader::refuse(QStringLiteral("a transform cannot be inverted"));
    return transform;
}

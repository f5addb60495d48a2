#include "TRepPrintable.h"

#include "RepRound.h"
#include "TRepBand.h"
#include "TRepPrinter.h"
#include "TReport.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

namespace {

// Words end just after a blank or a hyphen; the break character stays.
QStringList splitWords(const QString& text)
{
    QStringList words;
    QString word;
    for (const QChar c : text) {
        word += c;
        if (c == QLatin1Char(' ') || c == QLatin1Char('-')) {
            words.append(word);
            word.clear();
        }
    }
    if (!word.isEmpty())
        words.append(word);
    return words;
}

} // namespace

TRepCustomLabel::TRepCustomLabel(QObject* parent)
    : TRepPrintable(parent), Color(QGuiApplication::palette().color(QPalette::Base)),
      TextColor(QGuiApplication::palette().color(QPalette::WindowText))
{
}

QFont TRepCustomLabel::Font() const
{
    if (!ParentFont)
        return m_font;
    if (const TRepBand* band = Band())
        return band->Font();
    const TReport* report = Report();
    return report ? report->Font : m_font;
}

void TRepCustomLabel::SetFont(const QFont& font)
{
    m_font = font;
    ParentFont = false;
    FormatLines();
}

void TRepCustomLabel::SetFontSize(int points)
{
    if (points <= 0)
        return;
    QFont font = Font();
    font.setPointSize(points);
    SetFont(font);
}

void TRepCustomLabel::SetPrintCaption(const QString& text)
{
    m_printCaption = text;
    FormatLines();
}

void TRepCustomLabel::FormatLines()
{
    m_lines.clear();
    LayOut(m_printCaption);
}

// A. Line feeds are dropped, carriage returns end line groups.
void TRepCustomLabel::LayOut(const QString& text)
{
    const QFont font = Font();
    if (font != m_measuredFont || m_advances.size() > 4096) {
        m_advances.clear();
        m_measuredFont = font;
    }
    const QFontMetrics metrics(font);
    const double limit = Size.Width * ScreenScale();
    QString source = text;
    source.remove(QLatin1Char('\n'));
    for (const QString& piece : source.split(QLatin1Char('\r')))
        LayOutGroup(piece, limit, metrics);
    if (!Report())
        return;
    ApplyHeightGuard(metrics);
    if (!AutoSize)
        return;
    double widest = 0;
    for (const QString& line : std::as_const(m_lines))
        widest = std::max(widest, TextWidth(line, metrics));
    ApplyAutoSize(widest);
}

void TRepCustomLabel::LayOutGroup(const QString& piece, double limit, const QFontMetrics& metrics)
{
    if (AutoSize) {
        m_lines.append(piece);
        return;
    }
    QString line;
    bool cutOff = false;
    for (QString word : splitWords(piece)) {
        if (TextWidth(line + word, metrics) > limit) {
            if (line.isEmpty()) {
                for (int i = 0; i < word.size() && TextWidth(line + word[i], metrics) < limit; ++i)
                    line += word[i];
                word.clear();
            }
            m_lines.append(line);
            line.clear();
            if (TextWidth(word, metrics) > limit) {
                while (limit > 0 && !word.isEmpty() && TextWidth(word, metrics) > limit)
                    word.chop(1);
                if (limit > 0)
                    m_lines.append(word);
                word.clear();
            }
            if (!WordWrap) {
                word.clear();
                cutOff = true;
            }
        }
        line += word;
    }
    if (!cutOff)
        m_lines.append(line);
}

// Width in screen pixels at the report's zoom, as element widths are compared.
double TRepCustomLabel::TextWidth(const QString& text, const QFontMetrics& metrics) const
{
    const TReport* report = Report();
    const double zoom = report ? report->Zoom() / 100.0 : 1.0;
    auto advance = m_advances.constFind(text);
    if (advance == m_advances.constEnd())
        advance = m_advances.insert(text, metrics.horizontalAdvance(text));
    return (*advance + 1) * zoom;
}

void TRepCustomLabel::ApplyHeightGuard(const QFontMetrics& metrics)
{
    const double scale = ScreenScale();
    const double minimum = metrics.height() * Report()->Zoom() / 100.0 + 1;
    if (Size.Height * scale < minimum)
        Size.Height = minimum / scale;
}

// The element takes the width of its widest line and keeps its anchor.
void TRepCustomLabel::ApplyAutoSize(double widestPixels)
{
    const double pixels = widestPixels + (Frame.DrawLeft ? Frame.Width : 0) + (Frame.DrawRight ? Frame.Width : 0);
    const double width = pixels / ScreenScale();
    if (Alignment == TAlignmentH::taRightJustify)
        Size.Left += Size.Width - width;
    else if (Alignment == TAlignmentH::taCenter)
        Size.Left += std::trunc((Size.Width - width) / 2);
    Size.Width = width;
}

// F.
void TRepCustomLabel::ApplyAlignToBand()
{
    const TRepBand* band = Band();
    if (!AlignToBand || !band)
        return;
    if (Alignment == TAlignmentH::taLeftJustify)
        Size.Left = 0;
    else if (Alignment == TAlignmentH::taRightJustify)
        Size.Left = band->Size.Width - Size.Width;
    else
        Size.Left = std::trunc((band->Size.Width - Size.Width) / 2);
}

// B. The caption of this print is laid out and drawn line by line.
void TRepCustomLabel::Print(double offsetX, double offsetY)
{
    TRepPrinter* output = Output();
    QPainter* canvas = output ? output->Canvas() : nullptr;
    if (!Enabled || !canvas)
        return;
    const QString designed = m_printCaption;
    m_printCaption = CaptionForPrint();
    SetCanvasFont(*canvas);
    if (!m_printCaption.isEmpty() && OnPrint) {
        QString value = m_printCaption;
        OnPrint(this, value);
        m_printCaption = value;
        SetCanvasFont(*canvas);
    }
    FormatLines();
    ApplyAlignToBand();
    const double lineHeight = canvas->fontMetrics().height() / output->ScaleY;
    double left = Size.Left + offsetX;
    double top = Size.Top + offsetY;
    if (DrawingPass() && !Transparent)
        fillBox(*canvas, DeviceRect(left, top, Size.Width, Size.Height), Color);
    const double boxLeft = left;
    const double boxTop = top;
    if (Frame.DrawTop)
        top += Frame.InsetTenths();
    if (Frame.DrawLeft)
        left += Frame.InsetTenths();
    const double growth = Band() ? Band()->Stretch() : 0;
    DrawLines(*canvas, left, top, Size.Width, lineHeight);
    const double grown = (Band() ? Band()->Stretch() : 0) - growth;
    PaintFrame(DeviceRect(boxLeft, boxTop, left + Size.Width - boxLeft, top + Size.Height + grown - boxTop));
    m_printCaption = designed;
}

// Setting the same font again would still be recorded on the page.
void TRepCustomLabel::SetCanvasFont(QPainter& canvas) const
{
    const QFont font = Font();
    if (canvas.font() != font)
        canvas.setFont(font);
}

void TRepCustomLabel::DrawLines(QPainter& canvas, double left, double top, double width, double lineHeight)
{
    const bool continuing = !m_allPrinted;
    if (!continuing)
        m_nextLine = 0;
    TRepPrinter* output = Output();
    TRepBand* band = Band();
    double limit = top + Size.Height + 1;
    double y = top;
    bool drewAny = false;
    while (m_nextLine < m_lines.size()) {
        if (y + lineHeight > limit) {
            if (!AutoStretch || !band || !band->Grow(lineHeight))
                break;
            if (DrawingPass() && !Transparent)
                fillBox(canvas, DeviceRect(left, limit - 1, width, lineHeight), Color);
            limit += lineHeight;
        }
        const QString& line = m_lines[m_nextLine];
        if (DrawingPass() && !line.isEmpty()) {
            const double x = LineX(canvas, line, left, width);
            canvas.setPen(TextColor);
            output->DrawText(QPointF(x, output->YPos(y) + canvas.fontMetrics().ascent()), line);
        }
        y += lineHeight;
        ++m_nextLine;
        drewAny = true;
    }
    // A continuation that cannot place even one line drops the rest, so a
    // line taller than a page never starts pages without end.
    m_allPrinted = !(AutoStretch && m_nextLine < m_lines.size()) || (continuing && !drewAny);
}

// The device x of a line anchored at its left end, right end or middle.
double TRepCustomLabel::LineX(QPainter& canvas, const QString& line, double left, double width) const
{
    TAlignmentH alignment = Alignment;
    if (RightToLeft && alignment != TAlignmentH::taCenter)
        alignment = alignment == TAlignmentH::taLeftJustify ? TAlignmentH::taRightJustify : TAlignmentH::taLeftJustify;
    const TRepPrinter* output = Output();
    switch (alignment) {
    case TAlignmentH::taRightJustify: return output->XPos(left + width) - canvas.fontMetrics().horizontalAdvance(line);
    case TAlignmentH::taCenter:
        return output->XPos(left + width / 2) - canvas.fontMetrics().horizontalAdvance(line) / 2.0;
    case TAlignmentH::taLeftJustify: break;
    }
    return output->XPos(left);
}

void TRepLabel::SetCaption(const QString& caption)
{
    m_caption = caption;
    SetPrintCaption(caption);
}

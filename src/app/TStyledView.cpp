#include "app/TStyledView.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int kMaxRange = 30000;
constexpr int kPageKeySteps = 10;
}

TStyledView::TStyledView(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TStyledView::AddText(const QString& text, int style)
{
    QStringList pieces = text.split(QLatin1Char('\n'));
    if (pieces.size() > 1 && pieces.constLast().isEmpty())
        pieces.removeLast();
    for (QString piece : pieces) {
        if (piece.endsWith(QLatin1Char('\r')))
            piece.chop(1);
        m_items << StyledItem{piece, style, false};
    }
}

void TStyledView::AddCenteredLine(const QString& text, int style)
{
    m_items << StyledItem{text, style, true};
}

void TStyledView::SetVSmallStep(int pixels)
{
    if (pixels > 0 && m_layout.contentHeight / pixels <= kMaxRange)
        m_step = pixels;
}

int TStyledView::textWidth() const
{
    int w = width() - LeftMargin - RightMargin;
    if (MaxTextWidth > 0)
        w = std::min(w, MaxTextWidth);
    return std::max(w, MinTextWidth);
}

void TStyledView::Format()
{
    m_layout = layOutItems(m_items, m_style ? m_style->TextStyles : QList<TTextStyle>(), LeftMargin, textWidth());
    if (m_layout.contentHeight / m_step > kMaxRange)
        m_step = m_layout.contentHeight / kMaxRange;
    m_range = m_layout.contentHeight / m_step;
    m_page = height() / m_step;
    m_anchor = m_caret = Place();
    ScrollTo(0);
}

int TStyledView::VScrollMax() const
{
    return m_page > m_range ? 0 : m_range - m_page + 1;
}

void TStyledView::ScrollTo(int position)
{
    m_position = std::clamp(position, 0, VScrollMax());
    update();
}

void TStyledView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    // The background is anchored at the viewer's corner, not at the text.
    if (!m_background.isNull())
        painter.drawTiledPixmap(area, m_background,
                                QPoint(area.left() % m_background.width(), area.top() % m_background.height()));
    else
        painter.fillRect(area, m_style ? m_style->Color : palette().color(QPalette::Base));
    const int offset = m_position * m_step;
    for (int i = 0; i < m_layout.lines.size(); ++i) {
        const LaidOutLine& line = m_layout.lines[i];
        const int top = line.top - offset;
        if (top > area.bottom() || line.baseline + line.descent - offset < area.top())
            continue;
        paintLine(painter, i, offset);
    }
}

void TStyledView::paintLine(QPainter& painter, int index, int offset) const
{
    const LaidOutLine& line = m_layout.lines[index];
    const TTextStyle style = m_style ? m_style->TextStyles.value(m_items[line.item].style) : TTextStyle();
    const QFont font = style.font();
    const QFontMetrics metrics(font);
    painter.setFont(font);
    const int baseline = line.baseline - offset;

    // The selected part of this line, if any, in the selection colours.
    const Place from = std::min(m_anchor, m_caret);
    const Place to = std::max(m_anchor, m_caret);
    int selStart = 0;
    int selEnd = 0;
    if (from.line >= 0 && from < to && index >= from.line && index <= to.line) {
        selStart = index == from.line ? from.column : 0;
        selEnd = index == to.line ? to.column : int(line.text.size());
    }
    painter.setPen(style.Color);
    painter.drawText(line.left, baseline, line.text);
    if (selEnd > selStart) {
        const int x = line.left + metrics.horizontalAdvance(line.text.left(selStart));
        const QString selected = line.text.mid(selStart, selEnd - selStart);
        const QRect band(x, baseline - metrics.ascent(), metrics.horizontalAdvance(selected), metrics.height());
        painter.fillRect(band, m_style ? m_style->SelColor : palette().color(QPalette::Highlight));
        painter.setPen(m_style ? m_style->SelTextColor : palette().color(QPalette::HighlightedText));
        painter.drawText(x, baseline, selected);
    }
}

void TStyledView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up: ScrollTo(m_position - 1); break;
    case Qt::Key_Down: ScrollTo(m_position + 1); break;
    case Qt::Key_PageUp: ScrollTo(m_position - kPageKeySteps); break;
    case Qt::Key_PageDown: ScrollTo(m_position + kPageKeySteps); break;
    case Qt::Key_Home: ScrollTo(0); break;
    case Qt::Key_End: ScrollTo(VScrollMax()); break;
    // The text always fits the width: there is no horizontal range to move in.
    case Qt::Key_Left:
    case Qt::Key_Right: break;
    default: QWidget::keyPressEvent(event); return;
    }
}

TStyledView::Place TStyledView::placeAt(const QPoint& point) const
{
    const int y = point.y() + m_position * m_step;
    Place place;
    for (int i = 0; i < m_layout.lines.size(); ++i) {
        const LaidOutLine& line = m_layout.lines[i];
        if (y < line.top)
            break;
        place.line = i;
    }
    if (place.line < 0)
        return Place{0, 0};
    const LaidOutLine& line = m_layout.lines[place.line];
    const QFontMetrics metrics(m_style ? m_style->TextStyles.value(m_items[line.item].style).font() : font());
    while (place.column < line.text.size()
           && line.left + metrics.horizontalAdvance(line.text.left(place.column + 1)) <= point.x())
        ++place.column;
    return place;
}

void TStyledView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton && AllowSelection && !m_layout.lines.isEmpty()) {
        m_anchor = m_caret = placeAt(event->position().toPoint());
        update();
    }
}

void TStyledView::mouseMoveEvent(QMouseEvent* event)
{
    if ((event->buttons() & Qt::LeftButton) && AllowSelection && m_anchor.line >= 0) {
        m_caret = placeAt(event->position().toPoint());
        update();
    }
}

QString TStyledView::SelectedText() const
{
    const Place from = std::min(m_anchor, m_caret);
    const Place to = std::max(m_anchor, m_caret);
    if (from.line < 0 || !(from < to))
        return {};
    QStringList parts;
    for (int i = from.line; i <= to.line; ++i) {
        const QString& text = m_layout.lines[i].text;
        const int start = i == from.line ? from.column : 0;
        const int end = i == to.line ? to.column : int(text.size());
        parts << text.mid(start, end - start);
    }
    return parts.join(QLatin1Char('\n'));
}

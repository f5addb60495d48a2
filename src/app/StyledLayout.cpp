#include "app/StyledLayout.h"

#include <QFontMetrics>

int lineLength(const QString& text, const QFontMetrics& metrics, int textWidth)
{
    int fit = 0;
    while (fit < text.size() && metrics.horizontalAdvance(text.left(fit + 1)) <= textWidth)
        ++fit;
    if (fit < text.size()) {
        const int blank = text.lastIndexOf(QLatin1Char(' '), fit - 1);
        if (fit > 0 && blank >= 0)
            fit = blank + 1; // the line keeps its trailing blank
    }
    return std::max(fit, 1);
}

StyledLayout layOutItems(const QList<StyledItem>& items, const QList<TTextStyle>& styles, int leftMargin,
                         int textWidth)
{
    StyledLayout layout;
    int previousBaseline = 0;
    int previousDescent = 0;
    for (int i = 0; i < items.size(); ++i) {
        const StyledItem& item = items[i];
        if (item.text.isEmpty())
            continue;
        const QFontMetrics metrics(styles.value(item.style).font());
        QString rest = item.text;
        while (!rest.isEmpty()) {
            const int length = lineLength(rest, metrics, textWidth);
            LaidOutLine line;
            line.item = i;
            line.text = rest.left(length);
            line.width = metrics.horizontalAdvance(line.text);
            line.top = previousBaseline + previousDescent + metrics.leading();
            line.baseline = line.top + metrics.ascent();
            line.descent = metrics.descent();
            line.left = item.centered ? leftMargin + (textWidth - line.width) / 2 : leftMargin;
            layout.lines << line;
            previousBaseline = line.baseline;
            previousDescent = line.descent;
            rest = rest.mid(length);
        }
    }
    if (!layout.lines.isEmpty())
        layout.contentHeight = layout.lines.constLast().baseline + layout.lines.constLast().descent + 1;
    return layout;
}

#include "widgets/TLabel.h"

TLabel::TLabel(QWidget* parent, int left, int top, const QString& caption, const QFont& font, const QColor& color)
    : QLabel(parent)
{
    setFont(font);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
    setTextFormat(Qt::PlainText);
    setAttribute(Qt::WA_TranslucentBackground);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    move(left, top);
    setCaption(caption);
}

void TLabel::setCaption(const QString& caption)
{
    setText(caption);
    if (m_autoSize)
        resize(fontMetrics().horizontalAdvance(caption), fontMetrics().height());
}

void TLabel::setFixedBounds(int width, int height)
{
    m_autoSize = false;
    resize(width, height);
}

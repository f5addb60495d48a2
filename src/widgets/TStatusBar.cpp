#include "widgets/TStatusBar.h"

#include <QEvent>
#include <QPainter>

TStatusBar::TStatusBar(QWidget* parent, int height, bool withPanel)
    : QWidget(parent), m_height(height), m_withPanel(withPanel)
{
    setAutoFillBackground(true);
    parent->installEventFilter(this);
    followParent();
}

void TStatusBar::setPanelText(const QString& text)
{
    if (m_text != text) {
        m_text = text;
        update();
    }
}

void TStatusBar::followParent()
{
    setGeometry(0, parentWidget()->height() - m_height, parentWidget()->width(), m_height);
    raise();
}

bool TStatusBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        followParent();
    return QWidget::eventFilter(watched, event);
}

void TStatusBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor dark = palette().color(QPalette::Mid);
    const QColor light = palette().color(QPalette::Light);
    painter.setPen(dark);
    painter.drawLine(0, 0, width(), 0);
    if (!m_withPanel)
        return;
    const QRect panel = rect().adjusted(2, 2, -3, -1);
    painter.setPen(dark);
    painter.drawLine(panel.topLeft(), panel.topRight());
    painter.drawLine(panel.topLeft(), panel.bottomLeft());
    painter.setPen(light);
    painter.drawLine(panel.bottomLeft(), panel.bottomRight());
    painter.drawLine(panel.topRight(), panel.bottomRight());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(panel.adjusted(3, 0, -3, 0), Qt::AlignVCenter | Qt::AlignLeft, m_text);
}

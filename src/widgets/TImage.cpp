#include "widgets/TImage.h"

#include <QMouseEvent>
#include <QPainter>

TImage::TImage(QWidget* parent, const QRect& bounds, const QImage& picture, bool stretch)
    : QWidget(parent), m_picture(picture), m_stretch(stretch)
{
    setGeometry(bounds);
    setAttribute(Qt::WA_TranslucentBackground);
}

void TImage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_stretch)
        painter.drawImage(rect(), m_picture);
    else
        painter.drawImage(QPoint(0, 0), m_picture);
}

void TImage::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

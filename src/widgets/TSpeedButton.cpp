#include "widgets/TSpeedButton.h"

#include "errors/HandlerGuard.h"

#include <QPainter>
#include <QStyleOptionFrame>

TSpeedButton::TSpeedButton(QWidget* parent, const QRect& bounds, const QImage& face, std::function<void()> onClick)
    : QAbstractButton(parent), m_face(face), m_onClick(std::move(onClick))
{
    setGeometry(bounds);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (m_onClick)
            guarded(m_onClick);
    });
}

void TSpeedButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const bool down = isDown();
    // A flat button shows its edge only under the mouse or while pressed.
    if (down || m_hover) {
        QPen light(palette().color(QPalette::Light));
        QPen dark(palette().color(QPalette::Dark));
        const QRect r = rect().adjusted(0, 0, -1, -1);
        painter.setPen(down ? dark : light);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(down ? light : dark);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    }
    // The face keeps its size; a face larger than the button is scaled down.
    QSize size = m_face.size();
    const QSize room = this->size() - QSize(2, 2);
    if (size.width() > room.width() || size.height() > room.height())
        size.scale(room, Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), size);
    target.moveCenter(rect().center());
    if (down)
        target.translate(1, 1);
    painter.drawImage(target, m_face);
}

void TSpeedButton::enterEvent(QEnterEvent* event)
{
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TSpeedButton::leaveEvent(QEvent* event)
{
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

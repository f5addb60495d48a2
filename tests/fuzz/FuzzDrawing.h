#pragma once

// Drawing a recorded page the way the fuzz targets do.

#include "reports/PagePlayer.h"
#include "reports/RecordedPage.h"

#include <QImage>
#include <QPainter>

// Onto a small image: the whole page shrunk to a quarter, as in the preview
// at a small zoom, and over it the top-left corner at the page's own size.
inline void drawOnSmallImage(const RecordedPage& page)
{
    QImage image(200, 280, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    const QSize sheet = page.SheetSize();
    PagePlayer::Play(page, painter, QRectF(0, 0, sheet.width() / 4.0, sheet.height() / 4.0));
    PagePlayer::Play(page, painter, QRectF(QPointF(0, 0), sheet));
}

#pragma once

#include <QRectF>

class QPainter;
class RecordedPage;

// Draws recorded pages onto any painter: the preview's widget, a printer, a
// PDF file, an image. Fonts are fitted to the device's resolution, so a page
// lands at the same place on every device; a fill or pen line that would be
// thinner than one device pixel is drawn as a hairline, so no rule of a table
// vanishes at a small zoom.
namespace PagePlayer {

// The whole sheet stretched over `target`, in the painter's coordinates.
void Play(const RecordedPage& page, QPainter& painter, const QRectF& target);
// The sheet at its true size, its corner at the painter's origin: for
// printers and PDF files, whose coordinates are their device pixels.
void PlayAtTrueSize(const RecordedPage& page, QPainter& painter);

} // namespace PagePlayer

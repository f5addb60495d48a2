#pragma once

// The program's pictures, compiled into the report library as resources under
// ":/pictures/". Each accessor returns a null image when the resource is missing.

#include <QImage>
#include <QString>

namespace Pictures {

QImage logo();
QImage background();
// The green face of a button carrying `word` ("Simpan", "&Keluar", "Cetak Harian");
// an accelerator marker is ignored, letter case too.
QImage buttonFace(const QString& word);
QImage arrowLeft();
QImage arrowRight();
QImage stone();
QImage windowIcon();
QImage desktopIcon();
// The preview tool bar's picture list: 0 zoom to fit, 1 100%, 2 zoom to width,
// 3 first, 4 previous, 5 next, 6 last page, 7 printer setup, 8 print, 9 load,
// 10 save. Other indexes give a null image.
QImage toolbarIcon(int index);
QImage closeIcon();

} // namespace Pictures

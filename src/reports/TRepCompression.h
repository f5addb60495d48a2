#pragma once

#include <QByteArray>

// Page compression: an adaptive splay-tree prefix code over the 256 byte
// values. Each page is coded on its own, starting from the same initial tree.
// The coded form is the 4-byte little-endian length of the plain bytes
// followed by the code bits, filled into each byte from its lowest bit up.
namespace TRepCompression {

QByteArray compress(const QByteArray& plain);

// Throws ERepError when the coded bytes are damaged: too short, a length the
// bits cannot hold, or a code that leads nowhere.
QByteArray decompress(const QByteArray& coded);

} // namespace TRepCompression

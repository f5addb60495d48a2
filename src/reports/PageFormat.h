#pragma once

// The recorded page: one sheet of drawing commands, the page data of a page
// store record. All integers are little-endian.
//
// Header, 40 bytes:
//   0  4  signature "PWPG"
//   4  2  format version
//   6  2  flags, 0
//   8  4  CRC-32 of every byte from offset 12 to the end of the page
//  12  4  length of the whole page in bytes
//  16  4  sheet width, 20 4 sheet height, in recorded pixels
//  24  2  horizontal, 26 2 vertical resolution of the recording (dots per inch)
//  28  2  fonts, 30 2 pens, 32 2 brushes, 34 2 images: sizes of the tables
//  36  4  number of commands
// Then the four tables in that order, then the commands up to the page's end.
//
// Coordinates are signed multiples of 1/64 pixel (the precision of text
// layout), written as zigzag base-128 varints; indexes and counts as plain
// varints. Colours are 32-bit ARGB.
//
//   font    u8 family length, family (UTF-8), u32 pixel size (1/64 px),
//           u16 weight, u8 style, u16 stretch
//   pen     u32 colour, u32 width (1/64 px, 0 is a cosmetic hairline),
//           u8 style, u8 cap, u8 join, u8 cosmetic
//   brush   u32 colour, u8 style
//   image   u32 width, u32 height, u32 length, PNG bytes
//
// A first page whose bytes 37 to 40 read "EMF\0" would be taken for a file
// of the older header layout; the command count's limit keeps byte 39 zero.

#include <QtGlobal>

namespace PageFormat {

constexpr char Signature[4] = {'P', 'W', 'P', 'G'};
constexpr quint16 Version = 1;
constexpr int HeaderSize = 40;

namespace At {
constexpr int Signature = 0;
constexpr int Version = 4;
constexpr int Flags = 6;
constexpr int Checksum = 8;
constexpr int Length = 12;
constexpr int Width = 16;
constexpr int Height = 20;
constexpr int DpiX = 24;
constexpr int DpiY = 26;
constexpr int Fonts = 28;
constexpr int Pens = 30;
constexpr int Brushes = 32;
constexpr int Images = 34;
constexpr int Commands = 36;
constexpr int ChecksummedFrom = 12;
} // namespace At

enum class Op : quint8 {
    Font = 1,      // index
    Pen,           // index
    Brush,         // index
    Rect,          // x, y, width, height
    Line,          // x1, y1, x2, y2
    Polygon,       // u8 mode, count, points
    Path,          // u8 fill rule, count, elements (u8 type, x, y)
    Text,          // x, y of the baseline's start, UTF-8 length, UTF-8
    Image,         // index, target x, y, width, height, source x, y, width, height
    Clip,          // u8 kind; rectangles or a path with a u8 operation
    Transform,     // 6 doubles of an affine transform: m11 m12 m21 m22 dx dy
    Hints,         // u8: 1 antialiasing, 2 text antialiasing, 4 smooth pictures
};
constexpr quint8 LastOp = quint8(Op::Hints);

enum class ClipKind : quint8 { Off, On, Rects, Path };
enum class PolygonMode : quint8 { OddEven, Winding, Convex, Polyline };

constexpr int SubPixels = 64;

// Bounds a page must keep to be drawn; what lies beyond them is refused.
constexpr int MaxSheetPixels = 32767;
constexpr int MinDpi = 1;
constexpr int MaxDpi = 9600;
constexpr qint64 MaxCoordinate = qint64(1) << 18; // pixels, either sign
constexpr int MaxTableSize = 4096;
constexpr quint32 MaxCommands = 1u << 22;
constexpr int MaxPoints = 1 << 16;
constexpr int MaxClipRects = 256;
constexpr int MaxTextBytes = 1 << 16;
constexpr int MaxFamilyBytes = 255;
constexpr int MaxFontPixels = 1024;
constexpr int MaxPenPixels = 1024;
constexpr int MaxImageSide = 8192;
constexpr qint64 MaxImagePixels = qint64(1) << 24;
constexpr double MaxTransformScale = 64; // and translations within MaxCoordinate

} // namespace PageFormat

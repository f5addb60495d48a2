#pragma once

#include <QFont>
#include <QString>

enum FontStyle : unsigned {
    fsRegular = 0,
    fsBold = 1u << 0,
    fsItalic = 1u << 1,
    fsUnderline = 1u << 2,
};

inline void applyFontStyle(QFont& font, unsigned style)
{
    font.setBold(style & fsBold);
    font.setItalic(style & fsItalic);
    font.setUnderline(style & fsUnderline);
}

// A font given by its character height in pixels, as the windows specify it.
inline QFont pixelFont(const QString& family, int pixels, unsigned style = fsRegular)
{
    QFont font(family);
    font.setPixelSize(pixels);
    applyFontStyle(font, style);
    return font;
}

// "MS Sans Serif" is not on the system. Left to fontconfig it becomes DejaVu
// Sans, wider than the layouts allow: bold row labels reach their boxes and
// the customer grid loses its last column. Of the installed fonts Liberation
// Sans has the closest widths (at 11 pixels "Kode Pelanggan" in bold takes
// 86 pixels against DejaVu Sans's 101, a digit 6 against 7). Called once by
// the application object.
inline void substituteWindowFonts()
{
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

// The windows' own font: "MS Sans Serif", 11 pixels.
inline QFont windowFont()
{
    return pixelFont(QStringLiteral("MS Sans Serif"), 11);
}

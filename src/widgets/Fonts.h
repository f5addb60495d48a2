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

// The windows' own font: "MS Sans Serif", 11 pixels.
inline QFont windowFont()
{
    return pixelFont(QStringLiteral("MS Sans Serif"), 11);
}

#include "app/TViewStyle.h"

#include "app/Fonts.h"

QFont TTextStyle::font() const
{
    QFont font(FontName);
    font.setPointSize(Size);
    font.setBold(Style & fsBold);
    font.setItalic(Style & fsItalic);
    font.setUnderline(Style & fsUnderline);
    return font;
}

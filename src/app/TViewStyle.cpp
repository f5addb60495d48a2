#include "app/TViewStyle.h"

#include "widgets/Fonts.h"

QFont TTextStyle::font() const
{
    QFont font(FontName);
    font.setPointSize(Size);
    applyFontStyle(font, Style);
    return font;
}

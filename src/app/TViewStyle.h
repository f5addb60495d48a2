#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>

// One text style of the styled-text viewer; Size is in points.
struct TTextStyle {
    QString FontName;
    int Size = 10;
    QColor Color;
    unsigned Style = 0; // FontStyle bits (Fonts.h)
    int CharSet = 0;    // kept for completeness; fonts are chosen by name

    QFont font() const;
};

// The style table of a styled-text viewer.
struct TViewStyle {
    QList<TTextStyle> TextStyles;
    QColor Color;        // fills the viewer where no background picture is drawn
    QColor SelColor;     // background of selected text
    QColor SelTextColor; // selected text
    QColor HoverColor;   // hypertext under the mouse (invalid: none)
    int JumpCursor = 101;
};

#pragma once

#include "app/TViewStyle.h"

#include <QList>
#include <QString>

// One item of the styled-text viewer's content: a text in one style, starting
// a new line, left-aligned or centred.
struct StyledItem {
    QString text;
    int style = 0;
    bool centered = false;
};

// One laid-out line, in content pixels.
struct LaidOutLine {
    int item = 0;
    QString text;
    int left = 0;
    int top = 0;
    int baseline = 0;
    int descent = 0;
    int width = 0;
};

struct StyledLayout {
    QList<LaidOutLine> lines;
    int contentHeight = 0;
};

// Cuts every non-empty item into lines that fit textWidth (at the last blank
// that fits, else at the last character that fits, at least one character)
// and stacks them: each line's top is the previous baseline plus the previous
// descent plus this font's external leading. Empty items take no space.
StyledLayout layOutItems(const QList<StyledItem>& items, const QList<TTextStyle>& styles, int leftMargin,
                         int textWidth);

// How many characters of text, from its start, make the next line.
int lineLength(const QString& text, const QFontMetrics& metrics, int textWidth);

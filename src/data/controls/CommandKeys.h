#pragma once

#include <QKeyEvent>

// Keys held with Ctrl, Alt or Meta are commands (shortcuts, a menu's
// mnemonic such as Alt+F), never typing: Alt+F pressed over a data-aware
// control must not write an "f" into the record.
inline bool isCommandKey(Qt::KeyboardModifiers modifiers)
{
    return modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

// A printable key held with Alt or Meta: the line edit under a control would
// type it (it refuses Ctrl alone); the control leaves it to its window.
inline bool isMnemonicKey(const QKeyEvent* event)
{
    const QString text = event->text();
    return text.size() == 1 && text.front().isPrint() && (event->modifiers() & (Qt::AltModifier | Qt::MetaModifier));
}

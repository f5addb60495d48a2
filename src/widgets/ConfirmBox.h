#pragma once

#include <QString>

class QWidget;

// The confirmation box with the buttons OK and Cancel: caption "Confirm",
// question icon, OK the default. True only for OK; Esc and the close box
// count as Cancel.
bool ConfirmOkCancel(QWidget* parent, const QString& text);

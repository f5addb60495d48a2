#pragma once

// Creating the windows reports, once, that today lies past the invoice
// dialog's latest date (2006-12-12). Tests that create the windows answer
// that box, and may keep what it said.

#include "ModalAnswer.h"

namespace test {

inline void answerDateLimitMessage(SeenBox* seen = nullptr)
{
    answerNextModal([seen](QWidget* box) {
        auto* message = qobject_cast<QMessageBox*>(box);
        if (seen) {
            seen->caption = box->windowTitle();
            seen->text = message ? message->text() : QString();
        }
        if (message && message->button(QMessageBox::Ok))
            message->button(QMessageBox::Ok)->click();
        else
            box->close();
    });
}

}

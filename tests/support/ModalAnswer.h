#pragma once

// Answers modal boxes the way a user would: a zero-delay timer waits for the
// next modal window to appear and hands it to the given action (which clicks
// a button, presses a key on the box's window or uses the close box). The
// box's real code runs.

#include "RealInput.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace test {

// Runs action on the next modal widget that is not `except`, once it has
// the keyboard (at once with `anyTime`, for an action that fills in a
// dialog without input); gives up after about five seconds so a test never hangs.
inline void answerNextModal(std::function<void(QWidget*)> action, QWidget* except = nullptr, int triesLeft = 500,
                            bool anyTime = false)
{
    QTimer::singleShot(triesLeft == 500 ? 0 : 10, [action, except, triesLeft, anyTime] {
        QWidget* box = QApplication::activeModalWidget();
        // Answered once it has the keyboard, as a user sees it first (a box
        // that never gets it is answered after half a second; keys pressed
        // on it then fail the test).
        const bool focused = box && QGuiApplication::focusWindow() == box->windowHandle();
        if (box && box != except && box->isVisible() && (focused || anyTime || triesLeft < 450)) {
            QPointer<QWidget> answered(box);
            action(box);
            // A box the action failed to close is closed, so a test fails instead of hanging.
            QTimer::singleShot(3000, [answered] {
                if (answered && answered->isVisible()) {
                    qWarning("modal box was not answered; closing it");
                    answered->close();
                }
            });
        }
        else if (triesLeft > 0)
            answerNextModal(action, except, triesLeft - 1, anyTime);
    });
}

// The button of a box whose text (without "&") is `caption`.
inline QAbstractButton* buttonCaptioned(QWidget* box, const QString& caption)
{
    for (QAbstractButton* b : box->findChildren<QAbstractButton*>())
        if (b->text().remove(QLatin1Char('&')) == caption)
            return b;
    return nullptr;
}

inline void clickButton(const QString& caption)
{
    answerNextModal([caption](QWidget* box) {
        if (QAbstractButton* b = buttonCaptioned(box, caption))
            clickAt(b);
    });
}

// A key pressed while the box has the keyboard.
inline void pressKeyOn(QWidget* box, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(box->windowHandle(), key, modifiers);
}

inline void pressKey(Qt::Key key)
{
    answerNextModal([key](QWidget* box) { pressKeyOn(box, key); });
}

inline void closeBox()
{
    answerNextModal([](QWidget* box) { box->close(); });
}

// Answers the next box as named: "Enter", "Esc", "close" (the close box) or
// the caption of the button to click.
inline void answer(const QString& how)
{
    if (how == QLatin1String("Enter"))
        pressKey(Qt::Key_Return);
    else if (how == QLatin1String("Esc"))
        pressKey(Qt::Key_Escape);
    else if (how == QLatin1String("close"))
        closeBox();
    else
        clickButton(how);
}

// What the last answered box showed.
struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::WindowModality modality = Qt::NonModal;
};

// Records the next box, then presses its default (OK) button.
inline void recordAndAccept(SeenBox* seen)
{
    answerNextModal([seen](QWidget* box) {
        seen->caption = box->windowTitle();
        seen->modality = box->windowModality();
        if (auto* mb = qobject_cast<QMessageBox*>(box)) {
            seen->text = mb->text();
            seen->icon = mb->icon();
            if (mb->button(QMessageBox::Ok))
                clickAt(mb->button(QMessageBox::Ok));
            else
                mb->accept();
        } else if (auto* dlg = qobject_cast<QDialog*>(box)) {
            if (QLabel* label = dlg->findChild<QLabel*>(QStringLiteral("Message")))
                seen->text = label->text();
            dlg->accept();
        }
    });
}

} // namespace test

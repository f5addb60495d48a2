#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QAbstractButton;
class QPushButton;
class QScreen;

// Result codes of the message boxes.
enum TModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrYes = 6,
    mrNo = 7,
};

// Buttons of the confirmation box; always shown in the order Yes, No, OK.
enum TMsgDlgBtn : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
};
using TMsgDlgButtons = unsigned;

// Flags of the platform message box (button set in the low nibble, icon above).
enum MessageBoxFlags : unsigned {
    MB_OK = 0x00,
    MB_OKCANCEL = 0x01,
    MB_YESNOCANCEL = 0x03,
    MB_YESNO = 0x04,
    MB_ICONHAND = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONASTERISK = 0x40,
};

// The toolkit's message dialog: used for the confirmation box and the plain
// message. Buttons return their result code; the close box returns mrCancel.
class TMessageForm : public QDialog {
    Q_OBJECT
public:
    TMessageForm(const QString& caption, const QString& text, bool questionIcon, TMsgDlgButtons buttons,
                 QWidget* parent = nullptr);

    // The text Ctrl+C puts on the clipboard.
    QString clipboardText() const;
    QPushButton* button(TModalResult result) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void addButton(const QString& caption, TModalResult result);

    QString m_caption;
    QString m_text;
    QList<QPushButton*> m_buttons;
    TModalResult m_cancelResult = mrCancel;
};

// The confirmation box: caption "Confirm", question icon. Returns 6, 7, 1 or 2.
int MessageDlg(const QString& text, TMsgDlgButtons buttons);

// The plain message: captioned with the application title, one "OK" button.
void ShowMessage(const QString& text);

// The platform message box owned by a window: only that window is disabled
// while it shows. Returns 1 (OK), 2 (Cancel), 6 (Yes) or 7 (No).
int OwnedMessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned flags);

// The platform message box with the given modality; OwnedMessageBox and the
// application message box are built on it.
// A box without owner appears centred on the given screen, if any.
int PlatformMessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned flags,
                       Qt::WindowModality modality, const QScreen* screen = nullptr);

// The error report's text: a full stop is added when the message is not empty
// and its last character comes after "." in the character table.
QString errorReportText(const QString& message);

// Runs a modal box of the program; when it closes, the window that was
// active before it is active again at once, with or without a window manager.
int execAndReactivate(QDialog& box);

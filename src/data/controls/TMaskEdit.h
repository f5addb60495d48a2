#pragma once

#include "data/EditMask.h"

#include <QLineEdit>

#include <functional>

enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// A one-line edit with an optional edit mask. With a mask the control keeps
// one character per mask position and does its own key handling: typing
// overwrites the position under the caret, the caret skips literals, refused
// characters beep, Backspace and Delete put the blank character back, Escape
// restores the text from when the control got the focus or was last written,
// and leaving the control or pressing Enter validates what the user typed.
// Without a mask it edits like a plain line edit.
//
// The protected hooks are where a data-aware edit plugs in: it asks its view
// to edit before any change (EditCanModify), refuses characters its field
// can't take (KeyPress), marks its text pending (Change), and loads and writes
// its field when the focus comes and goes (DoEnter, DoExit).
// Errors of handlers run from Qt events go to the default error report.
class TMaskEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TMaskEdit(QWidget* parent = nullptr);

    // The mask string ("P\000;1;_"); empty for none. Setting it realigns the text.
    QString EditMask() const { return m_mask.source(); }
    void SetEditMask(const QString& mask);
    const ::EditMask& Mask() const { return m_mask; }
    bool IsMasked() const { return !m_mask.isEmpty(); }

    // The value: with a mask, the positions with literals in place and empty
    // positions as spaces ("P0  "); without one, the text itself.
    QString Text() const;
    // Writes the value as a program does: aligned to the mask, not modified by
    // the user, remembered for Escape; OnChange runs if the shown text changes.
    void SetText(const QString& value);
    // The text as shown, blank characters and literals included.
    QString EditText() const { return text(); }

    // Maximum length without a mask (0: none); with a mask, the mask's length.
    int MaxLength() const;
    void SetMaxLength(int length);
    TEditCharCase CharCase() const { return m_charCase; }
    void SetCharCase(TEditCharCase charCase);

    // Raises EDBEditError when the user modified the text and a required
    // position is empty: beeps, takes the focus back and puts the caret on the
    // first such position first.
    virtual void ValidateEdit();

    // Runs after every change of the shown text, typed or written.
    std::function<void()> OnChange;
    // Runs for every character key (printable, "\b", "\r", "\x1b") before the
    // control acts on it; may change it, or set it to QChar() to swallow it.
    std::function<void(QChar& key)> OnKeyPress;

protected:
    // Asked before the user changes the text; false refuses the change.
    virtual bool EditCanModify();
    // A character key; the default runs OnKeyPress.
    virtual void KeyPress(QChar& key);
    // Any key before it is handled; set key to 0 to swallow it.
    virtual void KeyDown(int& key, Qt::KeyboardModifiers modifiers);
    // After every change of the shown text; the default runs OnChange.
    virtual void Change();
    // The control became its window's focus control: remembers the text for
    // Escape and selects all when the keyboard brought the focus.
    virtual void DoEnter(Qt::FocusReason reason);
    // The focus went to another control (not to another window): validates.
    virtual void DoExit();
    // Escape after the user modified a masked text: the remembered text again.
    virtual void Reset();
    // Takes back the focus that is leaving, without a new DoEnter: for an
    // exit that fails.
    void KeepFocus();
    // Shows an edit text as it is (not aligned to the mask), as a program's write.
    void SetEditText(const QString& editText) { programWrote(editText); }

    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void handleKey(QKeyEvent* event);
    void handleCharacter(QChar key, QKeyEvent* event);
    bool handleMaskedCommand(QKeyEvent* event);
    void handlePlainCommand(QKeyEvent* event);
    void typeCharacter(QChar c);
    void eraseBackward();
    void eraseForward();
    void blankRange(int from, int to);
    void cutSelection();
    void pasteClipboard();
    void moveCaret(int key);

    int putCharacter(QString& editText, int position, QChar c) const;
    QString withCharCase(const QString& text) const;
    int caret() const;
    void placeCaret(int position);
    void showText(const QString& editText);
    void userEdited(const QString& editText, int caretPosition);
    void userChanged();
    bool editAsLineEdit(const std::function<void()>& edit);
    void programWrote(const QString& editText, bool alreadyChanged = false);
    void onTextChanged();

    ::EditMask m_mask;
    TEditCharCase m_charCase = TEditCharCase::ecNormal;
    int m_maxLength = 0;
    QString m_savedText;   // what Escape brings back
    int m_internal = 0;    // > 0 while the control itself changes the shown text
    bool m_entered = false;    // the focus control of its window
    bool m_refocusing = false; // inside KeepFocus()
};

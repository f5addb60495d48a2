#include "TMaskEdit.h"

#include "CommandKeys.h"

#include "errors/HandlerGuard.h"
#include "widgets/Beep.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>

namespace {

constexpr QChar backspaceKey(0x08);
constexpr QChar enterKey(0x0d);
constexpr QChar escapeKey(0x1b);
constexpr int noLimit = 32767; // QLineEdit's own default

// The character a key event types, with Backspace, Enter and Escape as their
// control characters; QChar() for keys that type nothing.
QChar characterOf(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Backspace: return isCommandKey(event->modifiers()) ? QChar() : backspaceKey;
    case Qt::Key_Return:
    case Qt::Key_Enter: return enterKey;
    case Qt::Key_Escape: return escapeKey;
    default: break;
    }
    const QString text = event->text();
    if (text.size() != 1 || !text.front().isPrint() || isCommandKey(event->modifiers()))
        return QChar();
    return text.front();
}

bool isTextCommand(const QKeyEvent* event)
{
    static const QKeySequence::StandardKey commands[] = {
        QKeySequence::Cut, QKeySequence::Paste, QKeySequence::Undo, QKeySequence::Redo,
        QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord, QKeySequence::DeleteEndOfLine,
        QKeySequence::DeleteCompleteLine,
    };
    if (event->key() == Qt::Key_Delete)
        return true;
    for (const auto command : commands) {
        if (event->matches(command))
            return true;
    }
    return false;
}

bool isCaretKey(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End;
}

} // namespace

TMaskEdit::TMaskEdit(QWidget* parent) : QLineEdit(parent)
{
    setAcceptDrops(false);
    connect(this, &QLineEdit::textChanged, this, &TMaskEdit::onTextChanged);
}

void TMaskEdit::SetEditMask(const QString& mask)
{
    const QString value = Text();
    m_mask = ::EditMask(mask);
    QLineEdit::setMaxLength(IsMasked() ? m_mask.length() : m_maxLength > 0 ? m_maxLength : noLimit);
    SetText(value);
}

QString TMaskEdit::Text() const
{
    return IsMasked() ? m_mask.textOf(text()) : text();
}

void TMaskEdit::SetText(const QString& value)
{
    const QString cased = withCharCase(value);
    programWrote(IsMasked() ? m_mask.align(cased) : cased.left(QLineEdit::maxLength()));
}

int TMaskEdit::MaxLength() const
{
    return IsMasked() ? m_mask.length() : m_maxLength;
}

void TMaskEdit::SetMaxLength(int length)
{
    m_maxLength = std::max(length, 0);
    if (!IsMasked())
        QLineEdit::setMaxLength(m_maxLength > 0 ? m_maxLength : noLimit);
}

void TMaskEdit::SetCharCase(TEditCharCase charCase)
{
    m_charCase = charCase;
    SetText(text());
}

void TMaskEdit::ValidateEdit()
{
    if (!IsMasked() || !isModified())
        return;
    const int invalid = m_mask.firstInvalidPosition(text());
    if (invalid < 0)
        return;
    beep();
    KeepFocus();
    placeCaret(invalid);
    m_mask.validate(text());
}

void TMaskEdit::KeepFocus()
{
    if (hasFocus())
        return;
    m_refocusing = true;
    setFocus(Qt::OtherFocusReason);
    m_refocusing = false;
}

bool TMaskEdit::EditCanModify()
{
    return !isReadOnly();
}

void TMaskEdit::KeyPress(QChar& key)
{
    if (OnKeyPress)
        OnKeyPress(key);
}

void TMaskEdit::KeyDown(int&, Qt::KeyboardModifiers)
{
}

void TMaskEdit::Change()
{
    if (OnChange)
        OnChange();
}

void TMaskEdit::DoEnter(Qt::FocusReason reason)
{
    m_savedText = text();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
        selectAll();
    else if (IsMasked() && !hasSelectedText())
        placeCaret(cursorPosition());
}

void TMaskEdit::DoExit()
{
    ValidateEdit();
}

void TMaskEdit::Reset()
{
    programWrote(m_savedText);
}

void TMaskEdit::keyPressEvent(QKeyEvent* event)
{
    guarded([&] { handleKey(event); });
}

void TMaskEdit::handleKey(QKeyEvent* event)
{
    int key = event->key();
    KeyDown(key, event->modifiers());
    if (key == 0)
        return;
    if (const QChar c = characterOf(event); !c.isNull()) {
        handleCharacter(c, event);
        return;
    }
    if (isMnemonicKey(event)) {
        event->ignore();
        return;
    }
    if (isTextCommand(event) && !EditCanModify())
        return;
    if (!IsMasked())
        handlePlainCommand(event);
    else if (!handleMaskedCommand(event))
        event->ignore();
}

void TMaskEdit::handleCharacter(QChar key, QKeyEvent* event)
{
    KeyPress(key);
    if (key == enterKey) {
        ValidateEdit();
        if (event)
            QLineEdit::keyPressEvent(event); // returnPressed, and the dialog's default button
    } else if (key == escapeKey) {
        if (IsMasked() && isModified())
            Reset();
        else if (event)
            event->ignore(); // the dialog's cancel button
    } else if (key == backspaceKey) {
        if (EditCanModify())
            eraseBackward();
    } else if (key.isPrint() && EditCanModify()) {
        typeCharacter(key);
    }
}

// Keys of a masked control that type no character; false for keys it leaves
// to its window (Tab, Up, function keys...).
bool TMaskEdit::handleMaskedCommand(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cut))
        cutSelection();
    else if (event->matches(QKeySequence::Paste))
        pasteClipboard();
    else if (event->key() == Qt::Key_Delete)
        eraseForward();
    else if (isTextCommand(event))
        return true; // undo and word deletion would break the mask: swallowed
    else if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll))
        QLineEdit::keyPressEvent(event);
    else if (isCaretKey(event->key())) {
        if (event->modifiers() & Qt::ShiftModifier)
            QLineEdit::keyPressEvent(event);
        else
            moveCaret(event->key());
    } else {
        return false;
    }
    return true;
}

void TMaskEdit::handlePlainCommand(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        pasteClipboard();
        return;
    }
    editAsLineEdit([&] { QLineEdit::keyPressEvent(event); });
}

// Lets the line edit change the text of a control without a mask; a change
// counts as the user's. Returns whether the text changed.
bool TMaskEdit::editAsLineEdit(const std::function<void()>& edit)
{
    const QString before = text();
    ++m_internal;
    edit();
    --m_internal;
    if (text() == before)
        return false;
    userChanged();
    return true;
}

void TMaskEdit::typeCharacter(QChar c)
{
    if (!IsMasked()) {
        if (!editAsLineEdit([&] { insert(withCharCase(QString(c))); }))
            beep(); // at the length limit
        return;
    }
    QString editText = text();
    int position = caret();
    if (selectionLength() > 1) {
        editText = m_mask.blanked(editText, selectionStart(), selectionEnd());
        position = selectionStart();
    }
    const int next = putCharacter(editText, position, c);
    userEdited(editText, next < 0 ? position : next);
    if (next < 0)
        beep();
}

// Puts a typed character into the first position to fill from `position`;
// the character of the literal that follows moves past that literal instead.
// Returns the position after it, or -1 when the character is refused.
int TMaskEdit::putCharacter(QString& editText, int position, QChar c) const
{
    if (position < m_mask.length() && m_mask.isLiteral(position) && m_mask.at(position).literal == c)
        return position + 1;
    position = m_mask.nextEditable(position);
    if (position < 0 || position >= editText.size())
        return -1; // no place left in the text shown
    const QChar accepted = m_mask.accept(position, withCharCase(QString(c)).front());
    if (!accepted.isNull()) {
        editText[position] = accepted;
        return position + 1;
    }
    const int literal = m_mask.nextLiteral(position);
    return literal >= 0 && m_mask.at(literal).literal == c ? literal + 1 : -1;
}

void TMaskEdit::eraseBackward()
{
    if (!IsMasked()) {
        QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        handlePlainCommand(&backspace);
    } else if (selectionLength() > 1) {
        blankRange(selectionStart(), selectionEnd());
    } else if (const int position = m_mask.previousEditable(caret()); position >= 0) {
        blankRange(position, position + 1);
    }
}

void TMaskEdit::eraseForward()
{
    if (!IsMasked()) {
        editAsLineEdit([this] { del(); });
    } else if (selectionLength() > 1) {
        blankRange(selectionStart(), selectionEnd());
    } else if (const int position = m_mask.nextEditable(caret()); position < m_mask.length()) {
        blankRange(position, position + 1);
    }
}

// The user's erasing: blank characters in the non-literal positions of [from, to).
void TMaskEdit::blankRange(int from, int to)
{
    userEdited(m_mask.blanked(text(), from, to), from);
}

void TMaskEdit::cutSelection()
{
    if (!hasSelectedText())
        return;
    copy();
    if (IsMasked())
        blankRange(selectionStart(), selectionEnd());
    else
        eraseForward();
}

void TMaskEdit::pasteClipboard()
{
    const QString pasted = QGuiApplication::clipboard()->text();
    if (!IsMasked()) {
        editAsLineEdit([&] { insert(withCharCase(pasted)); });
        return;
    }
    QString editText = text();
    int position = caret();
    if (hasSelectedText()) {
        editText = m_mask.blanked(editText, selectionStart(), selectionEnd());
        position = selectionStart();
    }
    bool refused = false;
    for (const QChar c : pasted) {
        const int next = putCharacter(editText, position, c);
        refused |= next < 0;
        position = next < 0 ? position : next;
    }
    userEdited(editText, position);
    if (refused)
        beep();
}

void TMaskEdit::moveCaret(int key)
{
    const int from = caret();
    switch (key) {
    case Qt::Key_Left: {
        const int previous = m_mask.previousEditable(from);
        placeCaret(previous >= 0 ? previous : from);
        break;
    }
    case Qt::Key_Right: placeCaret(selectionLength() > 1 ? selectionEnd() : std::min(from + 1, m_mask.length())); break;
    case Qt::Key_Home: placeCaret(0); break;
    default: placeCaret(m_mask.length()); break; // End
    }
}

QString TMaskEdit::withCharCase(const QString& text) const
{
    switch (m_charCase) {
    case TEditCharCase::ecUpperCase: return text.toUpper();
    case TEditCharCase::ecLowerCase: return text.toLower();
    case TEditCharCase::ecNormal: break;
    }
    return text;
}

// The position the caret stands on: the start of the selection if there is one.
int TMaskEdit::caret() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

// Puts the caret on the first position to fill from `position`, selecting
// that position's character so that typing overwrites it.
void TMaskEdit::placeCaret(int position)
{
    if (!IsMasked()) {
        setCursorPosition(position);
        return;
    }
    const int next = m_mask.nextEditable(position);
    if (next < m_mask.length() && hasFocus())
        setSelection(next, 1);
    else
        setCursorPosition(next);
}

void TMaskEdit::showText(const QString& editText)
{
    ++m_internal;
    QLineEdit::setText(editText);
    --m_internal;
}

void TMaskEdit::userEdited(const QString& editText, int caretPosition)
{
    const bool changed = editText != text();
    if (changed)
        showText(editText);
    placeCaret(caretPosition);
    if (changed)
        userChanged();
}

void TMaskEdit::userChanged()
{
    setModified(true);
    Change();
}

void TMaskEdit::programWrote(const QString& editText, bool alreadyChanged)
{
    const bool changed = alreadyChanged || editText != text();
    if (editText != text()) {
        showText(editText);
        placeCaret(IsMasked() ? 0 : int(editText.size()));
    }
    setModified(false);
    m_savedText = editText;
    if (changed)
        Change();
}

// The shown text changed behind the control's back (QLineEdit::setText called
// directly): it counts as a program's write.
void TMaskEdit::onTextChanged()
{
    if (m_internal > 0)
        return;
    guarded([&] { programWrote(IsMasked() ? m_mask.align(withCharCase(text())) : withCharCase(text()), true); });
}

// The control is entered when it becomes its window's focus control: not
// when its window is merely activated again, nor when it keeps the focus.
void TMaskEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    const bool entering = !m_entered && !m_refocusing;
    m_entered = true;
    if (entering)
        guarded([&] { DoEnter(event->reason()); });
}

// The control is left when the focus goes to another control of the program;
// a switch to another window or a popup menu leaves it its window's focus.
void TMaskEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (!m_entered || event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    m_entered = false;
    guarded([&] { DoExit(); });
}

void TMaskEdit::mouseReleaseEvent(QMouseEvent* event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (IsMasked() && !hasSelectedText())
        placeCaret(cursorPosition());
}

void TMaskEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (!IsMasked()) {
        guarded([&] {
            if (event->commitString().isEmpty() || EditCanModify())
                editAsLineEdit([&] { QLineEdit::inputMethodEvent(event); });
        });
        return;
    }
    guarded([&] {
        for (QChar c : event->commitString())
            handleCharacter(c, nullptr);
    });
    event->accept();
}

// The edit commands of the menu go through the same checks as their keys.
void TMaskEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu;
    const auto command = [this](auto action) {
        return [this, action] {
            guarded([&] {
                if (EditCanModify())
                    (this->*action)();
            });
        };
    };
    menu.addAction(tr("Cu&t"), QKeySequence::Cut, this, command(&TMaskEdit::cutSelection))
        ->setEnabled(hasSelectedText());
    menu.addAction(tr("&Copy"), QKeySequence::Copy, this, &QLineEdit::copy)->setEnabled(hasSelectedText());
    menu.addAction(tr("&Paste"), QKeySequence::Paste, this, command(&TMaskEdit::pasteClipboard));
    menu.addAction(tr("Delete"), this, command(&TMaskEdit::eraseForward))->setEnabled(hasSelectedText());
    menu.addSeparator();
    menu.addAction(tr("Select All"), QKeySequence::SelectAll, this, &QLineEdit::selectAll);
    menu.exec(event->globalPos());
}

#include "TDBComboBox.h"

#include "CommandKeys.h"

#include "errors/HandlerGuard.h"
#include "widgets/Beep.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

bool changesText(const QKeyEvent* event)
{
    const QString text = event->text();
    const bool typed = text.size() == 1 && text.front().isPrint() && !isCommandKey(event->modifiers());
    return typed || event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete
        || event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut);
}

} // namespace

TDBComboBox::TDBComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    lineEdit()->setReadOnly(true);
    // Qt treats the edit part losing the focus (to the list, another control
    // or another window) as choosing the item its text matches. That is no
    // choice: typed text was handled as it was typed.
    disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
    m_link.OnDataChange = [this] { DataChange(); };
    m_link.OnEditingChange = [this] { lineEdit()->setReadOnly(!m_link.Editing()); };
    m_link.OnActiveChange = m_link.OnEditingChange;
    m_link.OnUpdateData = [this] { UpdateData(); };
    connect(this, &QObject::objectNameChanged, this, [this](const QString& name) { m_link.ControlName = name; });
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { guarded([this] { Change(); }); });
    connect(this, &QComboBox::activated, this, [this](int index) { guarded([&] { Chosen(index); }); });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget* old, QWidget* now) { guarded([&] { FocusChanged(old, now); }); });
}

TDBComboBox::TDBComboBox(QWidget* parent, const QRect& geometry, TDataSource* source, const QString& dataField,
                         const QStringList& items)
    : TDBComboBox(parent)
{
    setGeometry(geometry);
    SetItems(items);
    SetDataField(dataField);
    SetDataSource(source);
}

void TDBComboBox::SetItems(const QStringList& items)
{
    ++m_loading;
    const QString shown = currentText();
    clear();
    addItems(items);
    setEditText(shown);
    --m_loading;
}

// An unchanged text is left alone, so that a reload (the view entering edit
// state on the first key typed) keeps the user's selection and caret.
void TDBComboBox::ShowText(const QString& text)
{
    if (text == currentText())
        return;
    ++m_loading;
    setEditText(text);
    --m_loading;
}

// The field's edit text, as text: it need not be an item. Not while the
// list is open, so a choice being made isn't overwritten.
void TDBComboBox::DataChange()
{
    if (view()->isVisible())
        return;
    const TField* field = m_link.Field();
    ShowText(field ? field->EditText() : QString());
}

void TDBComboBox::UpdateData()
{
    if (TField* field = m_link.Field())
        field->SetEditText(currentText());
}

// Keys that change the edit part: the view is asked to edit first; a
// character the field can't take is refused with a beep; Escape discards the
// pending text. Returns true for a key swallowed here.
bool TDBComboBox::EditKey(QKeyEvent* event)
{
    const TField* field = m_link.Field();
    if (event->key() == Qt::Key_Escape && !view()->isVisible()) {
        m_link.Reset();
        lineEdit()->selectAll();
        return true;
    }
    if (!changesText(event))
        return false;
    const QString text = event->text();
    if (field && text.size() == 1 && text.front().isPrint() && !field->IsValidChar(text.front())) {
        beep();
        return true;
    }
    return !m_link.Edit();
}

void TDBComboBox::keyPressEvent(QKeyEvent* event)
{
    if (isMnemonicKey(event)) {
        event->ignore(); // the box's edit part would type it
        return;
    }
    bool swallowed = true;
    guarded([&] { swallowed = EditKey(event); });
    if (!swallowed)
        QComboBox::keyPressEvent(event);
}

// Text an input method commits is typing too: the view is asked to edit first.
void TDBComboBox::inputMethodEvent(QInputMethodEvent* event)
{
    bool editing = event->commitString().isEmpty();
    if (!editing)
        guarded([&] { editing = m_link.Edit(); });
    if (editing)
        QComboBox::inputMethodEvent(event);
}

// The user changed the edit part: the view is editing by now (EditKey).
void TDBComboBox::Change()
{
    if (m_loading > 0)
        return;
    m_link.Edit();
    if (OnChange)
        OnChange();
    m_link.Modify();
}

// A choice from the list: refused when the view can't be edited; else the
// item's text goes into the edit part before the change event.
void TDBComboBox::Chosen(int index)
{
    const QString item = itemText(index);
    if (!m_link.Edit()) {
        DataChange();
        return;
    }
    ShowText(item);
    if (OnChange)
        OnChange();
    m_link.Modify();
}

bool TDBComboBox::IsInside(const QWidget* widget) const
{
    return widget && (widget == this || widget == lineEdit());
}

// Focus moves between controls of this window: entering reloads the text;
// leaving writes the pending text, and a failing write keeps the focus with
// the text selected while the error goes on to the report. The list's own
// window taking and returning the focus is neither.
void TDBComboBox::FocusChanged(QWidget* old, QWidget* now)
{
    const bool sameWindow = old && now && old->window() == now->window();
    if (!sameWindow || IsInside(old) == IsInside(now))
        return;
    if (IsInside(now)) {
        m_link.Reset();
        return;
    }
    try {
        m_link.UpdateRecord();
    } catch (...) {
        lineEdit()->selectAll();
        setFocus(Qt::OtherFocusReason);
        throw;
    }
}

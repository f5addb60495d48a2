#include "TDBEdit.h"

#include "widgets/Beep.h"

TDBEdit::TDBEdit(QWidget* parent) : TMaskEdit(parent)
{
    setReadOnly(true);
    m_link.OnDataChange = [this] { DataChange(); };
    m_link.OnEditingChange = [this] { EditingChange(); };
    m_link.OnActiveChange = [this] { EditingChange(); };
    m_link.OnUpdateData = [this] { UpdateData(); };
    connect(this, &QObject::objectNameChanged, this, [this](const QString& name) { m_link.ControlName = name; });
}

TDBEdit::TDBEdit(QWidget* parent, const QRect& geometry, TDataSource* source, const QString& dataField)
    : TDBEdit(parent)
{
    setGeometry(geometry);
    SetDataField(dataField);
    SetDataSource(source);
}

// Loads the text from the field: the mask and length rules first, then the
// edit text while focused (and modifiable), else the display text.
void TDBEdit::DataChange()
{
    ++m_loading;
    const TField* field = m_link.Field();
    if (!field) {
        SetEditMask(QString());
        SetText(QString());
    } else {
        setAlignment(field->Alignment() == TAlignment::taRightJustify ? Qt::AlignRight : Qt::AlignLeft);
        if (EditMask() != field->EditMask())
            SetEditMask(field->EditMask());
        if (!IsMasked() && field->DataType() == TFieldType::ftString && MaxLength() == 0)
            SetMaxLength(field->Size());
        if (m_focused && field->CanModify())
            SetText(field->EditText());
        else
            SetEditText(field->DisplayText());
    }
    --m_loading;
}

void TDBEdit::SetReadOnly(bool readOnly)
{
    m_link.ReadOnly = readOnly;
    m_link.UpdateState();
}

void TDBEdit::ClearShownText()
{
    if (Pending())
        return;
    ++m_loading;
    SetText(QString());
    --m_loading;
}

void TDBEdit::EditingChange()
{
    setReadOnly(!m_link.Editing());
}

void TDBEdit::UpdateData()
{
    ValidateEdit();
    if (TField* field = m_link.Field())
        field->SetEditText(Text());
}

bool TDBEdit::EditCanModify()
{
    return m_link.Edit();
}

void TDBEdit::KeyPress(QChar& key)
{
    TMaskEdit::KeyPress(key);
    const TField* field = m_link.Field();
    if (key.isPrint() && field && !field->IsValidChar(key)) {
        beep();
        key = QChar();
    } else if (key == QChar(0x1b)) {
        Reset();
        key = QChar();
    }
}

void TDBEdit::Change()
{
    if (m_loading == 0)
        m_link.Modify();
    TMaskEdit::Change();
}

void TDBEdit::DoEnter(Qt::FocusReason reason)
{
    m_focused = true;
    m_link.Reset();
    TMaskEdit::DoEnter(reason);
}

// A failing write keeps the control focused with its text selected; the
// error goes on to the caller (for a focus change, the error report).
void TDBEdit::DoExit()
{
    try {
        m_link.UpdateRecord();
    } catch (...) {
        selectAll();
        KeepFocus();
        throw;
    }
    m_focused = false;
    DataChange();
}

// Escape: the field's text again, nothing pending, all selected.
void TDBEdit::Reset()
{
    m_link.Reset();
    selectAll();
}

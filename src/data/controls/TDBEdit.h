#pragma once

#include "TMaskEdit.h"
#include "data/DataSource.h"

// A masked edit bound to one field of a data source. Unfocused it shows the
// field's display text; focused (and the field modifiable) its edit text.
// It reloads on every record change and on receiving the focus, is read-only
// while its view is not editing, asks the view to edit when the user starts
// typing, and writes its pending text into the field when the focus leaves
// or the view asks for it (posting, settling).
class TDBEdit : public TMaskEdit {
    Q_OBJECT
public:
    explicit TDBEdit(QWidget* parent = nullptr);
    TDBEdit(QWidget* parent, const QRect& geometry, TDataSource* source, const QString& dataField);

    TDataSource* DataSource() const { return m_link.DataSource(); }
    void SetDataSource(TDataSource* source) { m_link.SetDataSource(source); }
    QString DataField() const { return m_link.FieldName(); }
    void SetDataField(const QString& name) { m_link.SetFieldName(name); }
    TField* Field() const { return m_link.Field(); }
    // True while the text differs from the field and is not yet written.
    bool Pending() const { return m_link.Modified(); }
    // A read-only edit shows its field and never asks its view to edit.
    bool ReadOnly() const { return m_link.ReadOnly; }
    void SetReadOnly(bool readOnly);
    // Empties the shown text without marking it pending, so a later post
    // can't write the empty text over the field; the next reload (focus,
    // record change, the view entering edit state) shows the field again.
    // Text the user typed and that is not yet written stays shown.
    void ClearShownText();

protected:
    bool EditCanModify() override;
    void KeyPress(QChar& key) override;
    void Change() override;
    void DoEnter(Qt::FocusReason reason) override;
    void DoExit() override;
    void Reset() override;

private:
    void DataChange();
    void EditingChange();
    void UpdateData();

    TFieldDataLink m_link;
    bool m_focused = false;
    int m_loading = 0;   // > 0 while the control loads its text from the field
};

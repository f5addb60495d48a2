#pragma once

#include "data/DataSource.h"

#include <QComboBox>

#include <functional>

// A drop-down combo box bound to one field: a free-text edit part showing
// the field's edit text, with a list of Items. Choosing or typing first asks
// the view to edit, then runs OnChange, then marks the text pending; so a
// change handler runs with the view already editing. The pending text is
// written when the focus leaves or the view posts or settles.
class TDBComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TDBComboBox(QWidget* parent = nullptr);
    TDBComboBox(QWidget* parent, const QRect& geometry, TDataSource* source, const QString& dataField,
                const QStringList& items);

    TDataSource* DataSource() const { return m_link.DataSource(); }
    void SetDataSource(TDataSource* source) { m_link.SetDataSource(source); }
    QString DataField() const { return m_link.FieldName(); }
    void SetDataField(const QString& name) { m_link.SetFieldName(name); }
    TField* Field() const { return m_link.Field(); }
    void SetItems(const QStringList& items);
    QString Text() const { return currentText(); }
    bool Pending() const { return m_link.Modified(); }

    std::function<void()> OnChange;

protected:
    // Keys reach the combo box, the focus proxy of its edit part, which
    // forwards them to the edit part directly; so they are taken here.
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    void DataChange();
    void UpdateData();
    bool EditKey(QKeyEvent* event);
    void Change();
    void Chosen(int index);
    void ShowText(const QString& text);
    bool IsInside(const QWidget* widget) const;
    void FocusChanged(QWidget* old, QWidget* now);

    TFieldDataLink m_link;
    int m_loading = 0;
};

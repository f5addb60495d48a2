#pragma once

#include "DataSet.h"

#include <QList>

#include <functional>

class TDataLink;

// Connects the controls (through their links) to one view and passes every
// event of the view to them.
class TDataSource : public TComponent {
public:
    explicit TDataSource(QObject* owner = nullptr);
    ~TDataSource() override;

    TDataSet* DataSet() const { return m_dataSet; }
    void SetDataSet(TDataSet* dataSet);
    // Called by a view that is being destroyed: forgets it without events.
    void detachDataSet() { m_dataSet = nullptr; }
    TDataSetState State() const { return m_dataSet && m_enabled ? m_dataSet->State() : dsInactive; }
    bool AutoEdit = true;
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    // Puts the view into edit state when AutoEdit allows it (a control's typing).
    void Edit();

    // Plain observers besides the links.
    std::function<void(TField*)> OnDataChange;
    std::function<void()> OnStateChange;
    std::function<void()> OnUpdateData;

    // Used by the view and the links.
    void DataEvent(TDataEvent event, TField* field);
    void addLink(TDataLink* link);
    void removeLink(TDataLink* link);
    const QList<TDataLink*>& links() const { return m_links; }

private:
    void NotifyLinks(const std::function<void(TDataLink*)>& call);

    TDataSet* m_dataSet = nullptr;
    bool m_enabled = true;
    QList<TDataLink*> m_links;
};

// One listener of a data source. Subclasses override the event methods.
class TDataLink {
public:
    TDataLink() = default;
    virtual ~TDataLink();
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const { return m_dataSource; }
    void SetDataSource(TDataSource* source);
    TDataSet* DataSet() const { return m_dataSource ? m_dataSource->DataSet() : nullptr; }
    bool Active() const { return m_active; }
    bool Editing() const { return m_editing; }
    bool ReadOnly = false;
    // Asks the data source to edit (not for a field that can't be modified);
    // true when the view is then editing.
    bool Edit();

    // Called by the data source.
    void UpdateState();
    virtual void ActiveChanged() {}
    virtual void EditingChanged() {}
    virtual void RecordChanged(TField* field) { (void)field; }
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled() { DataSetChanged(); }
    virtual void LayoutChanged() { DataSetChanged(); }
    virtual void UpdateData() {}
    virtual void CheckBrowseMode() {}

protected:
    virtual bool CanEdit() const;

private:
    TDataSource* m_dataSource = nullptr;
    bool m_active = false;
    bool m_editing = false;
};

// The link of a control to one field, found by name (case-insensitive).
class TFieldDataLink : public TDataLink {
public:
    TFieldDataLink() = default;

    QString FieldName() const { return m_fieldName; }
    void SetFieldName(const QString& name);
    TField* Field() const { return m_field; }
    // Name of the control, the prefix of "Field '%s' not found".
    QString ControlName;
    bool Modified() const { return m_modified; }
    // The control has pending text: it will be asked to write it (UpdateData).
    void Modify() { m_modified = true; }
    void Reset();
    // Writes pending text now (before the control loses the focus); in
    // browse state the field's write raises.
    void UpdateRecord();

    std::function<void()> OnDataChange;
    std::function<void()> OnEditingChange;
    std::function<void()> OnUpdateData;
    std::function<void()> OnActiveChange;

    void ActiveChanged() override;
    void EditingChanged() override;
    void RecordChanged(TField* field) override;
    void LayoutChanged() override;
    void UpdateData() override;

protected:
    bool CanEdit() const override;

private:
    void UpdateField();

    QString m_fieldName;
    TField* m_field = nullptr;
    bool m_modified = false;
};

class TDetailDataLink : public TDataLink {
public:
    virtual TDataSet* DetailDataSet() const = 0;
};

// The link from a detail view to its master's data source.
class TMasterDataLink : public TDetailDataLink {
public:
    explicit TMasterDataLink(TTable* detail) : m_detail(detail) {}

    TDataSet* DetailDataSet() const override;
    QString FieldNames;
    // The master fields, looked up by name in the master view.
    QList<TField*> Fields() const;

    void ActiveChanged() override;
    void RecordChanged(TField* field) override;
    void DataSetChanged() override;
    void CheckBrowseMode() override;

private:
    TTable* m_detail;
};

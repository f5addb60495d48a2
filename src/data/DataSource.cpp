#include "DataSource.h"

// ---------------------------------------------------------------- data source

TDataSource::TDataSource(QObject* owner) : TComponent(owner) {}

TDataSource::~TDataSource()
{
    if (m_dataSet)
        m_dataSet->removeDataSource(this);
    // Each link removes itself from m_links: walk a copy.
    const QList<TDataLink*> links = m_links;
    for (TDataLink* link : links)
        link->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet* dataSet)
{
    if (dataSet == m_dataSet)
        return;
    if (m_dataSet)
        m_dataSet->removeDataSource(this);
    m_dataSet = dataSet;
    if (m_dataSet)
        m_dataSet->addDataSource(this);
    DataEvent(deUpdateState, nullptr);
}

void TDataSource::SetEnabled(bool enabled)
{
    m_enabled = enabled;
    DataEvent(deUpdateState, nullptr);
}

void TDataSource::Edit()
{
    if (AutoEdit && m_dataSet && m_dataSet->State() == dsBrowse)
        m_dataSet->Edit();
}

void TDataSource::addLink(TDataLink* link)
{
    if (!m_links.contains(link))
        m_links.append(link);
}

void TDataSource::removeLink(TDataLink* link)
{
    m_links.removeAll(link);
}

// Links may come and go while an event is passed on: walk a copy and skip
// the ones removed meanwhile.
void TDataSource::NotifyLinks(const std::function<void(TDataLink*)>& call)
{
    const QList<TDataLink*> links = m_links;
    for (TDataLink* link : links) {
        if (m_links.contains(link))
            call(link);
    }
}

void TDataSource::DataEvent(TDataEvent event, TField* field)
{
    if (event == deUpdateState) {
        NotifyLinks([](TDataLink* link) { link->UpdateState(); });
        if (OnStateChange)
            OnStateChange();
        return;
    }
    if (!m_enabled)
        return;
    switch (event) {
    case deFieldChange:
    case deRecordChange:
        NotifyLinks([&](TDataLink* link) { link->RecordChanged(event == deFieldChange ? field : nullptr); });
        break;
    case deDataSetChange:
        NotifyLinks([](TDataLink* link) { link->DataSetChanged(); });
        break;
    case deDataSetScroll:
        NotifyLinks([](TDataLink* link) { link->DataSetScrolled(); });
        break;
    case deLayoutChange:
        NotifyLinks([](TDataLink* link) { link->LayoutChanged(); });
        break;
    case deUpdateRecord:
        NotifyLinks([](TDataLink* link) { link->UpdateData(); });
        if (OnUpdateData)
            OnUpdateData();
        return;
    case deCheckBrowseMode:
        NotifyLinks([](TDataLink* link) { link->CheckBrowseMode(); });
        return;
    default:
        return;
    }
    if (OnDataChange)
        OnDataChange(event == deFieldChange ? field : nullptr);
}

// ---------------------------------------------------------------- link

TDataLink::~TDataLink()
{
    if (m_dataSource)
        m_dataSource->removeLink(this);
}

void TDataLink::SetDataSource(TDataSource* source)
{
    if (source == m_dataSource)
        return;
    if (m_dataSource)
        m_dataSource->removeLink(this);
    m_dataSource = source;
    if (m_dataSource)
        m_dataSource->addLink(this);
    UpdateState();
}

bool TDataLink::CanEdit() const
{
    return !ReadOnly && DataSet() && DataSet()->CanModify();
}

void TDataLink::UpdateState()
{
    const TDataSetState state = m_dataSource ? m_dataSource->State() : dsInactive;
    const bool active = state != dsInactive;
    const bool editing = (state == dsEdit || state == dsInsert) && CanEdit();
    if (active != m_active) {
        m_active = active;
        if (!active)
            m_editing = false;
        ActiveChanged();
    }
    if (editing != m_editing) {
        m_editing = editing;
        EditingChanged();
    }
}

bool TDataLink::Edit()
{
    if (m_dataSource && CanEdit())
        m_dataSource->Edit();
    return m_editing;
}

// ---------------------------------------------------------------- field link

void TFieldDataLink::SetFieldName(const QString& name)
{
    m_fieldName = name;
    UpdateField();
    RecordChanged(nullptr);
}

void TFieldDataLink::UpdateField()
{
    m_field = nullptr;
    TDataSet* dataSet = DataSet();
    if (!Active() || !dataSet || m_fieldName.isEmpty())
        return;
    m_field = dataSet->FindField(m_fieldName);
    if (!m_field) {
        const QString text = QStringLiteral("Field '%1' not found").arg(m_fieldName);
        throw EDatabaseError(ControlName.isEmpty() ? text : ControlName + QStringLiteral(": ") + text);
    }
}

bool TFieldDataLink::CanEdit() const
{
    return TDataLink::CanEdit() && (!m_field || m_field->CanModify());
}

void TFieldDataLink::Reset()
{
    RecordChanged(nullptr);
}

void TFieldDataLink::UpdateRecord()
{
    if (m_modified)
        UpdateData();
}

void TFieldDataLink::ActiveChanged()
{
    UpdateField();
    if (OnActiveChange)
        OnActiveChange();
    RecordChanged(nullptr);
}

void TFieldDataLink::EditingChanged()
{
    if (OnEditingChange)
        OnEditingChange();
}

void TFieldDataLink::RecordChanged(TField* field)
{
    if (field && field != m_field)
        return;
    m_modified = false;
    if (OnDataChange)
        OnDataChange();
}

void TFieldDataLink::LayoutChanged()
{
    UpdateField();
    DataSetChanged();
}

void TFieldDataLink::UpdateData()
{
    if (!m_modified)
        return;
    if (OnUpdateData)
        OnUpdateData();
    m_modified = false;
}

// ---------------------------------------------------------------- master link

TDataSet* TMasterDataLink::DetailDataSet() const
{
    return m_detail;
}

QList<TField*> TMasterDataLink::Fields() const
{
    QList<TField*> fields;
    TDataSet* master = DataSet();
    if (!master || !master->Active())
        return fields;
    for (const QString& name : FieldNames.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        fields.append(master->FieldNamed(name.trimmed()));
    return fields;
}

void TMasterDataLink::ActiveChanged()
{
    m_detail->MasterChanged();
}

void TMasterDataLink::RecordChanged(TField* field)
{
    if (!field || Fields().contains(field))
        m_detail->MasterChanged();
}

void TMasterDataLink::DataSetChanged()
{
    m_detail->MasterChanged();
}

void TMasterDataLink::CheckBrowseMode()
{
    if (m_detail->Active())
        m_detail->CheckBrowseMode();
}

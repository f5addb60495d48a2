#include "GridDataLink.h"

void TGridDataLink::SetBufferCount(int rows)
{
    m_rows = std::max(rows, 1);
    if (TDataSet* dataSet = DataSet(); dataSet && dataSet->Active())
        dataSet->SetBufferCount(m_rows, m_rows);
}

void TGridDataLink::Reset()
{
    m_modified = false;
    RecordChanged(nullptr);
}

void TGridDataLink::ActiveChanged()
{
    m_modified = false;
    SetBufferCount(m_rows);
    Call(OnActiveChange);
}

void TGridDataLink::EditingChanged()
{
    Call(OnEditingChange);
}

void TGridDataLink::DataSetChanged()
{
    m_modified = false;
    Call(OnDataSetChange);
}

void TGridDataLink::DataSetScrolled()
{
    m_modified = false;
    Call(OnDataSetScroll);
}

void TGridDataLink::RecordChanged(TField* field)
{
    if (!field)
        m_modified = false;
    if (OnRecordChange)
        OnRecordChange(field);
}

void TGridDataLink::LayoutChanged()
{
    Call(OnLayoutChange);
    DataSetChanged();
}

void TGridDataLink::UpdateData()
{
    if (!m_modified)
        return;
    Call(OnUpdateData);
    m_modified = false;
}

#pragma once

#include "DataSource.h"

#include <functional>

// The link of a grid: passes the view's events on to the grid, asks the view
// to buffer one record per visible row, and holds the pending-change flag of
// the cell being edited.
class TGridDataLink : public TDataLink {
public:
    TGridDataLink() = default;

    // The rows the grid shows: that many records are kept buffered on each
    // side of the current one, so the grid can page without reading storage.
    void SetBufferCount(int rows);
    int BufferCount() const { return m_rows; }

    bool Modified() const { return m_modified; }
    void Modify() { m_modified = true; }
    // Forgets the pending cell text (the grid reloads the cell).
    void Reset();

    std::function<void()> OnActiveChange;
    std::function<void()> OnEditingChange;
    std::function<void()> OnDataSetChange;   // re-read, state entered
    std::function<void()> OnDataSetScroll;   // the current record moved
    std::function<void(TField*)> OnRecordChange;
    std::function<void()> OnLayoutChange;
    std::function<void()> OnUpdateData;      // write the pending cell text

    void ActiveChanged() override;
    void EditingChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled() override;
    void RecordChanged(TField* field) override;
    void LayoutChanged() override;
    void UpdateData() override;

private:
    static void Call(const std::function<void()>& handler)
    {
        if (handler)
            handler();
    }

    int m_rows = 1;
    bool m_modified = false;
};

#pragma once

#include "PageFormat.h"

#include <QByteArray>

#include <vector>

// A page's table of pens, brushes or fonts. A painter's state changes back
// and forth between a few values, so they are found by comparing values, most
// recent first, and encoded only when they enter the table.
template <class Value>
class PageStateTable {
public:
    template <class Encode>
    int Index(const Value& value, const Encode& encode)
    {
        for (size_t i = m_values.size(); i-- > 0;)
            if (m_values[i] == value)
                return int(i);
        if (m_values.size() >= size_t(PageFormat::MaxTableSize))
            return -1;
        m_values.push_back(value);
        m_entries += encode(value);
        return int(m_values.size()) - 1;
    }
    int Size() const { return int(m_values.size()); }
    const QByteArray& Entries() const { return m_entries; }
    void Clear()
    {
        m_values.clear();
        m_entries.clear();
    }

private:
    std::vector<Value> m_values;
    QByteArray m_entries; // in the order of the indexes
};


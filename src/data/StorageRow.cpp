#include "StorageRow.h"

#include <QDate>
#include <QString>

#include <algorithm>
#include <cstring>

namespace {

constexpr qsizetype CountSize = 4;
constexpr qsizetype OffsetSize = 4;

template <class T>
T readAt(const char* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

} // namespace

StorageRow::StorageRow(const QVariantList& values)
{
    StorageRowWriter writer;
    writer.beginRow(int(values.size()));
    for (const QVariant& value : values)
        writer.addVariant(value);
    writer.endRow();
    *this = writer.takeRows().constFirst();
}

int StorageRow::size() const
{
    return m_data.isEmpty() ? 0 : readAt<qint32>(m_data.constData() + m_offset);
}

// Entry `index` begins where the one before it ends; the first one after the
// table of ends. Positions count from the row's start.
qsizetype StorageRow::entry(int index) const
{
    const char* row = m_data.constData() + m_offset;
    if (index == 0)
        return CountSize + OffsetSize * size();
    return readAt<qint32>(row + CountSize + OffsetSize * (index - 1));
}

StorageRow::Kind StorageRow::kind(int column) const
{
    if (column < 0 || column >= size())
        return Kind::Null;
    return Kind(m_data.at(m_offset + entry(column)));
}

const char* StorageRow::start(int column) const
{
    return m_data.constData() + m_offset + entry(column) + 1;
}

qsizetype StorageRow::length(int column) const
{
    return entry(column + 1) - entry(column) - 1;
}

QVariant StorageRow::value(int column) const
{
    switch (kind(column)) {
    case Kind::Null:
        return QVariant();
    case Kind::Integer:
        return readAt<qint64>(start(column));
    case Kind::Real:
        return readAt<double>(start(column));
    case Kind::Text:
        return QString::fromUtf8(start(column), length(column));
    case Kind::Blob:
        return QByteArray(start(column), length(column));
    case Kind::Date:
        return QDate::fromJulianDay(readAt<qint32>(start(column)));
    }
    return QVariant();
}

double StorageRow::number(int column) const
{
    switch (kind(column)) {
    case Kind::Integer:
        return double(readAt<qint64>(start(column)));
    case Kind::Real:
        return readAt<double>(start(column));
    default:
        return 0;
    }
}

QVariantList StorageRow::toList() const
{
    QVariantList values;
    values.reserve(size());
    for (int column = 0; column < size(); ++column)
        values.append(value(column));
    return values;
}

bool StorageRow::operator==(const StorageRow& other) const
{
    if (isEmpty() || other.isEmpty())
        return isEmpty() == other.isEmpty();
    const qsizetype bytes = entry(size());
    return bytes == other.entry(other.size())
        && std::memcmp(m_data.constData() + m_offset, other.m_data.constData() + other.m_offset, size_t(bytes)) == 0;
}

void StorageRowWriter::beginRow(int columns)
{
    m_rowStart = m_size;
    m_columns = columns;
    m_column = 0;
    const qint32 count = columns;
    char* at = reserve(CountSize + OffsetSize * columns);
    std::memcpy(at, &count, sizeof count);
    m_size += CountSize + OffsetSize * columns;
}

// The buffer grows by doubling: the rows of a read cost a few allocations in
// all, not one per value.
void StorageRowWriter::grow(qsizetype bytes)
{
    m_data.resize(std::max<qsizetype>({m_size + bytes, 2 * m_data.size(), 4096}));
}

void StorageRowWriter::addDate(const QDate& date)
{
    const qint32 day = qint32(date.toJulianDay());
    put(StorageRow::Kind::Date, &day, sizeof day);
}

void StorageRowWriter::addVariant(const QVariant& value)
{
    if (value.isNull()) {
        addNull();
        return;
    }
    switch (value.typeId()) {
    case QMetaType::QString: {
        const QByteArray text = value.toString().toUtf8();
        addText(text.constData(), text.size());
        return;
    }
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        addBlob(bytes.constData(), bytes.size());
        return;
    }
    case QMetaType::QDate:
        addDate(value.toDate());
        return;
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        addInteger(value.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        addReal(value.toDouble());
        return;
    default: {
        const QByteArray text = value.toString().toUtf8();
        addText(text.constData(), text.size());
    }
    }
}

void StorageRowWriter::endRow()
{
    while (m_column < m_columns)
        addNull();
    m_rows.append(m_rowStart);
}

QList<StorageRow> StorageRowWriter::takeRows()
{
    m_data.truncate(m_size);
    if (m_size < m_data.capacity() / 2)
        m_data.squeeze(); // a read of a few rows keeps no spare room
    QList<StorageRow> rows;
    rows.reserve(m_rows.size());
    for (const qsizetype start : std::as_const(m_rows))
        rows.append(StorageRow(m_data, start));
    m_data = QByteArray();
    m_size = 0;
    m_rows.clear();
    return rows;
}

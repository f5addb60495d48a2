#pragma once

#include <QByteArray>
#include <QList>
#include <QVariant>

#include <cstring>

// One record as the engine returned it: its values in the order of the
// cursor's columns, packed as the engine gave them (texts as UTF-8) and
// turned into a QVariant only when a column is read. The rows of one read
// share one buffer (StorageRowWriter), so reading a row costs no allocation
// of its own and a view's window of records stays compact.
class StorageRow {
public:
    enum class Kind : char { Null, Integer, Real, Text, Blob, Date };

    StorageRow() = default;
    // Packs `values` (QString, QByteArray, QDate, numbers, null) on its own.
    explicit StorageRow(const QVariantList& values);

    bool isEmpty() const { return m_data.isEmpty(); }
    int size() const;
    Kind kind(int column) const;
    bool isNull(int column) const { return kind(column) == Kind::Null; }
    // The value of a column; a null QVariant beyond the last one.
    QVariant value(int column) const;
    // A number column as a double without a QVariant (0 for null or text).
    double number(int column) const;
    QVariantList toList() const;

    bool operator==(const StorageRow& other) const;
    bool operator!=(const StorageRow& other) const { return !(*this == other); }

private:
    friend class StorageRowWriter;
    StorageRow(const QByteArray& data, qsizetype offset) : m_data(data), m_offset(offset) {}
    // The bytes of a column's value, after its kind.
    const char* start(int column) const;
    qsizetype length(int column) const;
    qsizetype entry(int index) const;

    QByteArray m_data;     // shared with the other rows of the same read
    qsizetype m_offset = 0;
};

// Packs the rows of one read into one buffer:
//   for each row: writer.beginRow(columns); writer.addText(...); ...; writer.endRow();
//   QList<StorageRow> rows = writer.takeRows();
// A row's layout: the column count (4 bytes), the end of each column's
// entry (4 bytes each, from the row's start), then the entries, each a kind
// byte followed by the value (8 bytes for numbers, 4 for a date's day
// number, the bytes of a text or blob).
class StorageRowWriter {
public:
    void beginRow(int columns);
    void addNull() { put(StorageRow::Kind::Null, nullptr, 0); }
    void addInteger(qint64 value) { put(StorageRow::Kind::Integer, &value, sizeof value); }
    void addReal(double value) { put(StorageRow::Kind::Real, &value, sizeof value); }
    void addText(const char* utf8, qsizetype length) { put(StorageRow::Kind::Text, utf8, length); }
    void addBlob(const char* bytes, qsizetype length) { put(StorageRow::Kind::Blob, bytes, length); }
    void addDate(const QDate& date);
    void addVariant(const QVariant& value);
    void endRow();
    // The rows written, sharing one buffer; the writer starts afresh.
    QList<StorageRow> takeRows();

private:
    // One column's entry: its kind, its bytes, and its end noted in the
    // row's table. Inline: a read packs every column of every row.
    void put(StorageRow::Kind kind, const void* bytes, qsizetype length)
    {
        char* at = reserve(1 + length);
        *at = char(kind);
        if (length > 0)
            std::memcpy(at + 1, bytes, size_t(length));
        m_size += 1 + length;
        const qint32 end = qint32(m_size - m_rowStart);
        std::memcpy(m_data.data() + m_rowStart + 4 + 4 * m_column, &end, sizeof end);
        ++m_column;
    }
    // Room for `bytes` more bytes; returns where they go.
    char* reserve(qsizetype bytes)
    {
        if (m_size + bytes > m_data.size())
            grow(bytes);
        return m_data.data() + m_size;
    }
    void grow(qsizetype bytes);

    QByteArray m_data;       // its size is the capacity; m_size bytes are used
    qsizetype m_size = 0;
    QList<qsizetype> m_rows; // where each row starts
    qsizetype m_rowStart = 0;
    int m_columns = 0;
    int m_column = 0;
};

#pragma once

// The byte encodings of a recorded page (PageFormat.h): fixed-size
// little-endian integers, varints, coordinates in 1/64 pixel, and the
// page checksum.

#include "PageFormat.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// CRC-32 (the zlib polynomial) of `bytes`.
quint32 pageChecksum(QByteArrayView bytes);

// Appends to a byte array.
class PageWriter {
public:
    explicit PageWriter(QByteArray& bytes) : m_bytes(bytes) {}

    void u8(quint8 value) { m_bytes.append(char(value)); }
    void u16(quint16 value);
    void u32(quint32 value);
    void f64(double value);
    void varint(quint64 value);
    // A coordinate in pixels, rounded to 1/64 pixel.
    void coordinate(double pixels);
    void bytes(QByteArrayView bytes) { m_bytes.append(bytes); }

private:
    QByteArray& m_bytes;
};

// Reads a recorded page; every read that would pass the end, and every value
// outside the bounds its caller gives, throws ERepError saying what is wrong.
// The reads are inline: checking a loaded file reads every byte of it.
class PageReader {
public:
    explicit PageReader(QByteArrayView bytes, qsizetype position = 0) : m_bytes(bytes), m_position(position) {}

    quint8 u8()
    {
        need(1);
        return quint8(m_bytes[m_position++]);
    }
    quint16 u16();
    quint32 u32();
    double f64();
    quint64 varint()
    {
        if (m_position < m_bytes.size() && !(m_bytes[m_position] & 0x80))
            return quint8(m_bytes[m_position++]);
        return longVarint();
    }
    // A varint no larger than `limit`.
    int count(int limit, const char* what);
    // An index into a table of `size` entries.
    int index(int size, const char* what)
    {
        const quint64 value = varint();
        if (value >= quint64(size))
            refuseIndex(value, size, what);
        return int(value);
    }
    // A coordinate within the page bounds, in pixels.
    double coordinate()
    {
        const quint64 zigzag = varint();
        const qint64 value = qint64(zigzag >> 1) ^ -qint64(zigzag & 1);
        if (value < -MaxSubPixels || value > MaxSubPixels)
            refuseCoordinate();
        return double(value) / PageFormat::SubPixels;
    }
    QByteArrayView bytes(qsizetype length)
    {
        need(length);
        const QByteArrayView view = m_bytes.sliced(m_position, length);
        m_position += length;
        return view;
    }

    qsizetype position() const { return m_position; }
    bool atEnd() const { return m_position == m_bytes.size(); }

    [[noreturn]] static void refuse(const QString& what);

private:
    static constexpr qint64 MaxSubPixels = PageFormat::MaxCoordinate * PageFormat::SubPixels;

    void need(qsizetype length)
    {
        if (length < 0 || length > m_bytes.size() - m_position)
            refuseEnd();
    }
    quint64 longVarint();
    [[noreturn]] static void refuseEnd();
    [[noreturn]] static void refuseIndex(quint64 value, int size, const char* what);
    [[noreturn]] static void refuseCoordinate();

    QByteArrayView m_bytes;
    qsizetype m_position;
};

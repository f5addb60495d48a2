#include "PageBytes.h"

#include "ERepError.h"
#include "PageFormat.h"

#include <QtEndian>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>

quint32 pageChecksum(QByteArrayView bytes)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    const auto* data = reinterpret_cast<const Bytef*>(bytes.data());
    qsizetype left = bytes.size();
    // zlib counts in unsigned int; a page never comes near that, but a chunked
    // loop costs nothing.
    while (left > 0) {
        const uInt chunk = uInt(std::min<qsizetype>(left, 1 << 30));
        crc = crc32(crc, data, chunk);
        data += chunk;
        left -= chunk;
    }
    return quint32(crc);
}

void PageWriter::u16(quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    m_bytes.append(bytes, 2);
}

void PageWriter::u32(quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    m_bytes.append(bytes, 4);
}

void PageWriter::f64(double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    char bytes[8];
    qToLittleEndian(bits, bytes);
    m_bytes.append(bytes, 8);
}

void PageWriter::varint(quint64 value)
{
    char bytes[10];
    int length = 0;
    while (value >= 0x80) {
        bytes[length++] = char(value | 0x80);
        value >>= 7;
    }
    bytes[length++] = char(value);
    m_bytes.append(bytes, length);
}

// Zigzag keeps small values of either sign short. Coordinates beyond the
// bounds a reader accepts are clamped, so a recorded page is always readable.
void PageWriter::coordinate(double pixels)
{
    constexpr double limit = double(PageFormat::MaxCoordinate * PageFormat::SubPixels);
    const double scaled = std::isfinite(pixels) ? std::clamp(pixels * PageFormat::SubPixels, -limit, limit) : 0.0;
    const qint64 value = qint64(std::llround(scaled));
    varint((quint64(value) << 1) ^ quint64(value >> 63));
}

void PageReader::refuse(const QString& what)
{
    throw ERepError(what);
}

void PageReader::refuseEnd()
{
    refuse(QStringLiteral("the page data ends early"));
}

void PageReader::refuseIndex(quint64 value, int size, const char* what)
{
    refuse(QStringLiteral("%1 %2 is not in its table of %3").arg(QLatin1String(what)).arg(value).arg(size));
}

void PageReader::refuseCoordinate()
{
    refuse(QStringLiteral("a coordinate lies beyond %1 pixels").arg(PageFormat::MaxCoordinate));
}

quint16 PageReader::u16()
{
    need(2);
    const quint16 value = qFromLittleEndian<quint16>(m_bytes.data() + m_position);
    m_position += 2;
    return value;
}

quint32 PageReader::u32()
{
    need(4);
    const quint32 value = qFromLittleEndian<quint32>(m_bytes.data() + m_position);
    m_position += 4;
    return value;
}

double PageReader::f64()
{
    need(8);
    const quint64 bits = qFromLittleEndian<quint64>(m_bytes.data() + m_position);
    m_position += 8;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Ten bytes hold any 64-bit value; a longer run of continuation bits is damage.
quint64 PageReader::longVarint()
{
    quint64 value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        if (m_position == m_bytes.size())
            refuseEnd();
        const quint8 byte = quint8(m_bytes[m_position++]);
        value |= quint64(byte & 0x7f) << shift;
        if (!(byte & 0x80))
            return value;
    }
    refuse(QStringLiteral("a number is too long"));
}

int PageReader::count(int limit, const char* what)
{
    const quint64 value = varint();
    if (value > quint64(limit))
        refuse(QStringLiteral("%1 %2 exceeds %3").arg(QLatin1String(what)).arg(value).arg(limit));
    return int(value);
}

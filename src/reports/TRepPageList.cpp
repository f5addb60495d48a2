#include "TRepPageList.h"

#include "ERepError.h"
#include "TRepCompression.h"
#include "TRepStream.h"

#include <QtEndian>
#include <cmath>
#include <limits>

namespace {

constexpr int RecordFraming = 12; // page number, next offset, own offset
const QDate DayZero(1899, 12, 30);

// Where the fields of the two header layouts lie.
struct HeaderLayout {
    int count;
    int created;
    int compression;
};
constexpr HeaderLayout CurrentLayout{8, 16, 25};
constexpr HeaderLayout OldLayout{8, 12, 21};

} // namespace

TRepPageList::TRepPageList(TRepStream& stream, bool compressed)
    : m_stream(stream), m_compressed(compressed)
{
}

TRepPageList::TRepPageList(TRepStream& stream, const QString& fileName)
    : m_stream(stream), m_fileName(fileName)
{
    QMutexLocker locker(&m_lock);
    readHeader();
    checkRecords();
}

void TRepPageList::damaged(const QString& what) const
{
    if (m_fileName.isEmpty())
        throw ERepError(QStringLiteral("The page store is damaged (%1)").arg(what));
    throw ERepError(QStringLiteral("Not a valid prepared report file: %1 (%2)").arg(m_fileName, what));
}

void TRepPageList::readHeader()
{
    const qint64 size = m_stream.size();
    if (size < OldHeaderSize)
        damaged(QStringLiteral("the file is shorter than a header"));
    // An older file's first page is an uncompressed metafile whose signature
    // " EMF" lands at offset 172 only behind the 124-byte header.
    bool old = false;
    if (size >= 177) {
        m_stream.seek(173);
        const QByteArray mark = m_stream.read(4);
        old = mark.left(mark.indexOf('\0')) == "EMF";
    }
    m_headerSize = old ? OldHeaderSize : HeaderSize;
    if (size < m_headerSize)
        damaged(QStringLiteral("the file is shorter than a header"));
    m_stream.seek(0);
    const QByteArray header = m_stream.read(m_headerSize);
    const HeaderLayout& layout = old ? OldLayout : CurrentLayout;
    m_count = qFromLittleEndian<qint32>(header.constData() + layout.count);
    m_created = fromDays(qFromLittleEndian<double>(header.constData() + layout.created));
    m_compressed = header[layout.compression] != 0;
    if (m_count < 0 || m_count > (size - m_headerSize) / RecordFraming)
        damaged(QStringLiteral("page count %1 does not fit the file").arg(m_count));
}

// Walks the whole chain once, so that a loaded file is known to be sound
// before any page of it is shown.
void TRepPageList::checkRecords()
{
    if (m_count == 0) {
        if (m_stream.size() != m_headerSize)
            damaged(QStringLiteral("the header says 0 pages, but pages follow it"));
        return;
    }
    Record record = recordAt(m_headerSize, 1);
    while (record.number < m_count)
        record = recordAt(record.next, record.number + 1);
    if (record.next != m_stream.size() || record.start != lastRecord().start)
        damaged(QStringLiteral("the last page record is misplaced"));
}

TRepPageList::Record TRepPageList::lastRecord()
{
    m_stream.seek(m_stream.size() - 4);
    return recordAt(m_stream.readInt32(), m_count);
}

TRepPageList::Record TRepPageList::recordAt(qint64 start, int expectedNumber)
{
    const qint64 size = m_stream.size();
    if (start < m_headerSize || start > size - RecordFraming)
        damaged(QStringLiteral("page %1 lies outside the file").arg(expectedNumber));
    m_stream.seek(start);
    Record record;
    record.start = start;
    record.number = m_stream.readInt32();
    record.next = m_stream.readInt32();
    if (record.number != expectedNumber)
        damaged(QStringLiteral("page %1 is numbered %2").arg(expectedNumber).arg(record.number));
    if (record.next < start + RecordFraming || record.next > size)
        damaged(QStringLiteral("page %1 has a wrong length").arg(expectedNumber));
    m_stream.seek(record.next - 4);
    if (m_stream.readInt32() != start)
        damaged(QStringLiteral("page %1 has a wrong back link").arg(expectedNumber));
    return record;
}

TRepPageList::Record TRepPageList::stepBack(const Record& from)
{
    m_stream.seek(from.start - 4);
    const qint64 previous = m_stream.readInt32();
    if (previous >= from.start)
        damaged(QStringLiteral("page %1 has a wrong back link").arg(from.number - 1));
    return recordAt(previous, from.number - 1);
}

// Page 1 and the last page are reached directly; any other page by walking
// from the page read last (or from the last page) forward or backward.
TRepPageList::Record TRepPageList::find(int n)
{
    if (n < 1 || n > m_count)
        damaged(QStringLiteral("there is no page %1").arg(n));
    if (n == 1)
        return recordAt(m_headerSize, 1);
    Record record = m_current.number > 0 ? m_current : lastRecord();
    while (record.number < n)
        record = recordAt(record.next, record.number + 1);
    while (record.number > n)
        record = stepBack(record);
    return record;
}

QByteArray TRepPageList::readData(const Record& record)
{
    m_stream.seek(record.start + 8);
    const QByteArray data = m_stream.read(record.next - record.start - RecordFraming);
    if (!m_compressed)
        return data;
    try {
        return TRepCompression::decompress(data);
    } catch (const ERepError&) {
        damaged(QStringLiteral("page %1 cannot be decompressed").arg(record.number));
    }
}

QByteArray TRepPageList::page(int n)
{
    QMutexLocker locker(&m_lock);
    const Record record = find(n);
    m_current = record;
    return readData(record);
}

void TRepPageList::addPage(const QByteArray& pageData)
{
    QMutexLocker locker(&m_lock);
    const QByteArray data = m_compressed ? TRepCompression::compress(pageData) : pageData;
    const qint64 start = m_count == 0 ? qint64(m_headerSize) : m_end;
    const qint64 end = start + RecordFraming + data.size();
    if (end > std::numeric_limits<qint32>::max())
        throw ERepError(QStringLiteral("The report has too many pages to store"));
    // The record goes out in one write, and the count moves only once it is
    // stored: a failed write (no room for the temporary file) leaves the list
    // as it was, so the pages before stay readable and later ones still fit.
    QByteArray record(8, '\0');
    qToLittleEndian<qint32>(m_count + 1, record.data());
    qToLittleEndian<qint32>(qint32(end), record.data() + 4);
    record += data;
    record.resize(record.size() + 4);
    qToLittleEndian<qint32>(qint32(start), record.data() + record.size() - 4);
    const int previous = m_count;
    try {
        m_count = previous + 1;
        if (m_count == 1)
            writeHeader();
        m_stream.seek(start);
        m_stream.write(record);
    } catch (const ERepError&) {
        m_count = previous;
        m_stream.truncate(start);
        throw;
    }
    m_end = end;
    m_current = Record{m_count, start, end};
}

void TRepPageList::writeHeader()
{
    QMutexLocker locker(&m_lock);
    m_created = QDateTime::currentDateTime();
    QByteArray header(HeaderSize, '\0');
    qToLittleEndian<quint16>(FormatVersion, header.data());
    qToLittleEndian<quint16>(WriterVersion, header.data() + 2);
    qToLittleEndian<qint32>(m_count, header.data() + CurrentLayout.count);
    qToLittleEndian<double>(toDays(m_created), header.data() + CurrentLayout.created);
    header[CurrentLayout.compression] = m_compressed ? 1 : 0;
    m_stream.seek(0);
    m_stream.write(header);
}

double TRepPageList::toDays(const QDateTime& time)
{
    return double(DayZero.daysTo(time.date())) + time.time().msecsSinceStartOfDay() / 86400000.0;
}

QDateTime TRepPageList::fromDays(double days)
{
    // Beyond a few thousand years the value is noise from a damaged header.
    if (!std::isfinite(days) || std::fabs(days) > 3.0e6)
        return QDateTime();
    const double whole = std::floor(days);
    const int msecs = int(std::lround((days - whole) * 86400000.0));
    return QDateTime(DayZero.addDays(qint64(whole)), QTime(0, 0)).addMSecs(msecs);
}

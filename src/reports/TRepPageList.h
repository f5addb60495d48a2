#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QMutex>

class TRepStream;

// The pages of a prepared report inside its stream:
//   header (128 bytes; older files 124)
//   per page: page number, offset of the next record, page data, own offset
//   the file's last 4 bytes: the offset of the last record.
// Page data is the recorded page; with compression, its plain length and the
// code bits. Adding and reading pages hold the list's lock.
class TRepPageList {
public:
    static constexpr int HeaderSize = 128;
    static constexpr int OldHeaderSize = 124;
    static constexpr quint16 FormatVersion = 3;
    static constexpr quint16 WriterVersion = 309;

    // A list being written into an empty stream.
    TRepPageList(TRepStream& stream, bool compressed);
    // A list over a stream that holds a saved report: reads the header and
    // walks every record. Throws ERepError naming `fileName` when the framing
    // is damaged in any way.
    TRepPageList(TRepStream& stream, const QString& fileName);

    int count() const { return m_count; }
    bool compressed() const { return m_compressed; }
    int headerSize() const { return m_headerSize; }
    QDateTime creationTime() const { return m_created; }

    // Appends a page (compressing it when the list is compressed); the first
    // page also writes the header.
    void addPage(const QByteArray& pageData);
    // Writes the header with the current count and creation time now.
    void writeHeader();
    // The plain page data of page n (1-based); throws ERepError when the
    // page is missing or its record is damaged.
    QByteArray page(int n);

    // Days since 30 December 1899 with the time of day as fraction, and back.
    static double toDays(const QDateTime& time);
    static QDateTime fromDays(double days);

private:
    struct Record {
        int number = 0;
        qint64 start = 0;
        qint64 next = 0;
    };

    void readHeader();
    void checkRecords();
    Record lastRecord();
    Record recordAt(qint64 start, int expectedNumber);
    Record stepBack(const Record& from);
    Record find(int n);
    QByteArray readData(const Record& record);
    [[noreturn]] void damaged(const QString& what) const;

    TRepStream& m_stream;
    QRecursiveMutex m_lock;
    QString m_fileName;
    int m_count = 0;
    int m_headerSize = HeaderSize;
    bool m_compressed = false;
    QDateTime m_created;
    Record m_current; // the record read last; number 0 when none
    qint64 m_end = 0; // where the next record of a list being written starts
};

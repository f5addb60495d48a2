#pragma once

#include <QByteArray>
#include <QMutex>
#include <QString>
#include <memory>

class QIODevice;

// The bytes of a page store. A run's store keeps them in memory until they
// outgrow the memory limit, then moves them into a temporary file named
// "RPF..." in the system's temporary folder and continues there; that file is
// deleted with the stream. A stream opened on a saved file reads it in place.
// Every operation holds the stream's lock, so readers and the writer of a
// store never see a half-done seek and read.
class TRepStream {
public:
    static constexpr qint64 DefaultMemoryLimit = 100000;

    explicit TRepStream(qint64 memoryLimit = DefaultMemoryLimit);
    // Opens a saved file read-only; throws ERepError when it cannot be opened.
    explicit TRepStream(const QString& fileName);
    ~TRepStream();
    TRepStream(const TRepStream&) = delete;
    TRepStream& operator=(const TRepStream&) = delete;

    qint64 size() const;
    qint64 position() const;
    void seek(qint64 position);
    // Reads exactly `length` bytes at the position; throws ERepError when the
    // stream holds fewer.
    QByteArray read(qint64 length);
    qint32 readInt32();
    // Writes at the position; throws ERepError when the bytes cannot be stored.
    void write(const QByteArray& bytes);
    // Drops every byte from `size` on (after a failed write); never throws.
    void truncate(qint64 size);

    // The temporary file's path, empty while the bytes are in memory.
    QString temporaryFileName() const;
    bool isReadOnly() const { return m_readOnly; }
    // Writes every byte, from the first, into `target`.
    void copyTo(QIODevice& target);

private:
    void spillToFile();

    mutable QRecursiveMutex m_lock;
    std::unique_ptr<QIODevice> m_device;
    qint64 m_memoryLimit;
    bool m_readOnly = false;
};

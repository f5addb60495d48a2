#include "TRepStream.h"

#include "ERepError.h"
#include "errors/WriteFailure.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <QtEndian>

TRepStream::TRepStream(qint64 memoryLimit) : m_memoryLimit(memoryLimit)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->open(QIODevice::ReadWrite);
    m_device = std::move(buffer);
}

TRepStream::TRepStream(const QString& fileName) : m_memoryLimit(0), m_readOnly(true)
{
    auto file = std::make_unique<QFile>(fileName);
    if (!file->open(QIODevice::ReadOnly))
        throw ERepError(QStringLiteral("Cannot open file %1: %2").arg(fileName, file->errorString()));
    m_device = std::move(file);
}

TRepStream::~TRepStream() = default;

qint64 TRepStream::size() const
{
    QMutexLocker locker(&m_lock);
    return m_device->size();
}

qint64 TRepStream::position() const
{
    QMutexLocker locker(&m_lock);
    return m_device->pos();
}

void TRepStream::seek(qint64 position)
{
    QMutexLocker locker(&m_lock);
    if (position < 0 || position > m_device->size() || !m_device->seek(position))
        throw ERepError(QStringLiteral("Position %1 lies outside the page store").arg(position));
}

QByteArray TRepStream::read(qint64 length)
{
    QMutexLocker locker(&m_lock);
    if (length < 0 || length > m_device->size() - m_device->pos())
        throw ERepError(QStringLiteral("Page store ends before the data it announces"));
    QByteArray bytes = m_device->read(length);
    if (bytes.size() != length)
        throw ERepError(QStringLiteral("Cannot read the page store: %1").arg(m_device->errorString()));
    return bytes;
}

qint32 TRepStream::readInt32()
{
    return qFromLittleEndian<qint32>(read(4).constData());
}

void TRepStream::write(const QByteArray& bytes)
{
    QMutexLocker locker(&m_lock);
    if (m_readOnly)
        throw ERepError(QStringLiteral("A saved prepared report cannot be changed"));
    if (qobject_cast<QBuffer*>(m_device.get()) && m_device->pos() + bytes.size() > m_memoryLimit)
        spillToFile();
    if (m_device->write(bytes) != bytes.size())
        throw ERepError(QStringLiteral("Cannot write the page store: %1").arg(writeFailure(*m_device)));
}

void TRepStream::truncate(qint64 size)
{
    QMutexLocker locker(&m_lock);
    if (m_readOnly || size < 0 || size >= m_device->size())
        return;
    if (auto* buffer = qobject_cast<QBuffer*>(m_device.get()))
        buffer->buffer().truncate(size);
    else
        static_cast<QFileDevice*>(m_device.get())->resize(size);
    m_device->seek(size);
}

void TRepStream::spillToFile()
{
    // An empty path means the temporary folder does not exist: the file would
    // land in the root folder (or nowhere) instead.
    const QString folder = QDir::tempPath();
    if (folder.isEmpty())
        throw ERepError(QStringLiteral("Cannot create a temporary file: the temporary folder does not exist"));
    auto file = std::make_unique<QTemporaryFile>(folder + QStringLiteral("/RPFXXXXXX"));
    if (!file->open())
        throw ERepError(QStringLiteral("Cannot create a temporary file: %1").arg(file->errorString()));
    const qint64 position = m_device->pos();
    const QByteArray& bytes = static_cast<QBuffer*>(m_device.get())->data();
    if (file->write(bytes) != bytes.size() || !file->seek(position))
        throw ERepError(QStringLiteral("Cannot write the page store: %1").arg(writeFailure(*file)));
    m_device = std::move(file);
}

QString TRepStream::temporaryFileName() const
{
    QMutexLocker locker(&m_lock);
    auto* file = qobject_cast<QTemporaryFile*>(m_device.get());
    return file ? file->fileName() : QString();
}

void TRepStream::copyTo(QIODevice& target)
{
    QMutexLocker locker(&m_lock);
    const qint64 position = m_device->pos();
    m_device->seek(0);
    constexpr qint64 Chunk = 64 * 1024;
    while (!m_device->atEnd()) {
        const QByteArray bytes = m_device->read(Chunk);
        if (bytes.isEmpty() || target.write(bytes) != bytes.size()) {
            m_device->seek(position);
            throw ERepError(QStringLiteral("Cannot copy the page store: %1").arg(writeFailure(target)));
        }
    }
    m_device->seek(position);
}

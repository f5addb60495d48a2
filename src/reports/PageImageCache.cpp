#include "PageImageCache.h"

#include "PageBytes.h"

#include <QBuffer>
#include <QImageReader>

namespace {

// A hash of a sample of the bytes: a key to find a candidate, whose bytes
// are then compared in full. Hashing every byte of the logo on every page
// took a tenth of the time to load a report.
size_t sampleHash(QByteArrayView bytes)
{
    constexpr qsizetype Piece = 64;
    constexpr qsizetype Pieces = 16;
    if (bytes.size() <= Piece * Pieces)
        return qHash(bytes);
    size_t hash = 0;
    const qsizetype stride = (bytes.size() - Piece) / (Pieces - 1);
    for (qsizetype i = 0; i < Pieces; ++i)
        hash = qHash(bytes.sliced(i * stride, Piece), hash);
    return hash;
}

} // namespace

QImage PageImageCache::Decode(QByteArrayView bytes, QSize size)
{
    const Key key{bytes.size(), sampleHash(bytes)};
    QMutexLocker locker(&m_lock);
    if (const Entry* entry = m_entries.object(key); entry && QByteArrayView(entry->bytes) == bytes)
        return entry->image;

    QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    reader.setDecideFormatFromContent(false);
    // The header alone tells the size, before anything is decoded.
    const QSize declared = reader.size();
    if (!declared.isValid())
        PageReader::refuse(QStringLiteral("a picture cannot be decoded"));
    if (declared != size)
        PageReader::refuse(QStringLiteral("a picture is not the size its table gives"));
    QImage image;
    if (!reader.read(&image) || image.size() != size)
        PageReader::refuse(QStringLiteral("a picture cannot be decoded"));
    auto* entry = new Entry{QByteArray(bytes.data(), bytes.size()), image};
    m_entries.insert(key, entry, qMax<qsizetype>(1, image.sizeInBytes()));
    return image;
}

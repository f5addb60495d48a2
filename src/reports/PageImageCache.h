#pragma once

#include <QByteArray>
#include <QCache>
#include <QImage>
#include <QMutex>

// The pictures of a document's recorded pages, decoded once: every page that
// shows the logo carries the same PNG bytes, so checking and drawing a long
// report decodes it a single time. Bounded by the decoded size it holds.
class PageImageCache {
public:
    static constexpr qsizetype DefaultLimit = 64 * 1024 * 1024; // decoded bytes

    explicit PageImageCache(qsizetype limit = DefaultLimit) : m_entries(limit) {}

    // The picture the PNG `bytes` hold; throws ERepError when they do not
    // hold a whole picture of exactly `size` pixels.
    QImage Decode(QByteArrayView bytes, QSize size);

private:
    struct Entry {
        QByteArray bytes;
        QImage image;
    };
    using Key = std::pair<qsizetype, size_t>; // length and hash of the bytes

    QMutex m_lock;
    QCache<Key, Entry> m_entries;
};

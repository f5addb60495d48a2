#include "WriteFailure.h"

#include <QFileDevice>
#include <QFileInfo>
#include <QStorageInfo>

#include <cerrno>
#include <cstring>

QString writeFailure(const QIODevice& device)
{
    const auto* file = qobject_cast<const QFileDevice*>(&device);
    if (file && !file->fileName().isEmpty()) {
        const QStorageInfo storage(QFileInfo(file->fileName()).absolutePath());
        if (storage.isValid() && storage.bytesAvailable() <= 0)
            return QString::fromLocal8Bit(std::strerror(ENOSPC));
    }
    return device.errorString();
}

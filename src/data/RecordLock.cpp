#include "RecordLock.h"

#include "Exceptions.h"
#include "StorageEngine.h"

#include <QMap>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// FNV-1a over the key's UTF-16 text: the same offset in every process.
off_t byteFor(const QString& key)
{
    quint64 hash = 1469598103934665603ULL;
    for (QChar c : key) {
        hash ^= c.unicode();
        hash *= 1099511628211ULL;
    }
    return off_t(hash & ((quint64(1) << 62) - 1)) + 1;
}

bool lockByte(int fd, off_t byte, short type)
{
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = byte;
    lock.l_len = 1;
    while (::fcntl(fd, F_SETLK, &lock) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

QMap<QString, std::weak_ptr<RecordLocks>>& registry()
{
    static QMap<QString, std::weak_ptr<RecordLocks>> locks;
    return locks;
}

}

std::shared_ptr<RecordLocks> RecordLocks::forDatabase(const QString& databasePath)
{
    if (auto existing = registry().value(databasePath).lock())
        return existing;
    const QByteArray lockPath = QFile::encodeName(databasePath + QStringLiteral("-locks"));
    const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        throw EDBEngineError(EngineCode::General,
                             QStringLiteral("Cannot open the lock file: %1").arg(QString::fromLocal8Bit(lockPath)));
    if (!lockByte(fd, kInUseByte, F_RDLCK)) {  // held while the side file stays open
        ::close(fd);
        throw EDBEngineError(EngineCode::RecordLocked,
                             QStringLiteral("The database %1 is being restored; try again in a moment.").arg(databasePath));
    }
    std::shared_ptr<RecordLocks> locks(new RecordLocks(fd));
    registry().insert(databasePath, locks);
    return locks;
}

RecordLocks::RecordLocks(int fd) : m_fd(fd) {}

RecordLocks::~RecordLocks()
{
    ::close(m_fd);  // drops every byte lock of this process on the file
}

bool RecordLocks::setByteLock(const QString& key, short type)
{
    return lockByte(m_fd, byteFor(key), type);
}

bool RecordLocks::acquire(const QString& key, const void* owner)
{
    const auto it = m_owners.constFind(key);
    if (it != m_owners.cend())
        return it.value() == owner;
    if (!setByteLock(key, F_WRLCK))
        return false;
    m_owners.insert(key, owner);
    return true;
}

void RecordLocks::release(const QString& key, const void* owner)
{
    const auto it = m_owners.find(key);
    if (it == m_owners.end() || it.value() != owner)
        return;
    m_owners.erase(it);
    setByteLock(key, F_UNLCK);
}

bool RecordLocks::heldBy(const QString& key, const void* owner) const
{
    return m_owners.value(key) == owner && m_owners.contains(key);
}

#include "RecordLock.h"

#include "Exceptions.h"
#include "StorageEngine.h"

#include <QDate>
#include <QFile>
#include <QMap>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

// ---------------------------------------------------------------- owners

bool RecordLockTable::acquire(const QString& key, const void* owner)
{
    const auto it = m_owners.constFind(key);
    if (it != m_owners.cend())
        return it.value() == owner;
    if (!lockOthers(key))
        return false;
    m_owners.insert(key, owner);
    return true;
}

void RecordLockTable::release(const QString& key, const void* owner)
{
    const auto it = m_owners.find(key);
    if (it == m_owners.end() || it.value() != owner)
        return;
    m_owners.erase(it);
    unlockOthers(key);
}

bool RecordLockTable::heldBy(const QString& key, const void* owner) const
{
    return m_owners.value(key) == owner && m_owners.contains(key);
}

void RecordLockTable::acquireOrRaise(const QString& key, const void* owner)
{
    if (!acquire(key, owner))
        raiseEngineError(EngineCode::RecordLocked, QStringLiteral("Record locked by another user."));
}

QString recordLockKey(const QString& table, const QVariantList& key)
{
    QString text = table;
    for (const QVariant& value : key) {
        text += QChar(0x1f);
        if (value.isNull())
            continue;
        if (value.typeId() == QMetaType::Double)
            text += QString::number(value.toDouble(), 'g', 17);
        else if (value.typeId() == QMetaType::QDate)
            text += value.toDate().toString(Qt::ISODate);
        else
            text += value.toString();
    }
    return text;
}

quint64 recordLockNumber(const QString& key)
{
    quint64 hash = 1469598103934665603ULL;
    for (QChar c : key) {
        hash ^= c.unicode();
        hash *= 1099511628211ULL;
    }
    return hash & ((quint64(1) << 62) - 1);
}

// ---------------------------------------------------------------- SQLite

namespace {

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

// A record's byte: never the in-use byte 0.
off_t byteFor(const QString& key)
{
    return off_t(recordLockNumber(key)) + 1;
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
    const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
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

std::shared_ptr<RecordLocks> RecordLocks::withinProcess()
{
    return std::shared_ptr<RecordLocks>(new RecordLocks(-1));
}

RecordLocks::RecordLocks(int fd) : m_fd(fd) {}

RecordLocks::~RecordLocks()
{
    if (m_fd >= 0)
        ::close(m_fd);  // drops every byte lock of this process on the file
}

bool RecordLocks::lockOthers(const QString& key)
{
    return m_fd < 0 || lockByte(m_fd, byteFor(key), F_WRLCK);
}

void RecordLocks::unlockOthers(const QString& key)
{
    if (m_fd >= 0)
        lockByte(m_fd, byteFor(key), F_UNLCK);
}

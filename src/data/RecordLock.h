#pragma once

#include <QHash>
#include <QString>
#include <QVariantList>

#include <memory>

#include <sys/types.h>

// The record locks of one database, shared by every view of this process.
// Between views of this process the lock is a table of owners; between
// processes it is a lock of the engine's kind (lockOthers) that the system
// drops when its process dies, so a crashed program never leaves a record
// locked.
class RecordLockTable {
public:
    virtual ~RecordLockTable() = default;

    // False when another owner of this process, or another process, holds it.
    bool acquire(const QString& key, const void* owner);
    void release(const QString& key, const void* owner);
    bool heldBy(const QString& key, const void* owner) const;
    // acquire() or raise the "record locked" engine error.
    void acquireOrRaise(const QString& key, const void* owner);

    // Runs work holding the record's lock, taking it for the time of the work
    // when the owner doesn't hold it already.
    template <class Work> void whileHeld(const QString& key, const void* owner, Work&& work);

protected:
    // The lock other processes see; false when one of them holds it.
    virtual bool lockOthers(const QString& key) = 0;
    virtual void unlockOthers(const QString& key) = 0;
    QHash<QString, const void*>& owners() { return m_owners; }

private:
    QHash<QString, const void*> m_owners;
};

// The text by which a record's lock is known in every process: the table's
// name and the primary key's values.
QString recordLockKey(const QString& table, const QVariantList& key);
// A number for that text, the same in every process (FNV-1a), below 2^62.
quint64 recordLockNumber(const QString& key);

// The SQLite engine's locks: POSIX byte-range locks on a side file
// ("<database>-locks"), one byte per record key.
//
// Byte 0 of the side file (never a record's byte) marks the database as in
// use: every process that has the database open holds a shared lock on it.
// pwangsa-admin restore takes it exclusively, so it sees a running program
// and a program can't open the database while a restore switches files.
class RecordLocks : public RecordLockTable {
public:
    static constexpr off_t kInUseByte = 0;

    // The lock table of a database file (one per file and process). The side
    // file is made readable and writable by its owner only.
    static std::shared_ptr<RecordLocks> forDatabase(const QString& databasePath);
    // Locks among the views of this process only, for a database on a
    // read-only medium: no side file can be made there, and no other process
    // can change the database either.
    static std::shared_ptr<RecordLocks> withinProcess();
    ~RecordLocks() override;

protected:
    bool lockOthers(const QString& key) override;
    void unlockOthers(const QString& key) override;

private:
    explicit RecordLocks(int fd);

    int m_fd;  // -1: within this process only
};

template <class Work>
void RecordLockTable::whileHeld(const QString& key, const void* owner, Work&& work)
{
    const bool held = heldBy(key, owner);
    if (!held)
        acquireOrRaise(key, owner);
    try {
        work();
    } catch (...) {
        if (!held)
            release(key, owner);
        throw;
    }
    if (!held)
        release(key, owner);
}

#pragma once

#include <QHash>
#include <QString>

#include <memory>

#include <sys/types.h>

// Record locks of one database file, shared by every view of this process.
// Between views of this process the lock is a table of owners; between
// processes it is a POSIX byte-range lock on a side file ("<database>-locks"),
// one byte per record key, which the system drops when its process dies, so
// a crashed program never leaves a record locked.
//
// Byte 0 of the side file (never a record's byte) marks the database as in
// use: every process that has the database open holds a shared lock on it.
// pwangsa-admin restore takes it exclusively, so it sees a running program
// and a program can't open the database while a restore switches files.
class RecordLocks {
public:
    static constexpr off_t kInUseByte = 0;

    // The lock table of a database file (one per file and process).
    static std::shared_ptr<RecordLocks> forDatabase(const QString& databasePath);
    ~RecordLocks();

    // False when another owner of this process, or another process, holds it.
    bool acquire(const QString& key, const void* owner);
    void release(const QString& key, const void* owner);
    bool heldBy(const QString& key, const void* owner) const;

private:
    explicit RecordLocks(int fd);
    bool setByteLock(const QString& key, short type);

    int m_fd;
    QHash<QString, const void*> m_owners;
};

#pragma once

#include "StorageRow.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>

// The storage engine under the dataset layer: tables opened by alias and
// name, ordered keyset cursors, key ranges and searches, record writes with a
// record lock. Errors are raised as EDBEngineError (code + storage text).

// Engine error codes (the first TDBError entry of an EDBEngineError).
namespace EngineCode {
constexpr int KeyViolation = 9729;     // duplicate key
constexpr int RequiredField = 9732;    // a key field left empty
constexpr int RecordDeleted = 8708;    // the record is no longer there
constexpr int RecordLocked = 10241;    // another view or process holds the record
constexpr int NoSuchTable = 10024;
constexpr int NoSuchIndex = 10022;
constexpr int UnknownAlias = 10038;
constexpr int FileNotFound = 10039;
constexpr int ConnectionFailed = 10243; // the database server can't be reached
constexpr int ConnectionLost = 10244;  // the server connection broke while working
constexpr int General = 13059;         // any other storage failure
}

enum class StorageType { String, Float, Date };

struct StorageField {
    QString name;
    StorageType type = StorageType::String;
    int size = 0;  // characters for strings; 0 when the storage sets no limit
    bool required = false;  // never NULL
};

struct StorageIndex {
    QString name;          // empty for the primary key
    QStringList columns;
};


enum class ScanDirection { Forward, Backward };

// An ordered cursor over one table: the order is the index's columns followed
// by the primary key's, so it is total. Values of a date column are QDate.
class StorageCursor {
public:
    virtual ~StorageCursor() = default;

    virtual QStringList columns() const = 0;
    // Positions in columns() of the ordering key and of the primary key.
    virtual QList<int> orderKey() const = 0;
    virtual QList<int> primaryKey() const = 0;

    // Restricts the cursor to rows whose leading index columns equal values.
    virtual void setRange(const QVariantList& values) = 0;
    virtual void clearRange() = 0;

    // Up to limit rows in the given direction, starting after (or at, when
    // inclusive) the row whose ordering key is `from`; from the start (end)
    // when `from` is empty. Backward results come nearest first.
    virtual QList<StorageRow> fetch(const QVariantList& from, ScanDirection direction,
                                    bool inclusive, int limit) = 0;
    // The first row whose columns equal values; with partialLength >= 0 the
    // last column only has to begin with its first partialLength characters.
    virtual std::optional<StorageRow> findKey(const QStringList& columns, const QVariantList& values,
                                              int partialLength, bool caseInsensitive) = 0;
    virtual qint64 count() = 0;
    // The row `offset` rows from the start, in the cursor's order and range.
    virtual std::optional<StorageRow> rowAt(qint64 offset) = 0;
};

class StorageTable {
public:
    virtual ~StorageTable() = default;

    virtual QString name() const = 0;
    virtual QList<StorageField> fields() const = 0;
    virtual QStringList primaryKey() const = 0;
    virtual QList<StorageIndex> indexes() const = 0;

    // A cursor on the named index ("" = primary key); an unknown index raises.
    virtual std::unique_ptr<StorageCursor> openCursor(const QString& indexName) = 0;

    // Each write is one committed transaction. `key` is the primary key of
    // the stored record as read (values in primaryKey() order).
    virtual void insert(const QStringList& columns, const QVariantList& values) = 0;
    virtual void modify(const QVariantList& key, const QStringList& columns,
                        const QVariantList& values, const void* owner) = 0;
    virtual void remove(const QVariantList& key, const void* owner) = 0;

    // The record lock held from Edit until Post or Cancel. `owner` tells the
    // views apart; a lock held by another owner or process raises RecordLocked.
    virtual void lock(const QVariantList& key, const void* owner) = 0;
    virtual void unlock(const QVariantList& key, const void* owner) = 0;
};

class StorageDatabase {
public:
    virtual ~StorageDatabase() = default;
    // Table names ending in ".DB" name the table without that ending.
    virtual std::unique_ptr<StorageTable> openTable(const QString& tableName) = 0;
    virtual QString path() const = 0;
};

// The database of an alias (a SQLite file or a PostgreSQL database), shared
// by every view of this process that uses it. Unknown aliases, missing files
// and servers that refuse the connection raise EDBEngineError.
std::shared_ptr<StorageDatabase> openDatabase(const QString& alias);
// Forgets the shared databases (the engine's shut-down; also used by tests).
void closeAllDatabases();

// Raises EDBEngineError: the first entry carries code and message; a detail
// from the storage follows as a second entry with its native code.
[[noreturn]] void raiseEngineError(int code, const QString& message, const QString& detail = QString(),
                                   int nativeCode = 0);

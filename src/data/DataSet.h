#pragma once

#include "Component.h"
#include "Exceptions.h"
#include "Field.h"
#include "StorageEngine.h"

#include <QList>
#include <QVarLengthArray>

#include <functional>
#include <memory>

class TDataSource;
class TMasterDataLink;

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey, dsCalcFields, dsFilter };

// What a post-error handler decides.
enum TDataAction { daFail, daAbort, daRetry };

// Events a view sends through its data sources to their links.
enum TDataEvent {
    deFieldChange,      // one field written (info: the field)
    deRecordChange,     // the current record's values changed
    deDataSetChange,    // the buffered records were re-read
    deDataSetScroll,    // the current record moved
    deLayoutChange,     // the field list changed
    deUpdateRecord,     // controls: write pending text into the fields
    deUpdateState,      // the state changed
    deCheckBrowseMode,  // settle pending work (details settle theirs)
};

enum class TLocateOption { loCaseInsensitive = 1, loPartialKey = 2 };
using TLocateOptions = int;

// One buffered record: the stored row as read (empty for a new record) and
// the field values written since (calculated fields, edits), by field index.
// A field not written reads its value from the row, converted as it is read,
// so a record costs what the engine returned and no more.
struct TRecordBuffer {
    StorageRow row;
    QVarLengthArray<std::pair<int, QVariant>, 2> written;

    // Field `index`'s written value, none when it was not written.
    const QVariant* writtenValue(int index) const;
    void write(int index, const QVariant& value);
    void forget(int index);
};

// A view's state, current record, buffered records around it, fields,
// operations and events. Record access goes through the engine hooks that
// TEngineDataSet implements.
class TDataSet : public TComponent {
public:
    using TDataSetNotifyEvent = std::function<void(TDataSet*)>;
    using TDataSetErrorEvent = std::function<void(TDataSet*, EDatabaseError&, TDataAction&)>;

    explicit TDataSet(QObject* owner = nullptr);
    ~TDataSet() override;

    // State and flags.
    TDataSetState State() const { return m_state; }
    bool Active() const { return m_state != dsInactive; }
    void SetActive(bool active);
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    bool Bof() const { return m_bof; }
    bool Eof() const { return m_eof; }
    bool Modified() const { return m_modified; }
    bool IsEmpty() const { return m_current < 0; }
    virtual bool CanModify() const { return true; }
    qint64 RecordCount();

    // Fields.
    const QList<TField*>& Fields() const { return m_fields; }
    TField* FindField(const QString& name) const;
    TField* FieldNamed(const QString& name) const;
    TField* FieldByName(const QString& name) const { return FieldNamed(name); }

    // Operations.
    void Insert();
    // A new record after the last one of the view.
    void Append();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    void First();
    void Last();
    void Next();
    void Prior();
    int MoveBy(int distance);
    // Moves to the record at about `fraction` of the view (0 the first, 1 the
    // last), counted in the view's order: for a grid's scroll bar.
    void MoveToFraction(double fraction);
    void Refresh();
    void CheckBrowseMode();
    void UpdateRecord();
    bool FindByKey(const QStringList& keyFields, const QVariant& keyValue, TLocateOptions options = 0);
    [[noreturn]] static void Abort();

    // While controls are disabled the data sources hear nothing of the
    // records moving or changing; once enabled again they hear once that the
    // records changed. A loop over many records then costs no control updates.
    void DisableControls() { ++m_disabledControls; }
    void EnableControls();
    bool ControlsDisabled() const { return m_disabledControls > 0; }

    // Buffered records around the current one, for grids: at least `before`
    // records ahead of it and `after` behind it are kept when the view has them.
    void SetBufferCount(int before, int after);
    int BufferedRecordCount() const { return int(m_window.size()); }
    int CurrentBufferIndex() const { return m_current; }
    // Changes by one for each record the current record moves, whatever the
    // buffer reads ahead or lets go of meanwhile; starts afresh when the
    // records are re-read (a data-set change).
    qint64 RecordPosition() const { return m_origin + m_current; }
    // The stored row a buffered record was read from; empty for a new record.
    StorageRow BufferBookmark(int index) const { return m_window.value(index).row; }
    // Field reads use this buffer until the scope ends (-1: the current one).
    class BufferScope {
    public:
        BufferScope(TDataSet* dataSet, int index);
        ~BufferScope();
    private:
        TDataSet* m_dataSet;
        int m_previous;
    };

    bool AutoCalcFields = true;
    TDataSetNotifyEvent OnCalcFields;
    TDataSetErrorEvent OnPostError;

    // Used by fields, data sources and links.
    QVariant fieldValue(const TField* field) const;
    void setFieldValue(TField* field, const QVariant& value);
    void addField(TField* field);
    void removeField(TField* field);
    void addDataSource(TDataSource* source);
    void removeDataSource(TDataSource* source);
    void DataEvent(TDataEvent event, TField* field = nullptr);
    int fieldIndex(const TField* field) const { return int(m_fields.indexOf(const_cast<TField*>(field))); }

protected:
    // Engine hooks.
    virtual void InternalOpen() = 0;
    virtual void InternalClose() = 0;
    virtual QList<TRecordBuffer> ReadRecords(const StorageRow& from, ScanDirection direction, bool inclusive,
                                             int limit) = 0;
    // Re-reads one record (taking its lock first when asked); raises when it is gone.
    virtual TRecordBuffer ReadCurrent(const StorageRow& row, bool lock) = 0;
    virtual void ReleaseLock(const StorageRow& row) = 0;
    virtual std::optional<StorageRow> LocateKey(const QStringList& columns, const QVariantList& values,
                                                int partialLength, bool caseInsensitive) = 0;
    virtual StorageRow InternalPost(const TRecordBuffer& record, bool isNew) = 0;
    virtual void InternalDelete(const StorageRow& row) = 0;
    virtual qint64 InternalRecordCount() = 0;
    // The stored row `offset` records from the start of the view, if there is one.
    virtual std::optional<StorageRow> ReadRowAt(qint64 offset) = 0;
    virtual void InitNewRecord() {}
    // Field `index`'s value in a record's stored row; none for a calculated field.
    virtual QVariant StoredValue(const TRecordBuffer& record, int index) const = 0;
    // Field `index`'s value in a record: as written, else as stored.
    QVariant RecordValue(const TRecordBuffer& record, int index) const;

    // Buffer management for the engine side.
    void ReadFirst();
    void ReadAround(const StorageRow& anchor, bool keepBefore = true);
    void CalculateFields(TRecordBuffer& record);
    void SetState(TDataSetState state);
    void ClearBuffers();
    const TRecordBuffer* CurrentRecord() const;
    [[noreturn]] void Error(const QString& text) const { DatabaseError(text, this); }
    void CheckActive() const;
    void SettleDetails() { DataEvent(deCheckBrowseMode); }

private:
    QList<TRecordBuffer> Fetch(const StorageRow& from, ScanDirection direction, bool inclusive, int limit);
    TRecordBuffer* WritableRecord();
    const TRecordBuffer* ActiveRecord() const;
    void PostRecord();
    void OpenNewRecord(int position);
    void AfterWrite(const StorageRow& anchor);
    void Trim(bool keepAfter);
    bool FetchAfter();
    bool FetchBefore();
    void FillBuffers();
    void Scrolled(bool moved);
    bool CanWrite(const TField* field) const;

    TDataSetState m_state = dsInactive;
    QList<TField*> m_fields;
    QList<TDataSource*> m_dataSources;
    QList<TRecordBuffer> m_window;
    int m_current = -1;
    qint64 m_origin = 0;              // RecordPosition() of the window's first record
    int m_activeBuffer = -1;          // BufferScope's buffer, -1 for the current
    TRecordBuffer* m_calcRecord = nullptr;
    TRecordBuffer m_saved;            // the record as it was before Edit
    int m_insertedAt = -1;            // window position of a new record
    bool m_windowAtStart = true;
    bool m_windowAtEnd = true;
    bool m_bof = true;
    bool m_eof = true;
    bool m_modified = false;
    int m_before = 0;
    int m_after = 0;
    int m_disabledControls = 0;
    bool m_changedWhileDisabled = false;
};

// A dataset over an engine cursor: record reads and writes, ranges, key
// search, the record lock.
class TEngineDataSet : public TDataSet {
public:
    using TDataSet::TDataSet;
    ~TEngineDataSet() override;

protected:
    QList<TRecordBuffer> ReadRecords(const StorageRow& from, ScanDirection direction, bool inclusive,
                                     int limit) override;
    TRecordBuffer ReadCurrent(const StorageRow& row, bool lock) override;
    void ReleaseLock(const StorageRow& row) override;
    std::optional<StorageRow> LocateKey(const QStringList& columns, const QVariantList& values, int partialLength,
                                        bool caseInsensitive) override;
    StorageRow InternalPost(const TRecordBuffer& record, bool isNew) override;
    void InternalDelete(const StorageRow& row) override;
    qint64 InternalRecordCount() override;
    std::optional<StorageRow> ReadRowAt(qint64 offset) override;
    void InternalClose() override;
    QVariant StoredValue(const TRecordBuffer& record, int index) const override;

    // Opens the table and a cursor on the index, checking the fields.
    void OpenEngineTable(const QString& alias, const QString& tableName, const QString& indexName);
    void SwitchIndex(const QString& indexName);
    StorageCursor* Cursor() const { return m_cursor.get(); }
    QVariantList OrderKeyOf(const StorageRow& row) const;
    // The stored row of a record: its key columns as read, its fields' values.
    StorageRow FullRow(const TRecordBuffer& record) const;
    QVariantList PrimaryKeyOf(const StorageRow& row) const;
    QList<int> m_columnOfField;   // storage column of each field, -1 for calculated ones

private:
    void BindFields();
    void CreateDefaultFields();

    std::shared_ptr<StorageDatabase> m_database;
    std::unique_ptr<StorageTable> m_table;
    std::unique_ptr<StorageCursor> m_cursor;
};

class TDBDataSet : public TEngineDataSet {
public:
    using TEngineDataSet::TEngineDataSet;
    QString DatabaseName() const { return m_databaseName; }
    void SetDatabaseName(const QString& name);

private:
    QString m_databaseName;
};

// A view of one table, optionally a detail of a master data source.
class TTable : public TDBDataSet {
public:
    explicit TTable(QObject* owner = nullptr);
    ~TTable() override;

    QString TableName() const { return m_tableName; }
    void SetTableName(const QString& name);
    QString IndexName() const { return m_indexName; }
    void SetIndexName(const QString& name);
    TDataSource* MasterSource() const;
    void SetMasterSource(TDataSource* source);
    QString MasterFields() const { return m_masterFields; }
    void SetMasterFields(const QString& fields);
    bool ReadOnly = false;
    bool CanModify() const override { return !ReadOnly; }

    // Called by the master link when the master's record changes.
    void MasterChanged();

protected:
    void InternalOpen() override;
    void InitNewRecord() override;

private:
    QVariantList MasterValues() const;
    void ApplyRange();

    QString m_tableName;
    QString m_indexName;
    QString m_masterFields;
    std::unique_ptr<TMasterDataLink> m_masterLink;
    QVariantList m_range;
    bool m_hasRange = false;
};

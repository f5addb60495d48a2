#include "DataSet.h"

#include "DataSource.h"

#include <QScopeGuard>

#include <algorithm>

namespace {
// Records read per storage request, and how many are kept before the current
// one after a re-read (so a found record sits near the middle of the window).
constexpr int kPage = 256;
constexpr int kBackRead = 16;
constexpr int kAroundRead = 32;
}

void DatabaseError(const QString& text, const TComponent* component)
{
    if (component && !component->Name().isEmpty())
        throw EDatabaseError(QStringLiteral("%1: %2").arg(component->Name(), text));
    throw EDatabaseError(text);
}

TDataSet::TDataSet(QObject* owner) : TComponent(owner) {}

TDataSet::~TDataSet()
{
    for (TDataSource* source : std::as_const(m_dataSources))
        source->detachDataSet();
    const QList<TField*> fields = m_fields;
    m_fields.clear();
    for (TField* field : fields) {
        field->detachDataSet();
        delete field;
    }
}

// ---------------------------------------------------------------- fields

TField* TDataSet::FindField(const QString& name) const
{
    for (TField* field : m_fields) {
        if (field->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return field;
    }
    return nullptr;
}

TField* TDataSet::FieldNamed(const QString& name) const
{
    TField* field = FindField(name);
    if (!field)
        Error(QStringLiteral("Field '%1' not found").arg(name));
    return field;
}

// The field list is fixed while the view is open: its records are read by it.
void TDataSet::addField(TField* field)
{
    if (Active())
        Error(QStringLiteral("Cannot perform this operation on an open dataset"));
    m_fields.append(field);
}

void TDataSet::removeField(TField* field)
{
    const int index = fieldIndex(field);
    if (index < 0)
        return;
    Close();
    m_fields.removeAt(index);
}

const TRecordBuffer* TDataSet::ActiveRecord() const
{
    if (m_calcRecord)
        return m_calcRecord;
    const int index = m_activeBuffer >= 0 ? m_activeBuffer : m_current;
    return index >= 0 && index < m_window.size() ? &m_window.at(index) : nullptr;
}

TRecordBuffer* TDataSet::WritableRecord()
{
    if (m_calcRecord)
        return m_calcRecord;
    return m_current >= 0 && m_current < m_window.size() ? &m_window[m_current] : nullptr;
}

const TRecordBuffer* TDataSet::CurrentRecord() const
{
    return m_current >= 0 ? &m_window.at(m_current) : nullptr;
}

const QVariant* TRecordBuffer::writtenValue(int index) const
{
    for (const auto& [field, value] : written) {
        if (field == index)
            return &value;
    }
    return nullptr;
}

void TRecordBuffer::write(int index, const QVariant& value)
{
    for (auto& [field, stored] : written) {
        if (field == index) {
            stored = value;
            return;
        }
    }
    written.append({index, value});
}

void TRecordBuffer::forget(int index)
{
    for (qsizetype i = 0; i < written.size(); ++i) {
        if (written[i].first == index) {
            written.remove(i);
            return;
        }
    }
}

QVariant TDataSet::RecordValue(const TRecordBuffer& record, int index) const
{
    const QVariant* value = record.writtenValue(index);
    return value ? *value : StoredValue(record, index);
}

QVariant TDataSet::fieldValue(const TField* field) const
{
    const TRecordBuffer* record = ActiveRecord();
    const int index = fieldIndex(field);
    return record && index >= 0 ? RecordValue(*record, index) : QVariant();
}

bool TDataSet::CanWrite(const TField* field) const
{
    switch (m_state) {
    case dsEdit:
    case dsInsert:
    case dsSetKey:
    case dsFilter:
        return true;
    case dsCalcFields:
        return field->Calculated();
    default:
        return false;
    }
}

void TDataSet::setFieldValue(TField* field, const QVariant& value)
{
    TRecordBuffer* record = WritableRecord();
    if (!CanWrite(field) || !record)
        Error(QStringLiteral("Dataset not in edit or insert mode"));
    record->write(fieldIndex(field), value);
    if (m_state == dsCalcFields)
        return;
    if (field->Calculated() || !(m_state == dsEdit || m_state == dsInsert)) {
        DataEvent(deFieldChange, field);
        return;
    }
    m_modified = true;
    if (AutoCalcFields)
        CalculateFields(*record);
    DataEvent(deFieldChange, field);
    for (TField* calculated : std::as_const(m_fields)) {
        if (calculated->Calculated())
            DataEvent(deFieldChange, calculated);
    }
}

void TDataSet::CalculateFields(TRecordBuffer& record)
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i)->Calculated())
            record.forget(i);
    }
    if (!OnCalcFields)
        return;
    const TDataSetState previous = m_state;
    TRecordBuffer* previousRecord = m_calcRecord;
    m_state = dsCalcFields;
    m_calcRecord = &record;
    auto restore = qScopeGuard([&] {
        m_state = previous;
        m_calcRecord = previousRecord;
    });
    OnCalcFields(this);
}

// ---------------------------------------------------------------- events

void TDataSet::addDataSource(TDataSource* source)
{
    if (!m_dataSources.contains(source))
        m_dataSources.append(source);
}

void TDataSet::removeDataSource(TDataSource* source)
{
    m_dataSources.removeAll(source);
}

void TDataSet::DataEvent(TDataEvent event, TField* field)
{
    const bool recordEvent = event == deFieldChange || event == deRecordChange || event == deDataSetChange
        || event == deDataSetScroll;
    if (recordEvent && m_disabledControls > 0) {
        m_changedWhileDisabled = true;
        return;
    }
    const QList<TDataSource*> sources = m_dataSources;
    for (TDataSource* source : sources)
        source->DataEvent(event, field);
}

void TDataSet::EnableControls()
{
    if (m_disabledControls > 0 && --m_disabledControls == 0 && std::exchange(m_changedWhileDisabled, false))
        DataEvent(deDataSetChange);
}

void TDataSet::SetState(TDataSetState state)
{
    if (state == m_state)
        return;
    m_state = state;
    m_modified = false;
    DataEvent(deUpdateState);
}

// ---------------------------------------------------------------- open, close

void TDataSet::SetActive(bool active)
{
    if (active == Active())
        return;
    if (!active) {
        if (m_state == dsEdit)
            ReleaseLock(m_saved.row);
        m_state = dsInactive;
        m_modified = false;
        ClearBuffers();
        InternalClose();
        DataEvent(deUpdateState);
        return;
    }
    InternalOpen();
    try {
        m_state = dsBrowse;
        ReadFirst();
    } catch (...) {
        m_state = dsInactive;
        ClearBuffers();
        InternalClose();
        throw;
    }
    DataEvent(deUpdateState);
    DataEvent(deDataSetChange);
}

void TDataSet::CheckActive() const
{
    if (!Active())
        Error(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void TDataSet::ClearBuffers()
{
    m_window.clear();
    m_current = -1;
    m_insertedAt = -1;
    m_bof = m_eof = true;
    m_windowAtStart = m_windowAtEnd = true;
}

qint64 TDataSet::RecordCount()
{
    CheckActive();
    return InternalRecordCount();
}

// ---------------------------------------------------------------- buffers

QList<TRecordBuffer> TDataSet::Fetch(const StorageRow& from, ScanDirection direction, bool inclusive, int limit)
{
    QList<TRecordBuffer> records = ReadRecords(from, direction, inclusive, limit);
    for (TRecordBuffer& record : records)
        CalculateFields(record);
    if (direction == ScanDirection::Backward)
        std::reverse(records.begin(), records.end());
    return records;
}

void TDataSet::ReadFirst()
{
    m_window = Fetch({}, ScanDirection::Forward, false, kPage);
    m_windowAtStart = true;
    m_windowAtEnd = m_window.size() < kPage;
    m_current = m_window.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_window.isEmpty();
    FillBuffers();
}

void TDataSet::ReadAround(const StorageRow& anchor, bool keepBefore)
{
    const int back = keepBefore ? std::max(m_before, kBackRead) : 0;
    const int ahead = std::max(m_after + 1, kAroundRead);
    QList<TRecordBuffer> after = Fetch(anchor, ScanDirection::Forward, true, ahead);
    QList<TRecordBuffer> before = back > 0 ? Fetch(anchor, ScanDirection::Backward, false, back) : QList<TRecordBuffer>();
    m_windowAtStart = before.size() < back;
    m_windowAtEnd = after.size() < ahead;
    m_current = after.isEmpty() ? int(before.size()) - 1 : int(before.size());
    m_window = before + after;
    m_bof = m_eof = m_window.isEmpty();
    if (m_window.isEmpty())
        ReadFirst();
    FillBuffers();
}

bool TDataSet::FetchAfter()
{
    if (m_windowAtEnd || m_window.isEmpty())
        return false;
    QList<TRecordBuffer> records = Fetch(m_window.last().row, ScanDirection::Forward, false, kPage);
    const qsizetype read = records.size();
    m_windowAtEnd = read < kPage;
    m_window.append(std::move(records));
    return read > 0;
}

bool TDataSet::FetchBefore()
{
    if (m_windowAtStart || m_window.isEmpty())
        return false;
    const QList<TRecordBuffer> records = Fetch(m_window.first().row, ScanDirection::Backward, false, kPage);
    const int read = int(records.size());
    m_windowAtStart = read < kPage;
    m_window = records + m_window;
    m_current += read;
    m_origin -= read;
    if (m_insertedAt >= 0)
        m_insertedAt += read;
    return read > 0;
}

// Keeps the window bounded: memory stays flat however far the view moves.
void TDataSet::Trim(bool keepAfter)
{
    // Trimmed a page at a time, not on every move.
    const int limit = 2 * kPage + m_before + m_after;
    if (m_window.size() <= limit + kPage || m_state == dsInsert)
        return;
    if (keepAfter) {
        const int drop = std::min(int(m_window.size()) - limit, m_current - m_before);
        if (drop > 0) {
            m_window.remove(0, drop);
            m_current -= drop;
            m_origin += drop;
            m_windowAtStart = false;
        }
    } else {
        const int keep = std::max(limit, m_current + 1 + m_after);
        if (keep < m_window.size()) {
            m_window.resize(keep);
            m_windowAtEnd = false;
        }
    }
}

void TDataSet::FillBuffers()
{
    if (m_current < 0)
        return;
    while (m_window.size() - 1 - m_current < m_after && FetchAfter()) {}
    while (m_current < m_before && FetchBefore()) {}
}

void TDataSet::SetBufferCount(int before, int after)
{
    m_before = std::max(0, before);
    m_after = std::max(0, after);
    if (Active())
        FillBuffers();
}

TDataSet::BufferScope::BufferScope(TDataSet* dataSet, int index) : m_dataSet(dataSet), m_previous(dataSet->m_activeBuffer)
{
    m_dataSet->m_activeBuffer = index;
}

TDataSet::BufferScope::~BufferScope()
{
    m_dataSet->m_activeBuffer = m_previous;
}

// ---------------------------------------------------------------- moving

void TDataSet::Scrolled(bool moved)
{
    if (moved) {
        m_bof = m_eof = false;
        DataEvent(deDataSetScroll);
    }
}

void TDataSet::First()
{
    CheckBrowseMode();
    ReadFirst();
    DataEvent(deDataSetChange);
}

void TDataSet::Last()
{
    CheckBrowseMode();
    m_window = Fetch({}, ScanDirection::Backward, false, kPage);
    m_windowAtEnd = true;
    m_windowAtStart = m_window.size() < kPage;
    m_current = int(m_window.size()) - 1;
    m_bof = m_window.isEmpty();
    m_eof = true;
    FillBuffers();
    DataEvent(deDataSetChange);
}

void TDataSet::Next()
{
    CheckBrowseMode();
    if (m_eof)
        return;
    if (m_current + 1 >= m_window.size())
        FetchAfter();
    if (m_current + 1 >= m_window.size()) {
        m_eof = true;
        return;
    }
    ++m_current;
    Trim(true);
    FillBuffers();
    Scrolled(true);
}

void TDataSet::Prior()
{
    CheckBrowseMode();
    if (m_bof)
        return;
    if (m_current <= 0)
        FetchBefore();
    if (m_current <= 0) {
        m_bof = true;
        return;
    }
    --m_current;
    Trim(false);
    FillBuffers();
    Scrolled(true);
}

int TDataSet::MoveBy(int distance)
{
    int moved = 0;
    for (; distance > 0 && !(Next(), m_eof); --distance)
        ++moved;
    for (; distance < 0 && !(Prior(), m_bof); ++distance)
        --moved;
    return moved;
}

void TDataSet::MoveToFraction(double fraction)
{
    CheckBrowseMode();
    const qint64 count = InternalRecordCount();
    if (count <= 0)
        return;
    const qint64 offset = std::clamp<qint64>(std::llround(std::clamp(fraction, 0.0, 1.0) * double(count - 1)), 0,
                                             count - 1);
    if (offset == count - 1) {
        Last();
        return;
    }
    const std::optional<StorageRow> row = offset > 0 ? ReadRowAt(offset) : std::nullopt;
    if (!row) {
        First();
        return;
    }
    ReadAround(*row);
    m_bof = m_eof = false;
    DataEvent(deDataSetChange);
}

void TDataSet::Refresh()
{
    CheckBrowseMode();
    if (m_current >= 0)
        ReadAround(m_window.at(m_current).row);
    else
        ReadFirst();
    m_bof = m_eof = m_current < 0;
    DataEvent(deDataSetChange);
}

bool TDataSet::FindByKey(const QStringList& keyFields, const QVariant& keyValue, TLocateOptions options)
{
    CheckBrowseMode();
    const QVariantList given = keyFields.size() > 1 ? keyValue.toList() : QVariantList{keyValue};
    QStringList columns;
    QVariantList values;
    int partialLength = -1;
    for (int i = 0; i < keyFields.size(); ++i) {
        TField* field = FieldNamed(keyFields.at(i));
        QVariant value = given.value(i);
        if (auto* text = dynamic_cast<TStringField*>(field)) {
            const QString normalized = text->Normalized(value.toString());
            value = normalized.isEmpty() ? QVariant() : QVariant(normalized);
            if ((options & int(TLocateOption::loPartialKey)) && i == keyFields.size() - 1)
                partialLength = int(normalized.size());
        }
        columns.append(field->FieldName());
        values.append(value);
    }
    if (partialLength == 0)
        values.last() = QString();
    const auto row = LocateKey(columns, values, partialLength, options & int(TLocateOption::loCaseInsensitive));
    if (!row)
        return false;
    ReadAround(*row);
    m_bof = m_eof = false;
    DataEvent(deDataSetChange);
    return true;
}

// ---------------------------------------------------------------- editing

void TDataSet::CheckBrowseMode()
{
    CheckActive();
    DataEvent(deCheckBrowseMode);
    if (m_state != dsEdit && m_state != dsInsert)
        return;
    UpdateRecord();
    if (m_modified)
        Post();
    else
        Cancel();
}

void TDataSet::UpdateRecord()
{
    if (m_state != dsEdit && m_state != dsInsert && m_state != dsSetKey)
        Error(QStringLiteral("Dataset not in edit or insert mode"));
    DataEvent(deUpdateRecord);
}

void TDataSet::Insert()
{
    CheckActive();
    if (!CanModify())
        Error(QStringLiteral("Cannot modify a read-only dataset"));
    CheckBrowseMode();
    OpenNewRecord(std::max(m_current, 0));
}

void TDataSet::Append()
{
    CheckActive();
    if (!CanModify())
        Error(QStringLiteral("Cannot modify a read-only dataset"));
    CheckBrowseMode();
    if (!m_windowAtEnd || m_current != m_window.size() - 1)
        Last();
    OpenNewRecord(m_current + 1);
}

// A blank record at a window position becomes current, in insert state.
void TDataSet::OpenNewRecord(int position)
{
    TRecordBuffer record; // no stored row: every field reads null until written
    m_insertedAt = position;
    m_window.insert(m_insertedAt, record);
    m_current = m_insertedAt;
    // The master's values are in place before the controls hear of the insert.
    m_state = dsInsert;
    InitNewRecord();
    m_modified = false;
    m_bof = m_eof = false;
    DataEvent(deUpdateState);
    DataEvent(deDataSetChange);
}

void TDataSet::Edit()
{
    CheckActive();
    if (m_state == dsEdit || m_state == dsInsert)
        return;
    if (!CanModify())
        Error(QStringLiteral("Cannot modify a read-only dataset"));
    if (IsEmpty()) {
        Insert();
        return;
    }
    CheckBrowseMode();
    TRecordBuffer record = ReadCurrent(m_window.at(m_current).row, true);
    CalculateFields(record);
    m_window[m_current] = record;
    m_saved = record;
    SetState(dsEdit);
    DataEvent(deRecordChange);
}

void TDataSet::Post()
{
    CheckActive();
    UpdateRecord();
    SettleDetails();
    if (m_state == dsEdit || m_state == dsInsert)
        PostRecord();
}

// Writes the record; on a storage error the post-error handler decides.
void TDataSet::PostRecord()
{
    const bool isNew = m_state == dsInsert;
    StorageRow written;
    for (;;) {
        try {
            written = InternalPost(m_window.at(m_current), isNew);
            break;
        } catch (EDatabaseError& error) {
            TDataAction action = daFail;
            if (OnPostError)
                OnPostError(this, error, action);
            if (action == daFail)
                throw;
            // A retry needs the record still pending; the handler may have dropped it.
            if (action == daAbort || (m_state != dsEdit && m_state != dsInsert))
                Abort();
        }
    }
    AfterWrite(written);
}

void TDataSet::AfterWrite(const StorageRow& anchor)
{
    if (m_state == dsEdit)
        ReleaseLock(m_saved.row);
    m_insertedAt = -1;
    SetState(dsBrowse);
    ReadAround(anchor);
    m_bof = m_eof = m_current < 0;
    DataEvent(deDataSetChange);
}

void TDataSet::Cancel()
{
    if (m_state != dsEdit && m_state != dsInsert)
        return;
    SettleDetails();
    if (m_state == dsInsert) {
        m_window.removeAt(m_insertedAt);
        m_current = std::min(m_insertedAt, int(m_window.size()) - 1);
        m_insertedAt = -1;
    } else {
        ReleaseLock(m_saved.row);
        m_window[m_current] = m_saved;
    }
    SetState(dsBrowse);
    if (m_current >= 0)
        ReadAround(m_window.at(m_current).row);
    else
        ReadFirst();
    m_bof = m_eof = m_current < 0;
    DataEvent(deDataSetChange);
}

void TDataSet::Delete()
{
    CheckActive();
    if (m_state == dsInsert) {
        Cancel();
        return;
    }
    if (IsEmpty())
        Error(QStringLiteral("Cannot perform this operation on an empty dataset"));
    SettleDetails();
    const StorageRow row = m_state == dsEdit ? m_saved.row : m_window.at(m_current).row;
    InternalDelete(row);
    if (m_state == dsEdit)
        ReleaseLock(row);
    SetState(dsBrowse);
    ReadAround(row);
    m_bof = m_eof = m_current < 0;
    DataEvent(deDataSetChange);
}

void TDataSet::Abort()
{
    throw EAbort();
}

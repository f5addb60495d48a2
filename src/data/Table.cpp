#include "DataSet.h"

#include "DataSource.h"

// ---------------------------------------------------------------- engine dataset

TEngineDataSet::~TEngineDataSet()
{
    // Destruction discards a pending edit; its record lock goes with it.
    if (State() == dsEdit && CurrentRecord() && m_table)
        m_table->unlock(PrimaryKeyOf(CurrentRecord()->row), this);
}

namespace {

bool compatible(const TField* field, StorageType storage)
{
    switch (field->DataType()) {
    case TFieldType::ftString:
        return storage == StorageType::String;
    case TFieldType::ftDate:
        return storage == StorageType::Date || storage == StorageType::String;
    default:
        return storage == StorageType::Float;
    }
}

QString typeName(StorageType type)
{
    switch (type) {
    case StorageType::String:
        return QStringLiteral("String");
    case StorageType::Float:
        return QStringLiteral("Float");
    default:
        return QStringLiteral("Date");
    }
}

QString typeName(TFieldType type)
{
    switch (type) {
    case TFieldType::ftString:
        return QStringLiteral("String");
    case TFieldType::ftFloat:
        return QStringLiteral("Float");
    case TFieldType::ftCurrency:
        return QStringLiteral("Currency");
    default:
        return QStringLiteral("Date");
    }
}

// A stored column as the value of `field`.
QVariant fromColumn(const TField* field, const StorageRow& row, int column)
{
    if (row.isNull(column))
        return QVariant();
    switch (field->DataType()) {
    case TFieldType::ftString:
        return row.value(column).toString();
    case TFieldType::ftDate: {
        const QVariant stored = row.value(column);
        const QDate date = stored.typeId() == QMetaType::QDate ? stored.toDate()
                                                               : QDate::fromString(stored.toString(), Qt::ISODate);
        return date.isValid() ? QVariant(date) : QVariant();
    }
    default:
        return row.kind(column) == StorageRow::Kind::Text ? row.value(column).toDouble() : row.number(column);
    }
}

}

void TEngineDataSet::CreateDefaultFields()
{
    for (const StorageField& column : m_table->fields()) {
        if (column.type == StorageType::Float)
            new TFloatField(this, column.name);
        else if (column.type == StorageType::Date)
            new TDateField(this, column.name);
        else
            new TStringField(this, column.name, column.size > 0 ? column.size : 255);
    }
}

// Maps every stored field to its column, checking that the table has it with its type.
void TEngineDataSet::BindFields()
{
    const QList<StorageField> columns = m_table->fields();
    m_columnOfField.clear();
    for (const TField* field : Fields()) {
        if (field->Calculated()) {
            m_columnOfField.append(-1);
            continue;
        }
        const auto it = std::find_if(columns.cbegin(), columns.cend(), [&](const StorageField& column) {
            return column.name.compare(field->FieldName(), Qt::CaseInsensitive) == 0;
        });
        if (it == columns.cend())
            Error(QStringLiteral("Field '%1' not found").arg(field->FieldName()));
        if (!compatible(field, it->type))
            Error(QStringLiteral("Type mismatch for field '%1', expecting: %2 actual: %3")
                      .arg(field->FieldName(), typeName(field->DataType()), typeName(it->type)));
        m_columnOfField.append(int(it - columns.cbegin()));
    }
}

void TEngineDataSet::OpenEngineTable(const QString& alias, const QString& tableName, const QString& indexName)
{
    try {
        m_database = openDatabase(alias);
        m_table = m_database->openTable(tableName);
        if (Fields().isEmpty())
            CreateDefaultFields();
        BindFields();
        m_cursor = m_table->openCursor(indexName);
    } catch (...) {
        InternalClose();
        throw;
    }
}

void TEngineDataSet::InternalClose()
{
    m_cursor.reset();
    m_table.reset();
    m_database.reset();
}

void TEngineDataSet::SwitchIndex(const QString& indexName)
{
    m_cursor = m_table->openCursor(indexName);
}

QVariantList TEngineDataSet::OrderKeyOf(const StorageRow& row) const
{
    QVariantList key;
    for (int column : m_cursor->orderKey())
        key.append(row.value(column));
    return key;
}

QVariantList TEngineDataSet::PrimaryKeyOf(const StorageRow& row) const
{
    QVariantList key;
    for (int column : m_cursor->primaryKey())
        key.append(row.value(column));
    return key;
}

QVariant TEngineDataSet::StoredValue(const TRecordBuffer& record, int index) const
{
    const int column = m_columnOfField.value(index, -1);
    return column < 0 ? QVariant() : fromColumn(Fields().at(index), record.row, column);
}

QList<TRecordBuffer> TEngineDataSet::ReadRecords(const StorageRow& from, ScanDirection direction, bool inclusive,
                                                 int limit)
{
    QList<StorageRow> rows =
        m_cursor->fetch(from.isEmpty() ? QVariantList() : OrderKeyOf(from), direction, inclusive, limit);
    QList<TRecordBuffer> records;
    records.reserve(rows.size());
    for (StorageRow& row : rows)
        records.append(TRecordBuffer{std::move(row), {}});
    return records;
}

TRecordBuffer TEngineDataSet::ReadCurrent(const StorageRow& row, bool lock)
{
    const QVariantList key = PrimaryKeyOf(row);
    if (lock)
        m_table->lock(key, this);
    const auto found = m_cursor->findKey(m_table->primaryKey(), key, -1, false);
    if (!found) {
        if (lock)
            m_table->unlock(key, this);
        raiseEngineError(EngineCode::RecordDeleted, QStringLiteral("Record/Key deleted."));
    }
    return TRecordBuffer{*found, {}};
}

void TEngineDataSet::ReleaseLock(const StorageRow& row)
{
    if (m_table)
        m_table->unlock(PrimaryKeyOf(row), this);
}

std::optional<StorageRow> TEngineDataSet::LocateKey(const QStringList& columns, const QVariantList& values,
                                                    int partialLength, bool caseInsensitive)
{
    return m_cursor->findKey(columns, values, partialLength, caseInsensitive);
}

StorageRow TEngineDataSet::FullRow(const TRecordBuffer& record) const
{
    QVariantList row = record.row.isEmpty() ? QVariantList(m_cursor->columns().size()) : record.row.toList();
    for (int i = 0; i < Fields().size(); ++i) {
        if (m_columnOfField.at(i) >= 0)
            row[m_columnOfField.at(i)] = RecordValue(record, i);
    }
    return StorageRow(row);
}

StorageRow TEngineDataSet::InternalPost(const TRecordBuffer& record, bool isNew)
{
    QStringList columns;
    QVariantList values;
    for (int i = 0; i < Fields().size(); ++i) {
        const int column = m_columnOfField.at(i);
        if (column < 0)
            continue;
        columns.append(m_cursor->columns().at(column));
        values.append(RecordValue(record, i));
    }
    const StorageRow written = FullRow(record);
    if (isNew)
        m_table->insert(columns, values);
    else
        m_table->modify(PrimaryKeyOf(record.row), columns, values, this);
    return written;
}

void TEngineDataSet::InternalDelete(const StorageRow& row)
{
    m_table->remove(PrimaryKeyOf(row), this);
}

qint64 TEngineDataSet::InternalRecordCount()
{
    return m_cursor->count();
}

std::optional<StorageRow> TEngineDataSet::ReadRowAt(qint64 offset)
{
    return m_cursor->rowAt(offset);
}

void TDBDataSet::SetDatabaseName(const QString& name)
{
    if (Active())
        Error(QStringLiteral("Cannot perform this operation on an open dataset"));
    m_databaseName = name;
}

// ---------------------------------------------------------------- table

TTable::TTable(QObject* owner) : TDBDataSet(owner) {}

TTable::~TTable() = default;

void TTable::SetTableName(const QString& name)
{
    if (Active())
        Error(QStringLiteral("Cannot perform this operation on an open dataset"));
    m_tableName = name;
}

TDataSource* TTable::MasterSource() const
{
    return m_masterLink ? m_masterLink->DataSource() : nullptr;
}

void TTable::SetMasterSource(TDataSource* source)
{
    if (!m_masterLink)
        m_masterLink = std::make_unique<TMasterDataLink>(this);
    m_masterLink->FieldNames = m_masterFields;
    m_masterLink->SetDataSource(source);
    if (Active())
        MasterChanged();
}

void TTable::SetMasterFields(const QString& fields)
{
    m_masterFields = fields;
    if (!m_masterLink)
        m_masterLink = std::make_unique<TMasterDataLink>(this);
    m_masterLink->FieldNames = fields;
}

void TTable::InternalOpen()
{
    OpenEngineTable(DatabaseName(), m_tableName, m_indexName);
    m_hasRange = false;
    if (MasterSource())
        ApplyRange();
}

QVariantList TTable::MasterValues() const
{
    QVariantList values;
    for (const TField* field : m_masterLink->Fields())
        values.append(field->Value());
    return values;
}

void TTable::ApplyRange()
{
    m_range = MasterValues();
    m_hasRange = true;
    Cursor()->setRange(m_range);
}

void TTable::MasterChanged()
{
    if (!Active() || !MasterSource() || MasterSource()->State() == dsSetKey)
        return;
    CheckBrowseMode();
    if (m_hasRange && MasterValues() == m_range)
        return;
    ApplyRange();
    ReadFirst();
    DataEvent(deDataSetChange);
}

// A new detail record starts with the master's values in its leading index fields.
void TTable::InitNewRecord()
{
    if (!MasterSource())
        return;
    const QVariantList values = MasterValues();
    const QList<int> order = Cursor()->orderKey();
    for (int i = 0; i < values.size() && i < order.size(); ++i) {
        if (TField* field = FindField(Cursor()->columns().at(order.at(i))))
            field->SetValue(values.at(i));
    }
}

void TTable::SetIndexName(const QString& name)
{
    if (!Active()) {
        m_indexName = name;
        return;
    }
    CheckBrowseMode();
    if (name == m_indexName)
        return;
    SwitchIndex(name);
    m_indexName = name;
    if (m_hasRange)
        Cursor()->setRange(m_range);
    // The current record's place in the new order comes from all its values.
    if (const TRecordBuffer* current = CurrentRecord())
        ReadAround(FullRow(*current));
    else
        ReadFirst();
    DataEvent(deDataSetChange);
}

#include "KeysetCursor.h"

QString quoteName(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QStringList cursorOrder(const StorageTable& table, const QString& indexName)
{
    QStringList order;
    if (!indexName.isEmpty()) {
        const QList<StorageIndex> indexes = table.indexes();
        auto it = std::find_if(indexes.cbegin(), indexes.cend(),
                               [&](const StorageIndex& index) { return index.name == indexName; });
        if (it == indexes.cend())
            raiseEngineError(EngineCode::NoSuchIndex, QStringLiteral("Index does not exist. Index: %1").arg(indexName));
        order = it->columns;
    }
    for (const QString& column : table.primaryKey()) {
        if (!order.contains(column))
            order.append(column);
    }
    return order;
}

QString baseTableName(const QString& tableName)
{
    return tableName.endsWith(QLatin1String(".DB"), Qt::CaseInsensitive) ? tableName.chopped(3) : tableName;
}

SqlTableBase::SqlTableBase(const QString& tableName)
    : m_name(baseTableName(tableName)), m_quoted(quoteName(m_name))
{
}

std::unique_ptr<StorageCursor> SqlTableBase::openCursor(const QString& indexName)
{
    return std::make_unique<KeysetCursor>(*this, cursorOrder(*this, indexName));
}

void SqlTableBase::checkFound(const QString& tableName) const
{
    if (m_fields.isEmpty())
        raiseEngineError(EngineCode::NoSuchTable, QStringLiteral("Table does not exist: %1").arg(tableName));
}

void SqlTableBase::addIndexColumn(const QString& index, const QString& column)
{
    if (m_indexes.isEmpty() || m_indexes.last().name != index)
        m_indexes.append(StorageIndex{index, {}});
    m_indexes.last().columns.append(column);
}

QString SqlTableBase::insertStatement(const QStringList& columns) const
{
    QStringList names;
    QStringList marks;
    for (const QString& column : columns) {
        names.append(quoteName(column));
        marks.append(QStringLiteral("?"));
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(m_quoted, names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
}

QString SqlTableBase::updateStatement(const QStringList& columns, const QString& where) const
{
    QStringList sets;
    for (const QString& column : columns)
        sets.append(quoteName(column) + QStringLiteral(" = ?"));
    return QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(m_quoted, sets.join(QLatin1Char(',')), where);
}

QString SqlTableBase::deleteStatement(const QString& where) const
{
    return QStringLiteral("DELETE FROM %1 WHERE %2").arg(m_quoted, where);
}

KeysetCursor::KeysetCursor(SqlTable& table, const QStringList& order)
    : m_table(table), m_dialect(table.dialect()), m_order(order)
{
    for (const StorageField& field : table.fields()) {
        m_columns.append(field.name);
        if (field.required)
            m_notNull.insert(field.name);
    }
    QStringList quoted;
    for (const QString& column : m_columns)
        quoted.append(quoteName(column));
    m_selectList = quoted.join(QLatin1Char(','));
    for (const QString& column : m_order)
        m_orderKey.append(int(m_columns.indexOf(column)));
    for (const QString& column : table.primaryKey())
        m_primaryKeyIndexes.append(int(m_columns.indexOf(column)));
}

QString KeysetCursor::joinConditions(const QStringList& parts) const
{
    return parts.isEmpty() ? m_dialect.always() : parts.join(QLatin1String(" AND "));
}

void KeysetCursor::addRangeConditions(QStringList& where, QVariantList& bound) const
{
    for (int i = 0; i < m_range.size(); ++i)
        where.append(m_dialect.equal(quoteName(m_order.at(i)), m_dialect.toStorage(m_range.at(i)), bound));
}

// Rows after (before) `from` in the cursor's order, written so that the
// engine seeks in the index. NULL sorts first: "greater than NULL" is
// "not NULL" and nothing is smaller than NULL.
void KeysetCursor::addKeysetCondition(QStringList& where, QVariantList& bound, const QVariantList& from,
                                      ScanDirection direction, bool inclusive) const
{
    const bool forward = direction == ScanDirection::Forward;
    const int fixed = int(m_range.size());
    const int last = int(m_order.size()) - 1;
    QStringList alternatives;
    QString equalPrefix;
    QVariantList prefixValues;
    for (int i = fixed; i <= last; ++i) {
        const QString column = quoteName(m_order.at(i));
        const QVariant value = m_dialect.toStorage(from.at(i));
        const bool orEqual = inclusive && i == last;
        QString beyond;
        if (forward && value.isNull())
            beyond = orEqual ? m_dialect.always() : column + QStringLiteral(" IS NOT NULL");
        else if (forward)
            beyond = column + (orEqual ? QStringLiteral(" >= ?") : QStringLiteral(" > ?"));
        else if (value.isNull())
            beyond = orEqual ? column + QStringLiteral(" IS NULL") : QString();
        else if (m_notNull.contains(m_order.at(i)))
            beyond = column + (orEqual ? QStringLiteral(" <= ?") : QStringLiteral(" < ?"));
        else
            beyond = QStringLiteral("(%1 %2 ? OR %1 IS NULL)").arg(column, orEqual ? QStringLiteral("<=") : QStringLiteral("<"));
        if (!beyond.isEmpty()) {
            alternatives.append(QStringLiteral("(%1%2)").arg(equalPrefix, beyond));
            bound += prefixValues;
            if (!value.isNull())
                bound.append(value);
        }
        equalPrefix += m_dialect.equal(column, value, prefixValues) + QStringLiteral(" AND ");
    }
    where.append(alternatives.isEmpty() ? m_dialect.never()
                                        : QStringLiteral("(%1)").arg(alternatives.join(QLatin1String(" OR "))));
    // A bound on the first column alone lets the index seek past the alternatives.
    const QVariant first = m_dialect.toStorage(from.value(fixed));
    if (last > fixed && !first.isNull() && (forward || m_notNull.contains(m_order.at(fixed)))) {
        where.append(quoteName(m_order.at(fixed)) + (forward ? QStringLiteral(" >= ?") : QStringLiteral(" <= ?")));
        bound.append(first);
    }
}

QString KeysetCursor::orderBy(const QStringList& order, ScanDirection direction) const
{
    QStringList terms;
    for (const QString& column : order)
        terms.append(m_dialect.orderTerm(quoteName(column), direction, !m_notNull.contains(column)));
    return terms.join(QLatin1Char(','));
}

QList<StorageRow> KeysetCursor::select(const QStringList& where, const QVariantList& bound, const QString& order,
                                       int limit)
{
    QVariantList values = bound;
    values.append(limit);
    return m_table.selectRows(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4 LIMIT ?")
                                  .arg(m_selectList, m_table.quotedName(), joinConditions(where), order),
                              values, int(m_columns.size()));
}

QList<StorageRow> KeysetCursor::fetch(const QVariantList& from, ScanDirection direction, bool inclusive, int limit)
{
    QStringList where;
    QVariantList bound;
    addRangeConditions(where, bound);
    if (!from.isEmpty())
        addKeysetCondition(where, bound, from, direction, inclusive);
    return select(where, bound, orderBy(m_order, direction), limit);
}

namespace {

// The stored texts compare byte by byte, and upper() of such a column changes
// a to z only, on either engine. The searched value is raised the same way
// here: the server's upper() of a parameter would follow its own locale and
// miss "é" stored as "é".
QString asciiUpper(QString text)
{
    for (QChar& c : text) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return text;
}

}

// One column's condition of a key search; partialLength >= 0 asks for a
// prefix of a text value.
QString KeysetCursor::keyCondition(const QString& column, const QVariant& value, int partialLength,
                                   bool caseInsensitive, QVariantList& bound) const
{
    const bool text = value.typeId() == QMetaType::QString;
    if (partialLength >= 0 && text) {
        const QString prefix = value.toString().left(partialLength);
        // Both engines count characters, not UTF-16 units as QString does.
        const qsizetype characters = prefix.toUcs4().size();
        if (caseInsensitive) {
            bound.append(asciiUpper(prefix));
            return QStringLiteral("upper(substr(%1, 1, %2)) = ?").arg(column).arg(characters);
        }
        // The bounds let the index seek; the prefix test decides.
        bound << prefix << prefix + QChar(0xDBFF) + QChar(0xDFFF) << prefix;
        return QStringLiteral("%1 >= ? AND %1 < ? AND substr(%1, 1, %2) = ?").arg(column).arg(characters);
    }
    if (caseInsensitive && text) {
        bound.append(asciiUpper(value.toString()));
        return QStringLiteral("upper(%1) = ?").arg(column);
    }
    return m_dialect.equal(column, value, bound);
}

std::optional<StorageRow> KeysetCursor::findKey(const QStringList& columns, const QVariantList& values,
                                                int partialLength, bool caseInsensitive)
{
    QStringList where;
    QVariantList bound;
    addRangeConditions(where, bound);
    for (int i = 0; i < columns.size(); ++i) {
        const bool last = i == columns.size() - 1;
        where.append(keyCondition(quoteName(columns.at(i)), m_dialect.toStorage(values.value(i)),
                                  last ? partialLength : -1, caseInsensitive, bound));
    }
    // The first match in the order of an index that starts with the key columns.
    QStringList order = m_order;
    if (m_order.mid(0, columns.size()) != columns) {
        for (const StorageIndex& index : m_table.indexes()) {
            if (index.columns.mid(0, columns.size()) == columns) {
                order = index.columns + m_table.primaryKey();
                break;
            }
        }
    }
    const QList<StorageRow> rows = select(where, bound, orderBy(order, ScanDirection::Forward), 1);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

qint64 KeysetCursor::count()
{
    QStringList where;
    QVariantList bound;
    addRangeConditions(where, bound);
    return m_table.selectCount(
        QStringLiteral("SELECT count(*) FROM %1 WHERE %2").arg(m_table.quotedName(), joinConditions(where)), bound);
}

// Counts its way there: the position needs no record numbers.
std::optional<StorageRow> KeysetCursor::rowAt(qint64 offset)
{
    QStringList where;
    QVariantList bound;
    addRangeConditions(where, bound);
    bound.append(offset);
    const QList<StorageRow> rows =
        m_table.selectRows(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4 LIMIT 1 OFFSET ?")
                               .arg(m_selectList, m_table.quotedName(), joinConditions(where),
                                    orderBy(m_order, ScanDirection::Forward)),
                           bound, int(m_columns.size()));
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

#pragma once

#include "StorageEngine.h"

#include <QSet>

// What differs between the SQL engines in the statements of a keyset cursor.
class SqlDialect {
public:
    virtual ~SqlDialect() = default;
    // Conditions that always and never hold.
    virtual QString always() const = 0;
    virtual QString never() const = 0;
    // "column equals value", NULL equal to NULL; appends what it binds.
    virtual QString equal(const QString& column, const QVariant& value, QVariantList& bound) const = 0;
    // One ORDER BY term; NULL sorts first going forward. `nullable` tells
    // whether the column may hold NULL at all.
    virtual QString orderTerm(const QString& column, ScanDirection direction, bool nullable) const = 0;
    // A value as the engine stores it.
    virtual QVariant toStorage(const QVariant& value) const = 0;
};

// A table whose cursors are keyset queries in SQL: it runs the statements.
class SqlTable : public StorageTable {
public:
    virtual const SqlDialect& dialect() const = 0;
    virtual QString quotedName() const = 0;
    // Rows of a SELECT whose last bound value is its row limit or offset.
    virtual QList<StorageRow> selectRows(const QString& sql, const QVariantList& values, int width) = 0;
    virtual qint64 selectCount(const QString& sql, const QVariantList& values) = 0;
};

// What the SQL tables of both engines keep alike: the table's name, fields,
// primary key and indexes as read from the engine's catalogue, cursors on
// them, and the text of their write statements.
class SqlTableBase : public SqlTable {
public:
    QString name() const override { return m_name; }
    QList<StorageField> fields() const override { return m_fields; }
    QStringList primaryKey() const override { return m_primaryKey; }
    QList<StorageIndex> indexes() const override { return m_indexes; }
    QString quotedName() const override { return m_quoted; }
    std::unique_ptr<StorageCursor> openCursor(const QString& indexName) override;

protected:
    // `tableName` may end in ".DB".
    explicit SqlTableBase(const QString& tableName);
    // Raises NoSuchTable when the catalogue gave no fields.
    void checkFound(const QString& tableName) const;
    // Adds one column of an index, read in index and column order.
    void addIndexColumn(const QString& index, const QString& column);
    QString insertStatement(const QStringList& columns) const;
    // "UPDATE table SET a = ?,b = ? WHERE ..." and "DELETE FROM table WHERE ...".
    QString updateStatement(const QStringList& columns, const QString& where) const;
    QString deleteStatement(const QString& where) const;

    QString m_name;
    QString m_quoted;
    QList<StorageField> m_fields;
    QStringList m_primaryKey;
    QList<StorageIndex> m_indexes;
};

// An ordered cursor that never loads the table: each fetch is one query for
// the rows after (before) a key in the cursor's order.
class KeysetCursor : public StorageCursor {
public:
    KeysetCursor(SqlTable& table, const QStringList& order);

    QStringList columns() const override { return m_columns; }
    QList<int> orderKey() const override { return m_orderKey; }
    QList<int> primaryKey() const override { return m_primaryKeyIndexes; }
    void setRange(const QVariantList& values) override { m_range = values; }
    void clearRange() override { m_range.clear(); }
    QList<StorageRow> fetch(const QVariantList& from, ScanDirection direction, bool inclusive, int limit) override;
    std::optional<StorageRow> findKey(const QStringList& columns, const QVariantList& values, int partialLength,
                                      bool caseInsensitive) override;
    qint64 count() override;
    std::optional<StorageRow> rowAt(qint64 offset) override;

private:
    void addRangeConditions(QStringList& where, QVariantList& bound) const;
    void addKeysetCondition(QStringList& where, QVariantList& bound, const QVariantList& from,
                            ScanDirection direction, bool inclusive) const;
    QString keyCondition(const QString& column, const QVariant& value, int partialLength, bool caseInsensitive,
                         QVariantList& bound) const;
    QString joinConditions(const QStringList& parts) const;
    QString orderBy(const QStringList& order, ScanDirection direction) const;
    QList<StorageRow> select(const QStringList& where, const QVariantList& bound, const QString& order, int limit);

    SqlTable& m_table;
    const SqlDialect& m_dialect;
    QStringList m_order;
    QStringList m_columns;
    QString m_selectList;
    QList<int> m_orderKey;
    QList<int> m_primaryKeyIndexes;
    QSet<QString> m_notNull;
    QVariantList m_range;
};

// Quotes an identifier for SQL text ("No Pesanan" -> "\"No Pesanan\"").
QString quoteName(const QString& name);
// The columns of a cursor on the named index ("" = primary key) of a table:
// the index's columns, then the primary key's. Raises NoSuchIndex.
QStringList cursorOrder(const StorageTable& table, const QString& indexName);
// "DataBarang.DB" -> "DataBarang".
QString baseTableName(const QString& tableName);

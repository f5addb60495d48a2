#pragma once

#include "Component.h"

#include <QDate>
#include <QVariant>

#include <cmath>

class TDataSet;

enum class TFieldKind { fkData, fkCalculated };
enum class TFieldType { ftString, ftFloat, ftCurrency, ftDate };
enum class TAlignment { taLeftJustify, taRightJustify };

// A currency amount: a 64-bit count of ten-thousandths, so totals add exactly.
// A value or sum beyond that range raises EConvertError.
struct Currency {
    qint64 units = 0;

    static Currency fromDouble(double value);
    double toDouble() const { return double(units) / 10000.0; }
    operator double() const { return toDouble(); }
    Currency& operator+=(Currency other);
};

// One field of a view: its name in the table, its kind and type, the masks
// and formats of its text, and access to its value in the view's active record.
class TField : public TComponent {
public:
    TField(TDataSet* dataSet, const QString& fieldName, TFieldKind kind = TFieldKind::fkData);
    ~TField() override;

    TDataSet* DataSet() const { return m_dataSet; }
    // Called by a view that is being destroyed.
    void detachDataSet() { m_dataSet = nullptr; }
    const QString& FieldName() const { return m_fieldName; }
    TFieldKind FieldKind() const { return m_kind; }
    bool Calculated() const { return m_kind == TFieldKind::fkCalculated; }
    virtual TFieldType DataType() const = 0;
    int Size() const { return m_size; }
    int Index() const;

    QString EditMask() const { return m_editMask; }
    void SetEditMask(const QString& mask) { m_editMask = mask; }
    QString DisplayFormat() const { return m_displayFormat; }
    void SetDisplayFormat(const QString& format) { m_displayFormat = format; }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    virtual TAlignment Alignment() const { return TAlignment::taLeftJustify; }
    virtual int DisplayWidth() const { return 10; }
    // True only for a stored field of a view that can be modified.
    bool CanModify() const;
    // Characters a control accepts for this field.
    virtual bool IsValidChar(QChar c) const;

    QVariant Value() const;
    void SetValue(const QVariant& value);
    bool ValueIsNull() const { return Value().isNull(); }
    void Clear() { SetValue(QVariant()); }

    virtual QString AsString() const = 0;
    virtual void SetAsString(const QString& text) = 0;
    virtual double AsReal() const;
    virtual void SetAsReal(double value);
    Currency AsCurrency() const;
    void SetAsCurrency(Currency value) { SetAsReal(value.toDouble()); }
    // Text for grids, unfocused edits and reports; text for editing.
    virtual QString DisplayText() const { return AsString(); }
    virtual QString EditText() const { return AsString(); }
    void SetEditText(const QString& text) { SetAsString(text); }

protected:
    void setSize(int size) { m_size = size; }

private:
    TDataSet* m_dataSet;
    QString m_fieldName;
    TFieldKind m_kind;
    int m_size = 0;
    QString m_editMask;
    QString m_displayFormat;
    bool m_readOnly = false;
};

// Text up to Size characters; a longer value is cut, trailing blanks are
// dropped and an empty text is stored as null.
class TStringField : public TField {
public:
    TStringField(TDataSet* dataSet, const QString& fieldName, int size = 20,
                 TFieldKind kind = TFieldKind::fkData);
    TFieldType DataType() const override { return TFieldType::ftString; }
    int DisplayWidth() const override { return Size(); }
    QString AsString() const override;
    void SetAsString(const QString& text) override;
    double AsReal() const override;
    QString DisplayText() const override;
    // The text as stored: cut to Size, trailing blanks dropped.
    QString Normalized(const QString& text) const;
};

class TNumericField : public TField {
public:
    using TField::TField;
    TAlignment Alignment() const override { return TAlignment::taRightJustify; }
    bool IsValidChar(QChar c) const override;
};

class TFloatField : public TNumericField {
public:
    TFloatField(TDataSet* dataSet, const QString& fieldName, TFieldKind kind = TFieldKind::fkData);
    TFieldType DataType() const override { return TFieldType::ftFloat; }
    QString AsString() const override;
    void SetAsString(const QString& text) override;
    QString DisplayText() const override;
    QString EditText() const override;
};

class TCurrencyField : public TFloatField {
public:
    using TFloatField::TFloatField;
    TFieldType DataType() const override { return TFieldType::ftCurrency; }
};

class TDateTimeField : public TField {
public:
    using TField::TField;
    int DisplayWidth() const override { return 10; }
    QString AsString() const override;
    void SetAsString(const QString& text) override;
    // The short date format with the year in full (DateText.h); display
    // text stays the short format.
    QString EditText() const override;
    double AsReal() const override;
    void SetAsReal(double value) override;
    QDate AsDate() const { return Value().toDate(); }
    void SetAsDate(const QDate& date) { SetValue(date.isValid() ? QVariant(date) : QVariant()); }
};

class TDateField : public TDateTimeField {
public:
    TDateField(TDataSet* dataSet, const QString& fieldName, TFieldKind kind = TFieldKind::fkData);
    TFieldType DataType() const override { return TFieldType::ftDate; }
};

#include "Field.h"

#include "DataSet.h"
#include "DateText.h"
#include "EditMask.h"
#include "Formats.h"
#include "LocaleSettings.h"


Currency Currency::fromDouble(double value)
{
    // nearbyint rounds ties to even in the default rounding mode.
    return Currency{qint64(std::nearbyint(value * 10000.0))};
}

// ---------------------------------------------------------------- TField

TField::TField(TDataSet* dataSet, const QString& fieldName, TFieldKind kind)
    : TComponent(dataSet), m_dataSet(dataSet), m_fieldName(fieldName), m_kind(kind)
{
    if (m_dataSet)
        m_dataSet->addField(this);
}

TField::~TField()
{
    if (m_dataSet)
        m_dataSet->removeField(this);
}

int TField::Index() const
{
    return m_dataSet ? m_dataSet->fieldIndex(this) : -1;
}

bool TField::CanModify() const
{
    return !m_readOnly && !Calculated() && m_dataSet && m_dataSet->CanModify();
}

bool TField::IsValidChar(QChar) const
{
    return true;
}

QVariant TField::Value() const
{
    return m_dataSet ? m_dataSet->fieldValue(this) : QVariant();
}

void TField::SetValue(const QVariant& value)
{
    if (m_readOnly)
        throw EDatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(m_fieldName));
    if (m_dataSet)
        m_dataSet->setFieldValue(this, value);
}

double TField::AsReal() const
{
    return Value().toDouble();
}

void TField::SetAsReal(double value)
{
    SetValue(value);
}

Currency TField::AsCurrency() const
{
    return Currency::fromDouble(AsReal());
}

// ---------------------------------------------------------------- strings

TStringField::TStringField(TDataSet* dataSet, const QString& fieldName, int size, TFieldKind kind)
    : TField(dataSet, fieldName, kind)
{
    setSize(size);
}

QString TStringField::Normalized(const QString& text) const
{
    QString value = text.left(Size());
    // A cut between the two halves of a character beyond 16 bits (here or by
    // an edit's length limit) drops the first half too: a lone half would be
    // stored as replacement characters.
    if (!value.isEmpty() && value.back().isHighSurrogate())
        value.chop(1);
    while (!value.isEmpty() && value.back() == QLatin1Char(' '))
        value.chop(1);
    return value;
}

QString TStringField::AsString() const
{
    return Value().toString();
}

void TStringField::SetAsString(const QString& text)
{
    const QString value = Normalized(text);
    SetValue(value.isEmpty() ? QVariant() : QVariant(value));
}

double TStringField::AsReal() const
{
    double value = 0;
    if (!ValueIsNull() && !TextToNumber(AsString(), &value))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(AsString()));
    return value;
}

QString TStringField::DisplayText() const
{
    if (EditMask().isEmpty())
        return AsString();
    return ::EditMask(EditMask()).align(AsString(), QLatin1Char(' '));
}

// ---------------------------------------------------------------- numbers

bool TNumericField::IsValidChar(QChar c) const
{
    return c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('E')
        || c == QLatin1Char('e') || c == localeSettings().DecimalSeparator;
}

TFloatField::TFloatField(TDataSet* dataSet, const QString& fieldName, TFieldKind kind)
    : TNumericField(dataSet, fieldName, kind)
{
}

QString TFloatField::AsString() const
{
    return ValueIsNull() ? QString() : NumberToText(AsReal());
}

void TFloatField::SetAsString(const QString& text)
{
    if (text.trimmed().isEmpty()) {
        Clear();
        return;
    }
    double value = 0;
    if (!TextToNumber(text, &value))
        throw EConvertError(
            QStringLiteral("'%1' is not a valid floating point value for field '%2'").arg(text, FieldName()));
    SetValue(value);
}

QString TFloatField::DisplayText() const
{
    if (ValueIsNull())
        return QString();
    return DisplayFormat().isEmpty() ? NumberToText(AsReal()) : FormatNumber(DisplayFormat(), AsReal());
}

QString TFloatField::EditText() const
{
    return DisplayText();
}

// ---------------------------------------------------------------- dates

namespace {
const qint64 kDayZero = QDate(1899, 12, 30).toJulianDay();
}

QString TDateTimeField::AsString() const
{
    return ShortDateText(AsDate());
}

void TDateTimeField::SetAsString(const QString& text)
{
    if (text.trimmed().isEmpty()) {
        Clear();
        return;
    }
    SetAsDate(ParseShortDate(text));
}

double TDateTimeField::AsReal() const
{
    return ValueIsNull() ? 0.0 : double(AsDate().toJulianDay() - kDayZero);
}

void TDateTimeField::SetAsReal(double value)
{
    SetAsDate(QDate::fromJulianDay(kDayZero + qint64(std::floor(value))));
}

TDateField::TDateField(TDataSet* dataSet, const QString& fieldName, TFieldKind kind)
    : TDateTimeField(dataSet, fieldName, kind)
{
}

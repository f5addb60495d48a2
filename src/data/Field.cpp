#include "Field.h"

#include "DataSet.h"
#include "DateText.h"
#include "EditMask.h"
#include "Formats.h"
#include "LocaleSettings.h"

#include "Exceptions.h"

#include <limits>

namespace {

[[noreturn]] void outOfCurrencyRange(double value)
{
    throw EConvertError(QStringLiteral("%1 is out of the range of a currency amount").arg(NumberToText(value)));
}

} // namespace

// The double's exact value times 10000, rounded half to even. Multiplying in
// double first would round twice (0.12345 is a little above the tie, yet
// 0.12345 * 10000 comes out below 1234.5).
Currency Currency::fromDouble(double value)
{
    if (!std::isfinite(value))
        outOfCurrencyRange(value);
    if (value == 0.0)
        return {};
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent); // |value| = fraction * 2^exponent
    const __int128 scaled = static_cast<__int128>(std::ldexp(fraction, 53)) * 10000;
    const int shift = exponent - 53;                                 // |value| * 10000 = scaled * 2^shift
    const __int128 limit = value < 0 ? __int128(1) << 63 : std::numeric_limits<qint64>::max();
    __int128 units = 0;
    if (shift >= 0) {
        if (shift > 62 || scaled > (limit >> shift))
            outOfCurrencyRange(value);
        units = scaled << shift;
    } else if (-shift < 100) {
        const int right = -shift;
        units = scaled >> right;
        const __int128 remainder = scaled - (units << right);
        const __int128 half = __int128(1) << (right - 1);
        if (remainder > half || (remainder == half && (units & 1)))
            ++units;
    }
    if (units > limit)
        outOfCurrencyRange(value);
    return Currency{value < 0 ? qint64(-units) : qint64(units)};
}

Currency& Currency::operator+=(Currency other)
{
    qint64 sum = 0;
    if (__builtin_add_overflow(units, other.units, &sum))
        throw EConvertError(QStringLiteral("The sum is out of the range of a currency amount"));
    units = sum;
    return *this;
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

QString TDateTimeField::EditText() const
{
    return EditDateText(AsDate());
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

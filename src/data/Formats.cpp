#include "Formats.h"

#include "LocaleSettings.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// A magnitude as 0.(digits) x 10^exponent, digits without trailing zeros.
// The digits are the shortest that read back as the same double, so a value
// typed as 0.995 rounds as 0.995 and not as its binary neighbour 0.99499...
struct Decimal {
    QString digits;
    int exponent = 0;
    bool negative = false;
};

void dropTrailingZeros(Decimal& d)
{
    while (d.digits.endsWith(QLatin1Char('0')))
        d.digits.chop(1);
}

Decimal decimalOf(double value)
{
    Decimal d;
    d.negative = value < 0;
    if (value == 0)
        return d;
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific).ptr;
    const QString text = QString::fromLatin1(buffer, end - buffer); // "9.95e-01"
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    d.digits = text.left(e).remove(QLatin1Char('.'));
    d.exponent = text.mid(e + 1).toInt() + 1;
    dropTrailingZeros(d);
    return d;
}

// Keeps the first `count` digits, rounding half up; a carry out of the first
// digit gives "1" one decimal place higher. No digits are left for count < 0.
void roundTo(Decimal& d, qsizetype count)
{
    if (count < 0) {
        d.digits.clear();
        d.exponent = 0;
        return;
    }
    if (d.digits.size() <= count)
        return;
    const bool up = d.digits.at(count) >= QLatin1Char('5');
    d.digits.truncate(count);
    if (up) {
        qsizetype i = count - 1;
        for (; i >= 0 && d.digits.at(i) == QLatin1Char('9'); --i)
            d.digits[i] = QLatin1Char('0');
        if (i >= 0) {
            d.digits[i] = QChar(d.digits.at(i).unicode() + 1);
        } else {
            d.digits = QStringLiteral("1");
            ++d.exponent;
        }
    }
    dropTrailingZeros(d);
}

QString plainText(const Decimal& d, QChar separator)
{
    if (d.exponent <= 0)
        return QStringLiteral("0") + separator + QString(-d.exponent, QLatin1Char('0')) + d.digits;
    QString integer = d.digits.left(d.exponent);
    integer += QString(d.exponent - integer.size(), QLatin1Char('0'));
    const QString fraction = d.digits.mid(d.exponent);
    return fraction.isEmpty() ? integer : integer + separator + fraction;
}

QString scientificText(const Decimal& d, QChar separator)
{
    QString text = d.digits.left(1);
    if (d.digits.size() > 1)
        text += separator + d.digits.mid(1);
    return text + QLatin1Char('E') + QString::number(d.exponent - 1);
}

bool isQuote(QChar c)
{
    return c == QLatin1Char('"') || c == QLatin1Char('\'');
}

// The index of the quote that closes the one at `open`; the end of the text
// when it is never closed.
qsizetype closingQuote(const QString& text, qsizetype open)
{
    const qsizetype close = text.indexOf(text.at(open), open + 1);
    return close < 0 ? text.size() : close;
}

// Splits a display format at the ";" that stand outside quoted text.
QStringList formatSections(const QString& format)
{
    QStringList sections{QString()};
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (isQuote(format.at(i))) {
            const qsizetype close = closingQuote(format, i);
            sections.last() += format.mid(i, close - i + 1);
            i = close;
        } else if (format.at(i) == QLatin1Char(';')) {
            sections << QString();
        } else {
            sections.last() += format.at(i);
        }
    }
    return sections;
}

bool isPlaceholder(QChar c)
{
    return c == QLatin1Char('#') || c == QLatin1Char('0');
}

// What one format section asks for, counted over its digit placeholders.
struct SectionShape {
    int integerPlaces = 0;   // D: placeholders before the decimal point
    int places = 0;          // N: all placeholders
    int zeroIntegers = 0;    // R: integer places that always show a digit
    int zeroDecimals = 0;    // T: minus the decimal places that always show one
    bool grouping = false;
};

SectionShape shapeOf(const QString& section)
{
    SectionShape s;
    int beforeFirstZero = -1, throughLastZero = -1;
    bool pointSeen = false;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section.at(i);
        if (isQuote(c)) {
            i = closingQuote(section, i);
        } else if (c == QLatin1Char(',')) {
            s.grouping = true;
        } else if (c == QLatin1Char('.')) {
            if (!pointSeen)
                s.integerPlaces = s.places;
            pointSeen = true;
        } else if (isPlaceholder(c)) {
            if (c == QLatin1Char('0')) {
                if (beforeFirstZero < 0)
                    beforeFirstZero = s.places;
                throughLastZero = s.places + 1;
            }
            ++s.places;
        }
    }
    if (!pointSeen)
        s.integerPlaces = s.places;
    if (beforeFirstZero >= 0) {
        s.zeroIntegers = std::max(0, s.integerPlaces - beforeFirstZero);
        s.zeroDecimals = std::min(0, s.integerPlaces - throughLastZero);
    }
    return s;
}

// Writes a rounded number through one format section.
class SectionWriter {
public:
    SectionWriter(const SectionShape& shape, const Decimal& d)
        : m_shape(shape), m_d(d), m_position(std::max(d.exponent, shape.integerPlaces)),
          m_surplus(d.exponent - shape.integerPlaces)
    {
    }

    QString write(const QString& section, bool withMinus)
    {
        if (withMinus && m_d.negative && !m_d.digits.isEmpty())
            m_out += QLatin1Char('-');
        bool pointSeen = false;
        for (qsizetype i = 0; i < section.size(); ++i) {
            const QChar c = section.at(i);
            if (isQuote(c)) {
                const qsizetype close = closingQuote(section, i);
                m_out += section.mid(i + 1, close - i - 1);
                i = close;
            } else if (isPlaceholder(c)) {
                placeholder();
            } else if (c == QLatin1Char('.') && !pointSeen) {
                pointSeen = true;
            } else if (c != QLatin1Char(',')) {
                m_out += c;
            }
        }
        return m_out;
    }

private:
    QChar nextDigit()
    {
        return m_next < m_d.digits.size() ? m_d.digits.at(m_next++) : QChar();
    }

    void placeholder()
    {
        for (; m_surplus > 0; --m_surplus) {
            const QChar digit = nextDigit();
            put(digit.isNull() ? QLatin1Char('0') : digit);
            --m_position;
        }
        if (m_surplus < 0) {
            ++m_surplus;
            if (m_position <= m_shape.zeroIntegers)
                put(QLatin1Char('0'));
        } else if (const QChar digit = nextDigit(); !digit.isNull()) {
            put(digit);
        } else if (m_position > m_shape.zeroDecimals) {
            put(QLatin1Char('0'));
        }
        --m_position;
    }

    // Writes one digit at the current position: the decimal separator goes
    // before the first decimal place, the thousands separator after every
    // third integer place.
    void put(QChar digit)
    {
        const LocaleSettings& locale = localeSettings();
        if (m_position == 0)
            m_out += locale.DecimalSeparator;
        m_out += digit;
        if (m_shape.grouping && m_position > 1 && (m_position - 1) % 3 == 0)
            m_out += locale.ThousandSeparator;
    }

    const SectionShape& m_shape;
    const Decimal& m_d;
    int m_position;
    int m_surplus;
    qsizetype m_next = 0;
    QString m_out;
};

} // namespace

QString NumberToText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    Decimal d = decimalOf(value);
    roundTo(d, 15);
    if (d.digits.isEmpty())
        return QStringLiteral("0");
    const QChar separator = localeSettings().DecimalSeparator;
    const QString text = d.exponent >= -3 && d.exponent <= 15 ? plainText(d, separator) : scientificText(d, separator);
    return d.negative ? QLatin1Char('-') + text : text;
}

QString FormatNumber(const QString& format, double value)
{
    if (!std::isfinite(value) || std::fabs(value) >= 1e18)
        return NumberToText(value);
    const QStringList sections = formatSections(format);
    const auto usable = [&](int i) { return i < sections.size() && !sections.at(i).isEmpty(); };
    int chosen = 0;
    if (value < 0 && usable(1))
        chosen = 1;
    else if (value == 0 && usable(2))
        chosen = 2;
    if (sections.at(chosen).isEmpty())
        return NumberToText(value);
    const SectionShape shape = shapeOf(sections.at(chosen));
    Decimal d = decimalOf(value);
    roundTo(d, d.exponent + (shape.places - shape.integerPlaces));
    if (d.digits.isEmpty() && value != 0 && usable(2))
        return FormatNumber(format, 0.0); // shows as zero: the zero section
    return SectionWriter(shape, d).write(sections.at(chosen), chosen != 1);
}

namespace {

qsizetype runLength(const QString& text, qsizetype from, QChar letter)
{
    qsizetype end = from;
    while (end < text.size() && text.at(end).toLower() == letter)
        ++end;
    return end - from;
}

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QString nameAt(const QStringList& names, int index)
{
    return index >= 0 && index < names.size() ? names.at(index) : QString();
}

// The text of one run of "d", "m" or "y"; sets *used to the letters it took.
QString dateToken(QChar letter, qsizetype run, const QDate& date, qsizetype* used)
{
    const LocaleSettings& locale = localeSettings();
    *used = std::min<qsizetype>(run, 4);
    if (letter == QLatin1Char('y')) {
        if (run >= 4)
            return QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
        *used = run;
        return twoDigits(date.year() % 100);
    }
    const int day = date.dayOfWeek() % 7; // Sunday first
    switch (*used) {
    case 1: return QString::number(letter == QLatin1Char('d') ? date.day() : date.month());
    case 2: return twoDigits(letter == QLatin1Char('d') ? date.day() : date.month());
    case 3: return letter == QLatin1Char('d') ? nameAt(locale.ShortDayNames, day) : nameAt(locale.ShortMonthNames, date.month() - 1);
    default: return letter == QLatin1Char('d') ? nameAt(locale.LongDayNames, day) : nameAt(locale.LongMonthNames, date.month() - 1);
    }
}

} // namespace

QString FormatDateText(const QString& format, const QDateTime& value)
{
    const QDate date = value.date();
    if (!date.isValid())
        return QString();
    QString text;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i).toLower();
        if (c == QLatin1Char('d') || c == QLatin1Char('m') || c == QLatin1Char('y')) {
            qsizetype used = 0;
            text += dateToken(c, runLength(format, i, c), date, &used);
            i += used;
            continue;
        }
        text += c == QLatin1Char('/') ? localeSettings().DateSeparator : format.at(i);
        ++i;
    }
    return text;
}

namespace {

// Moves past ASCII digits; returns how many there were.
qsizetype skipDigits(const QString& text, qsizetype* i)
{
    const qsizetype start = *i;
    while (*i < text.size() && text.at(*i) >= QLatin1Char('0') && text.at(*i) <= QLatin1Char('9'))
        ++*i;
    return *i - start;
}

bool skipSign(const QString& text, qsizetype* i)
{
    if (*i < text.size() && (text.at(*i) == QLatin1Char('+') || text.at(*i) == QLatin1Char('-'))) {
        ++*i;
        return true;
    }
    return false;
}

} // namespace

bool TextToNumber(const QString& text, double* value)
{
    const QString t = text.trimmed();
    QString plain; // the same number in C notation
    qsizetype i = 0;
    skipSign(t, &i);
    qsizetype digits = skipDigits(t, &i);
    plain = t.left(i);
    if (i < t.size() && t.at(i) == localeSettings().DecimalSeparator) {
        plain += QLatin1Char('.');
        const qsizetype start = ++i;
        digits += skipDigits(t, &i);
        plain += t.mid(start, i - start);
    }
    if (digits == 0)
        return false;
    if (i < t.size() && t.at(i).toLower() == QLatin1Char('e')) {
        const qsizetype start = i++;
        skipSign(t, &i);
        if (skipDigits(t, &i) == 0)
            return false;
        plain += t.mid(start, i - start);
    }
    bool ok = false;
    const double result = QLocale::c().toDouble(plain, &ok);
    if (i != t.size() || !ok || !std::isfinite(result))
        return false;
    *value = result;
    return true;
}

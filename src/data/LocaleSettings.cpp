#include "LocaleSettings.h"

#include <QLocale>

namespace {

QChar firstOr(const QString& text, QChar fallback)
{
    return text.isEmpty() ? fallback : text.front();
}

// The first character of a Qt date pattern that is neither a letter, a blank
// nor a quote: the character between day, month and year.
QChar separatorOf(const QString& pattern, QChar fallback)
{
    for (const QChar c : pattern) {
        if (!c.isLetter() && !c.isSpace() && c != QLatin1Char('\''))
            return c;
    }
    return fallback;
}

// Translates a Qt date pattern ("dd.MM.yy") to day, month and year letters
// with "/" for the separator ("dd/mm/yy"). Quoted text is copied as is.
QString translatedDatePattern(const QString& pattern, QChar separator)
{
    QString result;
    bool quoted = false;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (quoted)
            result += c;
        else if (c == QLatin1Char('M'))
            result += QLatin1Char('m');
        else if (c == separator)
            result += QLatin1Char('/');
        else
            result += c;
    }
    return result;
}

QStringList dayNames(const QLocale& locale, QLocale::FormatType type)
{
    QStringList names{locale.dayName(7, type)}; // Qt counts Monday as 1
    for (int day = 1; day <= 6; ++day)
        names << locale.dayName(day, type);
    return names;
}

QStringList monthNames(const QLocale& locale, QLocale::FormatType type)
{
    QStringList names;
    for (int month = 1; month <= 12; ++month)
        names << locale.monthName(month, type);
    return names;
}

LocaleSettings& current()
{
    static LocaleSettings settings = LocaleSettings::fromLocale(QLocale::system());
    return settings;
}

} // namespace

LocaleSettings LocaleSettings::fromLocale(const QLocale& locale)
{
    LocaleSettings s;
    const QLocale names = locale.language() == QLocale::C ? QLocale::c() : locale;
    s.ShortDayNames = dayNames(names, QLocale::ShortFormat);
    s.LongDayNames = dayNames(names, QLocale::LongFormat);
    s.ShortMonthNames = monthNames(names, QLocale::ShortFormat);
    s.LongMonthNames = monthNames(names, QLocale::LongFormat);
    if (locale.language() == QLocale::C)
        return s; // the C locale's own patterns are not a user's choice
    s.DecimalSeparator = firstOr(locale.decimalPoint(), s.DecimalSeparator);
    s.ThousandSeparator = firstOr(locale.groupSeparator(), s.ThousandSeparator);
    const QString pattern = locale.dateFormat(QLocale::ShortFormat);
    s.DateSeparator = separatorOf(pattern, s.DateSeparator);
    if (!pattern.isEmpty())
        s.ShortDateFormat = translatedDatePattern(pattern, s.DateSeparator);
    s.TimeSeparator = separatorOf(locale.timeFormat(QLocale::ShortFormat), s.TimeSeparator);
    return s;
}

const LocaleSettings& localeSettings()
{
    return current();
}

void setLocaleSettings(const LocaleSettings& settings)
{
    current() = settings;
}

ScopedLocaleSettings::ScopedLocaleSettings(const LocaleSettings& settings) : m_previous(localeSettings())
{
    setLocaleSettings(settings);
}

ScopedLocaleSettings::~ScopedLocaleSettings()
{
    setLocaleSettings(m_previous);
}

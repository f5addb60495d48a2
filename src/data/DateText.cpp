#include "DateText.h"

#include "Exceptions.h"
#include "Formats.h"
#include "LocaleSettings.h"

#include <QStringList>

namespace {

// The order of day, month and year in the short date format, as "dmy",
// "mdy" or "ymd"; a letter the format lacks keeps its place in "mdy".
QString fieldOrder()
{
    QString order;
    for (const QChar c : localeSettings().ShortDateFormat.toLower()) {
        if ((c == QLatin1Char('d') || c == QLatin1Char('m') || c == QLatin1Char('y')) && !order.contains(c))
            order += c;
    }
    for (const QChar c : QStringLiteral("mdy")) {
        if (!order.contains(c))
            order += c;
    }
    return order;
}

// A number of one to four ASCII digits with blanks around it; -1 otherwise.
int numberOf(const QString& part, int* digits)
{
    const QString t = part.trimmed();
    *digits = int(t.size());
    if (t.isEmpty() || t.size() > 4)
        return -1;
    for (const QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
    }
    return t.toInt();
}

// A year of one or two digits lies in the hundred years that start 50 years ago.
int fullYear(int year, int digits)
{
    if (digits > 2)
        return year;
    const int first = QDate::currentDate().year() - 50;
    const int candidate = first - first % 100 + year;
    return candidate < first ? candidate + 100 : candidate;
}

QDate dateFrom(const QString& text)
{
    const QStringList parts = text.split(localeSettings().DateSeparator);
    QString order = fieldOrder();
    if (parts.size() == 2)
        order.remove(QLatin1Char('y'));
    else if (parts.size() != 3)
        return QDate();
    int day = 0, month = 0, year = QDate::currentDate().year();
    for (int i = 0; i < parts.size(); ++i) {
        int digits = 0;
        const int n = numberOf(parts.at(i), &digits);
        if (n < 0)
            return QDate();
        if (order.at(i) == QLatin1Char('d'))
            day = n;
        else if (order.at(i) == QLatin1Char('m'))
            month = n;
        else
            year = fullYear(n, digits);
    }
    return QDate(year, month, day);
}

} // namespace

QString ShortDateText(const QDate& date)
{
    if (date.isNull())
        return QString();
    return FormatDateText(localeSettings().ShortDateFormat, QDateTime(date, QTime(0, 0), Qt::UTC));
}

QString EditDateText(const QDate& date)
{
    if (date.isNull())
        return QString();
    QStringList parts;
    for (const QChar c : fieldOrder())
        parts.append(c == QLatin1Char('y') ? QStringLiteral("yyyy") : QString(2, c));
    return FormatDateText(parts.join(QLatin1Char('/')), QDateTime(date, QTime(0, 0), Qt::UTC));
}

QString ShortDateQtPattern()
{
    const LocaleSettings& settings = localeSettings();
    QString format = settings.ShortDateFormat;
    format.replace(QLatin1Char('m'), QLatin1Char('M'));
    format.replace(QLatin1Char('/'), settings.DateSeparator);
    return format;
}

QDate ParseShortDate(const QString& text)
{
    const QDate date = dateFrom(text);
    if (!date.isValid())
        throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(text));
    return date;
}

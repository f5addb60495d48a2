#include "reports/ui/TDateTimePicker.h"

#include "data/DateText.h"
#include "data/LocaleSettings.h"

namespace {

// The locale's short date pattern in Qt's letters: months are upper case,
// "/" is the date separator.
QString shortDatePattern()
{
    const LocaleSettings& settings = localeSettings();
    QString format = settings.ShortDateFormat;
    format.replace(QLatin1Char('m'), QLatin1Char('M'));
    format.replace(QLatin1Char('/'), settings.DateSeparator);
    return format;
}

} // namespace

TDateTimePicker::TDateTimePicker(QWidget* parent, const QRect& bounds) : QDateTimeEdit(parent)
{
    setGeometry(bounds);
    setCalendarPopup(true);
    setDisplayFormat(shortDatePattern());
}

void TDateTimePicker::SetLimits(const QDate& minDate, const QDate& maxDate)
{
    m_minDate = minDate;
    m_maxDate = maxDate;
    setDateTimeRange(QDateTime(minDate, QTime(0, 0)), QDateTime(maxDate, QTime(23, 59, 59, 999)));
}

void TDateTimePicker::SetDate(const QDate& value)
{
    if (m_maxDate.isValid() && value > m_maxDate)
        throw EDateTimeError(QStringLiteral("Date exceeds maximum of %1").arg(ShortDateText(m_maxDate)));
    if (m_minDate.isValid() && value < m_minDate)
        throw EDateTimeError(QStringLiteral("Date is less than minimum of %1").arg(ShortDateText(m_minDate)));
    setDateTime(QDateTime(value, time()));
}

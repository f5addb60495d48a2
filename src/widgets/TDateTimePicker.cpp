#include "widgets/TDateTimePicker.h"

TDateTimePicker::TDateTimePicker(QWidget* parent, const QRect& bounds, const QString& displayPattern,
                                 DateText dateText)
    : QDateTimeEdit(parent), m_dateText(std::move(dateText))
{
    setGeometry(bounds);
    setCalendarPopup(true);
    setDisplayFormat(displayPattern);
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
        throw EDateTimeError(QStringLiteral("Date exceeds maximum of %1").arg(m_dateText(m_maxDate)));
    if (m_minDate.isValid() && value < m_minDate)
        throw EDateTimeError(QStringLiteral("Date is less than minimum of %1").arg(m_dateText(m_minDate)));
    setDateTime(QDateTime(value, time()));
}

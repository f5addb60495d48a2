#pragma once

#include "data/Exceptions.h"

#include <QDateTimeEdit>

// A date outside a picker's limits.
class EDateTimeError : public Exception {
public:
    using Exception::Exception;
};

// A date picker with a drop-down calendar. It stores a date and time; its
// limits are whole days, and the date shows in the locale's short date format.
class TDateTimePicker : public QDateTimeEdit {
    Q_OBJECT
public:
    TDateTimePicker(QWidget* parent, const QRect& bounds);

    QDate MinDate() const { return m_minDate; }
    QDate MaxDate() const { return m_maxDate; }
    void SetLimits(const QDate& minDate, const QDate& maxDate);
    // The stored value, set without checking the limits.
    QDateTime DateTime() const { return dateTime(); }
    void SetDateTime(const QDateTime& value) { setDateTime(value); }
    QDate Date() const { return date(); }
    // Replaces the date part and keeps the time of day. A date beyond a limit
    // raises EDateTimeError naming that limit and keeps the stored value.
    void SetDate(const QDate& value);

protected:
    // Tab leaves the picker instead of moving between day, month and year.
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }

private:
    QDate m_minDate;
    QDate m_maxDate;
};

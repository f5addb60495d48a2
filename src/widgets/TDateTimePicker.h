#pragma once

#include "errors/Exception.h"

#include <QDateTimeEdit>

#include <functional>

// A date outside a picker's limits.
class EDateTimeError : public Exception {
public:
    using Exception::Exception;
};

// A date picker with a drop-down calendar. It stores a date and time; its
// limits are whole days. The owner gives the display pattern (Qt's letters)
// and the text of a date in the limit errors, both from the locale's short
// date format.
class TDateTimePicker : public QDateTimeEdit {
    Q_OBJECT
public:
    using DateText = std::function<QString(const QDate&)>;

    TDateTimePicker(QWidget* parent, const QRect& bounds, const QString& displayPattern, DateText dateText);

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
    DateText m_dateText;
    QDate m_minDate;
    QDate m_maxDate;
};

#pragma once

#include <QDate>
#include <QString>

// A date field's text: the locale's short date format, both for display and
// for editing. A null date gives the empty text.
QString ShortDateText(const QDate& date);
// A date field's edit text: the short date format's order and separator,
// with day and month of two digits and the year of four, so that it fills a
// date mask "99/99/0000" and a change of the day alone reads back as the same
// year. A null date gives the empty text.
QString EditDateText(const QDate& date);
// The locale's short date format in Qt's pattern letters (months upper case,
// "/" replaced by the date separator), for the date picker.
QString ShortDateQtPattern();

// Reads a date typed in the order of the locale's short date format (day,
// month and year in the order its letters come): numbers separated by the date
// separator, blanks around each number allowed (a masked edit gives " 5/ 1/2004").
// Two numbers are day and month of the current year. A year of one or two
// digits is taken in the hundred years from 50 years ago to 49 years ahead.
// Raises EConvertError "'<text>' is not a valid date" for anything else,
// the empty text included (callers that store empty text as null check first).
QDate ParseShortDate(const QString& text);

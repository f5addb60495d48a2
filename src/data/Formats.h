#pragma once

#include <QDateTime>
#include <QString>

// Text of numbers and dates. Every function reads the locale settings in force
// (LocaleSettings.h): decimal and thousands separators, date separator, names.

// Formats a number by a display format of up to three sections separated by ";"
// (positive; negative; zero). In a section "#" and "0" are digit placeholders
// ("0" always shows a digit, "#" only a significant one), the first "." marks
// the decimal point, a "," anywhere asks for thousands grouping, text in single
// or double quotes and any other character is copied. The value is rounded half
// up at the last decimal placeholder. Values of 10^18 and above, and an empty
// format, fall back to NumberToText. "###.##": 27500.5 -> "27500.5", 0 -> "".
QString FormatNumber(const QString& format, double value);

// The general number text: rounded to 15 significant digits, trailing zeros
// dropped, plain for values from 0.0001 up to 15 integer digits, scientific
// ("1E20", "1E-5") otherwise. Zero gives "0". No thousands separator.
QString NumberToText(double value);

// Formats a date by a pattern: "d"/"dd" day, "ddd"/"dddd" short/long day name,
// "m"/"mm" month, "mmm"/"mmmm" short/long month name, "yy"/"yyyy" year (letters
// in either case), "/" the date separator; any other character is copied.
// "dddd, dd mmmm yyyy" on 5 January 2004 -> "Monday, 05 January 2004".
QString FormatDateText(const QString& format, const QDateTime& value);

// Reads a number written with the locale's decimal separator: optional blanks
// around it, an optional sign, digits with at most one separator, an optional
// exponent ("E" or "e", optional sign, digits). No thousands separators.
// Returns false (and leaves *value alone) for anything else, empty text included.
bool TextToNumber(const QString& text, double* value);

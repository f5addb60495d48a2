// The date parser with any text, and date text with any pattern. The input is
// a locale choice, then UTF-16 text used both as typed date and as pattern.

#include "FuzzSupport.h"
#include "data/DateText.h"
#include "data/Exceptions.h"
#include "data/Formats.h"

#include <QLocale>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    LocaleSettings settings = LocaleSettings::fromLocale(QLocale::c());
    const LocaleSettings variant = fuzzLocale(data[0]);
    settings.DateSeparator = variant.DateSeparator;
    settings.ShortDateFormat = variant.ShortDateFormat;
    const ScopedLocaleSettings locale(settings);
    const QString text = fuzzText(data + 1, size - 1);
    try {
        const QDate date = ParseShortDate(text);
        // With four-digit years a date that was read writes and reads back
        // as itself (two-digit years keep only their hundred-year window).
        if (settings.ShortDateFormat.contains(QLatin1String("yyyy")) && ParseShortDate(ShortDateText(date)) != date)
            std::abort();
    } catch (const EConvertError&) {
    }
    FormatDateText(text, QDateTime(QDate(2004, 1, 5), QTime(13, 45), Qt::UTC));
    FormatDateText(text, QDateTime());
    return 0;
}

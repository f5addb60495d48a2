#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

class QLocale;

// The user's regional settings that number and date text follow. They are read
// once, on first use, from the system locale; tests substitute their own.
struct LocaleSettings {
    QChar DecimalSeparator = QLatin1Char('.');
    QChar ThousandSeparator = QLatin1Char(',');
    QChar DateSeparator = QLatin1Char('/');
    QChar TimeSeparator = QLatin1Char(':');
    // Short date pattern in day, month and year letters ("d", "dd", "m", "mm",
    // "yy", "yyyy"); "/" stands for DateSeparator.
    QString ShortDateFormat = QStringLiteral("m/d/yy");
    // Day names Sunday first (7), month names January first (12); empty in a
    // default-constructed value (fromLocale(QLocale::c()) gives English ones).
    QStringList ShortDayNames;
    QStringList LongDayNames;
    QStringList ShortMonthNames;
    QStringList LongMonthNames;

    // Settings taken from a locale. The C/POSIX locale gives the defaults above
    // (with English names), as does any value the locale leaves empty.
    static LocaleSettings fromLocale(const QLocale& locale);
};

// The settings in force: read from QLocale::system() on first use.
const LocaleSettings& localeSettings();
// Replaces the settings in force (tests, or a locale chosen at start-up).
void setLocaleSettings(const LocaleSettings& settings);

// Puts settings in force for one scope and restores the previous ones after it.
class ScopedLocaleSettings {
public:
    explicit ScopedLocaleSettings(const LocaleSettings& settings);
    ~ScopedLocaleSettings();
    ScopedLocaleSettings(const ScopedLocaleSettings&) = delete;
    ScopedLocaleSettings& operator=(const ScopedLocaleSettings&) = delete;

private:
    LocaleSettings m_previous;
};

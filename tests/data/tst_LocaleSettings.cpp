#include "data/LocaleSettings.h"

#include <QtTest>

// What the settings take from a locale, and the defaults of the C locale.
class TestLocaleSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cLocaleGivesTheDefaults();
    void takesSeparatorsPatternAndNames();
    void substitutedSettingsAreRestored();
};

void TestLocaleSettings::cLocaleGivesTheDefaults()
{
    const LocaleSettings s = LocaleSettings::fromLocale(QLocale::c());
    QCOMPARE(s.DecimalSeparator, QLatin1Char('.'));
    QCOMPARE(s.ThousandSeparator, QLatin1Char(','));
    QCOMPARE(s.DateSeparator, QLatin1Char('/'));
    QCOMPARE(s.ShortDateFormat, QStringLiteral("m/d/yy"));
    QCOMPARE(s.LongDayNames.first(), QStringLiteral("Sunday"));
    QCOMPARE(s.LongDayNames.size(), 7);
    QCOMPARE(s.LongMonthNames.size(), 12);
    QCOMPARE(s.ShortMonthNames.at(11), QStringLiteral("Dec"));
    // the tests run under LC_ALL=C.UTF-8, the C locale
    QCOMPARE(localeSettings().ShortDateFormat, QStringLiteral("m/d/yy"));
}

void TestLocaleSettings::takesSeparatorsPatternAndNames()
{
    const LocaleSettings id = LocaleSettings::fromLocale(QLocale(QLocale::Indonesian, QLocale::Indonesia));
    QCOMPARE(id.DecimalSeparator, QLatin1Char(','));
    QCOMPARE(id.ThousandSeparator, QLatin1Char('.'));
    QCOMPARE(id.DateSeparator, QLatin1Char('/'));
    QCOMPARE(id.ShortDateFormat, QStringLiteral("dd/mm/yy"));
    QCOMPARE(id.LongDayNames.at(1), QStringLiteral("Senin"));
    QCOMPARE(id.LongMonthNames.at(0), QStringLiteral("Januari"));

    const LocaleSettings de = LocaleSettings::fromLocale(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(de.DateSeparator, QLatin1Char('.'));
    QCOMPARE(de.ShortDateFormat, QStringLiteral("dd/mm/yy"));

    const LocaleSettings us = LocaleSettings::fromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(us.ShortDateFormat, QStringLiteral("m/d/yy"));
}

void TestLocaleSettings::substitutedSettingsAreRestored()
{
    const QChar before = localeSettings().DecimalSeparator;
    {
        LocaleSettings s = localeSettings();
        s.DecimalSeparator = QLatin1Char('#');
        ScopedLocaleSettings scoped(s);
        QCOMPARE(localeSettings().DecimalSeparator, QLatin1Char('#'));
    }
    QCOMPARE(localeSettings().DecimalSeparator, before);
}

QTEST_GUILESS_MAIN(TestLocaleSettings)
#include "tst_LocaleSettings.moc"

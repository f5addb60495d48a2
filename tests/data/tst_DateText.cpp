#include "data/DateText.h"
#include "data/Exceptions.h"
#include "data/LocaleSettings.h"

#include <QtTest>

// Date field text and date entry in the order of the short date format.
class TestDateText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_locale.emplace(LocaleSettings::fromLocale(QLocale::c())); }
    void cleanup() { m_locale.reset(); }

    void monthDayYear();
    void dayMonthYear();
    void twoDigitYearsAndMissingYear();
    void invalidDatesRaise_data();
    void invalidDatesRaise();

private:
    static void useFormat(const QString& format, QChar separator);
    std::optional<ScopedLocaleSettings> m_locale;
};

void TestDateText::useFormat(const QString& format, QChar separator)
{
    LocaleSettings settings = localeSettings();
    settings.ShortDateFormat = format;
    settings.DateSeparator = separator;
    setLocaleSettings(settings); // cleanup() puts the previous settings back
}

void TestDateText::monthDayYear()
{
    QCOMPARE(ShortDateText(QDate(2004, 1, 5)), QStringLiteral("1/5/04"));
    QCOMPARE(ShortDateText(QDate()), QString());
    QCOMPARE(ParseShortDate(QStringLiteral("1/5/2004")), QDate(2004, 1, 5));
    QCOMPARE(ParseShortDate(QStringLiteral("12/31/1999")), QDate(1999, 12, 31));
}

void TestDateText::dayMonthYear()
{
    useFormat(QStringLiteral("dd/mm/yyyy"), QLatin1Char('-'));
    QCOMPARE(ShortDateText(QDate(2004, 1, 5)), QStringLiteral("05-01-2004"));
    QCOMPARE(ParseShortDate(QStringLiteral("05-01-2004")), QDate(2004, 1, 5));
    // what the date mask gives for a day and month typed with one digit
    QCOMPARE(ParseShortDate(QStringLiteral(" 5- 1-2004")), QDate(2004, 1, 5));
    QCOMPARE(ParseShortDate(QStringLiteral("29-02-2000")), QDate(2000, 2, 29));
    useFormat(QStringLiteral("yyyy/mm/dd"), QLatin1Char('/'));
    QCOMPARE(ParseShortDate(QStringLiteral("2004/01/05")), QDate(2004, 1, 5));
}

void TestDateText::twoDigitYearsAndMissingYear()
{
    const int now = QDate::currentDate().year();
    const int recent = (now - 1) % 100, soon = (now + 10) % 100, long_ago = (now - 60) % 100;
    QCOMPARE(ParseShortDate(QStringLiteral("1/5/%1").arg(recent)).year(), now - 1);
    QCOMPARE(ParseShortDate(QStringLiteral("1/5/%1").arg(soon)).year(), now + 10);
    QCOMPARE(ParseShortDate(QStringLiteral("1/5/%1").arg(long_ago)).year(), now + 40);
    QCOMPARE(ParseShortDate(QStringLiteral("3/4")), QDate(now, 3, 4));
}

void TestDateText::invalidDatesRaise_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("blank mask") << "  /  /    ";
    QTest::newRow("day 31 in February") << "2/31/2004";
    QTest::newRow("month 13") << "13/1/2004";
    QTest::newRow("letters") << "1/x/2004";
    QTest::newRow("too many parts") << "1/5/2004/1";
    QTest::newRow("one number") << "2004";
    QTest::newRow("other separator") << "1-5-2004";
    QTest::newRow("inner blank") << "1/5/20 04";
    QTest::newRow("five digit year") << "1/5/20040";
}

void TestDateText::invalidDatesRaise()
{
    QFETCH(QString, text);
    try {
        ParseShortDate(text);
        QFAIL("no error");
    } catch (const EConvertError& e) {
        QCOMPARE(e.message(), QStringLiteral("'%1' is not a valid date").arg(text));
    }
}

QTEST_GUILESS_MAIN(TestDateText)
#include "tst_DateText.moc"

#include "data/Formats.h"
#include "data/LocaleSettings.h"

#include <QtTest>

#include <cmath>

// Number and date text, with "." and "," swapped in some cases so that the
// separators are seen to come from the locale settings.
class TestFormats : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_locale.emplace(LocaleSettings::fromLocale(QLocale::c())); }
    void cleanup() { m_locale.reset(); }

    void displayFormatOfTheAmounts_data();
    void displayFormatOfTheAmounts();
    void displayFormats_data();
    void displayFormats();
    void hugeValuesFallBackToTheGeneralText();
    void generalText_data();
    void generalText();
    void separatorsFollowTheLocale();
    void longAndShortDates();
    void readsNumbersWithTheLocaleSeparator();

private:
    std::optional<ScopedLocaleSettings> m_locale;
};

void TestFormats::displayFormatOfTheAmounts_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("integer") << 18000.0 << "18000";
    QTest::newRow("one decimal") << 27500.5 << "27500.5";
    QTest::newRow("rounded") << 123.456 << "123.46";
    QTest::newRow("no leading zero") << 0.125 << ".13";
    QTest::newRow("small") << 0.05 << ".05";
    QTest::newRow("zero") << 0.0 << "";
    QTest::newRow("below a thousandth") << 0.0004 << "";
    QTest::newRow("rounds to zero") << 0.004 << ".00";
    QTest::newRow("negative") << -5.0 << "-5";
    QTest::newRow("negative rounding to nothing") << -0.0004 << "";
    QTest::newRow("no grouping") << 1234567.0 << "1234567";
}

void TestFormats::displayFormatOfTheAmounts()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(FormatNumber(QStringLiteral("###.##"), value), text);
}

// Rounding that carries, zero placeholders, grouping, quoted text, sections.
void TestFormats::displayFormats_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("into the units") << "###.##" << 0.995 << "1";
    QTest::newRow("into the hundreds") << "###.##" << 99.995 << "100";
    QTest::newRow("into a new digit") << "###.##" << 999.999 << "1000";
    QTest::newRow("a half of the last place") << "###.##" << 0.005 << ".01";
    QTest::newRow("kept zeros") << "0.00" << 0.995 << "1.00";
    QTest::newRow("negative carry") << "0.00" << -9.999 << "-10.00";
    QTest::newRow("integer format") << "0" << 2.5 << "3";
    QTest::newRow("negative to zero") << "0.00" << -0.001 << "0.00";
    QTest::newRow("carry into a new group") << "#,##0.00" << 999.995 << "1,000.00";
    QTest::newRow("negative half") << "0.00" << -0.005 << "-0.01";
    QTest::newRow("near 10^15") << "0.00" << 999999999999999.9 << "999999999999999.90";
    QTest::newRow("17 digits below 10^18") << "#,##0" << 123456789012345678.0 << "123,456,789,012,345,680";

    QTest::newRow("0.00 of zero") << "0.00" << 0.0 << "0.00";
    QTest::newRow("0.00 below one") << "0.00" << 0.5 << "0.50";
    QTest::newRow("grouped") << "#,##0.00" << 1234567.891 << "1,234,567.89";
    QTest::newRow("grouped small") << "#,##0.00" << 12.0 << "12.00";
    QTest::newRow("grouped zero") << "#,##0.00" << 0.0 << "0.00";
    QTest::newRow("grouped negative") << "#,##0.00" << -1234.5 << "-1,234.50";
    QTest::newRow("padded with zeros") << "000,000" << 5.0 << "000,005";
    QTest::newRow("quoted text") << "\"Rp \"#,##0' ;-)'" << 15000.0 << "Rp 15,000 ;-)";
    QTest::newRow("copied characters") << "[0.0]" << 3.14 << "[3.1]";
    QTest::newRow("decimals only") << ".00" << 0.5 << ".50";
    QTest::newRow("optional decimals") << "0.0#" << 2.0 << "2.0";

    QTest::newRow("two sections, negative") << "0.00;(0.00)" << -2.5 << "(2.50)";
    QTest::newRow("two sections, positive") << "0.00;(0.00)" << 2.5 << "2.50";
    QTest::newRow("two sections, zero") << "0.00;(0.00)" << 0.0 << "0.00";
    QTest::newRow("three sections, zero") << "0.00;(0.00);'nihil'" << 0.0 << "nihil";
    QTest::newRow("three sections, rounds to zero") << "0.00;(0.00);'nihil'" << -0.001 << "nihil";
    QTest::newRow("three sections, negative") << "#;-#;'-'" << -7.0 << "-7";
    QTest::newRow("empty negative section") << "0.0;;'nol'" << -1.25 << "-1.3";
    QTest::newRow("semicolon in quotes") << "0' ; '" << 4.0 << "4 ; ";
}

void TestFormats::displayFormats()
{
    QFETCH(QString, format);
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(FormatNumber(format, value), text);
}

void TestFormats::hugeValuesFallBackToTheGeneralText()
{
    QCOMPARE(FormatNumber(QStringLiteral("###.##"), 1e18), QStringLiteral("1E18"));
    QCOMPARE(FormatNumber(QStringLiteral("###.##"), -2.5e19), QStringLiteral("-2.5E19"));
    QCOMPARE(FormatNumber(QString(), 27500.5), QStringLiteral("27500.5"));
    QCOMPARE(FormatNumber(QStringLiteral("###.##"), std::nan("")), QStringLiteral("NAN"));
}

void TestFormats::generalText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("integer") << 90000.0 << "90000";
    QTest::newRow("decimal") << 27500.5 << "27500.5";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("ten thousandth") << 0.0001 << "0.0001";
    QTest::newRow("hundred thousandth") << 0.00001 << "1E-5";
    QTest::newRow("10^20") << 1e20 << "1E20";
    QTest::newRow("15 integer digits") << 999999999999999.0 << "999999999999999";
    QTest::newRow("16 integer digits") << 1e15 << "1E15";
    QTest::newRow("rounded to 15 digits") << 0.1 + 0.2 << "0.3";
    QTest::newRow("carry at 15 digits") << 9.9999999999999995 << "10";
    QTest::newRow("scientific with decimals") << -1.25e-7 << "-1.25E-7";
    QTest::newRow("currency amount") << 1234.5678 << "1234.5678";
}

void TestFormats::generalText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(NumberToText(value), text);
}

void TestFormats::separatorsFollowTheLocale()
{
    LocaleSettings settings = localeSettings();
    settings.DecimalSeparator = QLatin1Char(',');
    settings.ThousandSeparator = QLatin1Char('.');
    ScopedLocaleSettings swapped(settings);
    QCOMPARE(FormatNumber(QStringLiteral("###.##"), 27500.5), QStringLiteral("27500,5"));
    QCOMPARE(FormatNumber(QStringLiteral("###.##"), 0.125), QStringLiteral(",13"));
    QCOMPARE(FormatNumber(QStringLiteral("#,##0.00"), 1234567.891), QStringLiteral("1.234.567,89"));
    QCOMPARE(NumberToText(27500.5), QStringLiteral("27500,5"));
    QCOMPARE(NumberToText(0.0001), QStringLiteral("0,0001"));
    QCOMPARE(NumberToText(1.5e20), QStringLiteral("1,5E20"));
}

void TestFormats::longAndShortDates()
{
    const QDateTime monday(QDate(2004, 1, 5), QTime(13, 45));
    QCOMPARE(FormatDateText(QStringLiteral("dddd, dd mmmm yyyy"), monday), QStringLiteral("Monday, 05 January 2004"));
    QCOMPARE(FormatDateText(QStringLiteral("DDD d MMM YY"), monday), QStringLiteral("Mon 5 Jan 04"));
    QCOMPARE(FormatDateText(QStringLiteral("m/d/yy"), monday), QStringLiteral("1/5/04"));
    QCOMPARE(FormatDateText(QStringLiteral("yyyy-mm-dd"), QDateTime(QDate(987, 12, 31), QTime(0, 0))),
             QStringLiteral("0987-12-31"));
    QCOMPARE(FormatDateText(QStringLiteral("dddd"), QDateTime()), QString());

    LocaleSettings indonesian = LocaleSettings::fromLocale(QLocale(QLocale::Indonesian, QLocale::Indonesia));
    indonesian.DateSeparator = QLatin1Char('-');
    ScopedLocaleSettings swapped(indonesian);
    QCOMPARE(FormatDateText(QStringLiteral("dddd, dd mmmm yyyy"), monday), QStringLiteral("Senin, 05 Januari 2004"));
    QCOMPARE(FormatDateText(QStringLiteral("dd/mm/yyyy"), QDateTime(QDate(2026, 3, 1), QTime(0, 0))),
             QStringLiteral("01-03-2026"));
}

void TestFormats::readsNumbersWithTheLocaleSeparator()
{
    double value = -1;
    QVERIFY(TextToNumber(QStringLiteral(" 27500.5 "), &value));
    QCOMPARE(value, 27500.5);
    QVERIFY(TextToNumber(QStringLiteral("-1.5e3"), &value));
    QCOMPARE(value, -1500.0);
    QVERIFY(TextToNumber(QStringLiteral(".5"), &value));
    QCOMPARE(value, 0.5);
    for (const char* bad : {"", " ", "12a", "1,5", "1.2.3", "e5", "1e", "+", "1e999", "1 000"})
        QVERIFY2(!TextToNumber(QString::fromLatin1(bad), &value), bad);
    QCOMPARE(value, 0.5);

    LocaleSettings settings = localeSettings();
    settings.DecimalSeparator = QLatin1Char(',');
    ScopedLocaleSettings comma(settings);
    QVERIFY(TextToNumber(QStringLiteral("1,25"), &value));
    QCOMPARE(value, 1.25);
    QVERIFY(!TextToNumber(QStringLiteral("1.25"), &value));
}

QTEST_GUILESS_MAIN(TestFormats)
#include "tst_Formats.moc"

#include "data/EditMask.h"
#include "data/Exceptions.h"
#include "data/LocaleSettings.h"

#include <QtTest>

// The three masks of the program, and the mask language around them.
namespace {
const QString code = QStringLiteral("P\\000;1;_");
const QString phone = QStringLiteral("!\\(999\\)000-0000;1;_");
const QString date = QStringLiteral("!99/99/0000;1;_");
} // namespace

class TestMasks : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_locale.emplace(LocaleSettings::fromLocale(QLocale::c())); }
    void cleanup() { m_locale.reset(); }

    void parsesTheProgramsMasks();
    void parsesFlagsDirectivesAndClasses();
    void alignsTexts_data();
    void alignsTexts();
    void readsText_data();
    void readsText();
    void validatesRequiredPositions();
    void dateSeparatorComesFromTheLocale();
    void literalsNotSaved();
    void displayTextOfMaskedStrings();

private:
    std::optional<ScopedLocaleSettings> m_locale;
};

void TestMasks::parsesTheProgramsMasks()
{
    const EditMask c(code), p(phone), d(date);
    QCOMPARE(c.length(), 4);
    QCOMPARE(p.length(), 13);
    QCOMPARE(d.length(), 10);
    QCOMPARE(c.emptyText(), QStringLiteral("P0__"));
    QCOMPARE(p.emptyText(), QStringLiteral("(___)___-____"));
    QCOMPARE(d.emptyText(), QStringLiteral("__/__/____"));
    QVERIFY(c.isLiteral(1));
    QVERIFY(c.at(2).required && !p.at(1).required && p.at(5).required);
    QVERIFY(!c.alignsRight() && p.alignsRight() && d.alignsRight());
    QVERIFY(c.savesLiterals());
    QCOMPARE(c.blank(), QLatin1Char('_'));
}

void TestMasks::parsesFlagsDirectivesAndClasses()
{
    // ";" counts only among the last four characters: here it is a literal.
    const EditMask early(QStringLiteral("0;00000"));
    QCOMPARE(early.length(), 7);
    QVERIFY(early.isLiteral(1));
    const EditMask flags(QStringLiteral("00;0;*"));
    QVERIFY(!flags.savesLiterals());
    QCOMPARE(flags.blank(), QLatin1Char('*'));
    QCOMPARE(EditMask(QStringLiteral("00;;")).blank(), QLatin1Char('_'));
    QVERIFY(EditMask(QStringLiteral("00")).savesLiterals());
    QVERIFY(EditMask(QString()).isEmpty());

    const EditMask m(QStringLiteral(">L<l<>a#Cc:"));
    QCOMPARE(m.length(), 7);
    QCOMPARE(m.accept(0, QLatin1Char('x')), QLatin1Char('X'));
    QCOMPARE(m.accept(1, QLatin1Char('Q')), QLatin1Char('q'));
    QCOMPARE(m.accept(2, QLatin1Char('Q')), QLatin1Char('Q'));
    QVERIFY(m.accept(0, QLatin1Char('1')).isNull());
    QCOMPARE(m.accept(2, QLatin1Char('7')), QLatin1Char('7'));
    QVERIFY(m.accept(2, QLatin1Char('-')).isNull());
    for (const char c : {'5', '+', '-', ' '})
        QCOMPARE(m.accept(3, QLatin1Char(c)), QLatin1Char(c));
    QVERIFY(m.accept(3, QLatin1Char('x')).isNull());
    QCOMPARE(m.accept(4, QLatin1Char('%')), QLatin1Char('%'));
    QVERIFY(m.isLiteral(6));
    QCOMPARE(m.at(6).literal, QLatin1Char(':'));
    QVERIFY(m.accept(6, QLatin1Char(':')).isNull());

    const EditMask c(code);
    QCOMPARE(c.nextEditable(0), 2);
    QCOMPARE(c.previousEditable(2), -1);
    QCOMPARE(c.nextLiteral(2), -1);
    QCOMPARE(EditMask(phone).nextLiteral(1), 4);
}

void TestMasks::alignsTexts_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("aligned");
    QTest::newRow("code, literals only") << code << "P0" << "P0__";
    QTest::newRow("code, full") << code << "P012" << "P012";
    QTest::newRow("code, digit zero") << code << "P001" << "P001";
    QTest::newRow("code, too long") << code << "P01234" << "P012";
    QTest::newRow("code, spaces") << code << "P01 " << "P01_";
    QTest::newRow("code, empty") << code << "" << "P0__";
    QTest::newRow("phone, full") << phone << "(021)555-1234" << "(021)555-1234";
    QTest::newRow("phone, short area") << phone << "(21)555-1234" << "(_21)555-1234";
    QTest::newRow("phone, no area") << phone << "(   )555-1234" << "(___)555-1234";
    QTest::newRow("phone, long section keeps its end") << phone << "(0021)555-1234" << "(021)555-1234";
    QTest::newRow("date, full") << date << "05/01/2004" << "05/01/2004";
    QTest::newRow("date, short pattern") << date << "1/5/04" << "_1/_5/__04";
    QTest::newRow("date, missing separators") << date << "2004" << "04/__/____";
}

void TestMasks::alignsTexts()
{
    QFETCH(QString, mask);
    QFETCH(QString, text);
    QFETCH(QString, aligned);
    QCOMPARE(EditMask(mask).align(text), aligned);
}

void TestMasks::readsText_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("editText");
    QTest::addColumn<QString>("text");
    QTest::newRow("code, empty") << code << "P0__" << "P0  ";
    QTest::newRow("code, one digit") << code << "P01_" << "P01 ";
    QTest::newRow("code, two digits") << code << "P012" << "P012";
    QTest::newRow("code, second digit only") << code << "P0_2" << "P0 2";
    QTest::newRow("phone, no area") << phone << "(___)555-1234" << "(   )555-1234";
    QTest::newRow("phone, full") << phone << "(021)555-1234" << "(021)555-1234";
    QTest::newRow("phone, empty") << phone << "(___)___-____" << "(   )   -    ";
    QTest::newRow("date, blank day digits") << date << "_5/_1/2004" << " 5/ 1/2004";
    QTest::newRow("date, full") << date << "05/01/2004" << "05/01/2004";
}

void TestMasks::readsText()
{
    QFETCH(QString, mask);
    QFETCH(QString, editText);
    QFETCH(QString, text);
    const EditMask m(mask);
    QCOMPARE(m.textOf(editText), text);
    QCOMPARE(m.align(m.textOf(editText)), editText); // writing back what was read shows the same
}

void TestMasks::validatesRequiredPositions()
{
    const EditMask c(code), p(phone), d(date);
    QCOMPARE(c.firstInvalidPosition(QStringLiteral("P01_")), 3);
    QCOMPARE(c.firstInvalidPosition(QStringLiteral("P0 1")), 2);
    QCOMPARE(c.firstInvalidPosition(QStringLiteral("P012")), -1);
    QCOMPARE(p.firstInvalidPosition(QStringLiteral("(___)555-1234")), -1);
    QCOMPARE(p.firstInvalidPosition(QStringLiteral("(021)555-12_4")), 11);
    QCOMPARE(d.firstInvalidPosition(QStringLiteral("__/__/2004")), -1);
    QCOMPARE(d.firstInvalidPosition(QStringLiteral("05/01/204_")), 9);
    QCOMPARE(EditMask(QStringLiteral("CC")).firstInvalidPosition(QStringLiteral(" _")), 1);

    try {
        c.validate(QStringLiteral("P01_"));
        QFAIL("an incomplete code passed");
    } catch (const EDBEditError& e) {
        QCOMPARE(e.message(), QStringLiteral("Invalid input value.  Use escape key to abandon changes"));
    }
    c.validate(QStringLiteral("P012"));
}

void TestMasks::dateSeparatorComesFromTheLocale()
{
    LocaleSettings settings = localeSettings();
    settings.DateSeparator = QLatin1Char('.');
    ScopedLocaleSettings dotted(settings);
    const EditMask d(date);
    QCOMPARE(d.emptyText(), QStringLiteral("__.__.____"));
    QCOMPARE(d.align(QStringLiteral("5.1.2004")), QStringLiteral("_5._1.2004"));
    QCOMPARE(d.textOf(QStringLiteral("_5._1.2004")), QStringLiteral(" 5. 1.2004"));
}

void TestMasks::literalsNotSaved()
{
    const EditMask m(QStringLiteral("00-00;0;_"));
    QCOMPARE(m.align(QStringLiteral("123")), QStringLiteral("12-3_"));
    QCOMPARE(m.textOf(QStringLiteral("12-3_")), QStringLiteral("123 "));
}

void TestMasks::displayTextOfMaskedStrings()
{
    QCOMPARE(MaskedDisplayText(phone, QStringLiteral("(021)555-1234")), QStringLiteral("(021)555-1234"));
    QCOMPARE(MaskedDisplayText(phone, QStringLiteral("(   )555-1234")), QStringLiteral("(   )555-1234"));
    QCOMPARE(MaskedDisplayText(code, QStringLiteral("P01")), QStringLiteral("P01 "));
    QCOMPARE(MaskedDisplayText(QString(), QStringLiteral("as is ")), QStringLiteral("as is "));
}

QTEST_GUILESS_MAIN(TestMasks)
#include "tst_Masks.moc"

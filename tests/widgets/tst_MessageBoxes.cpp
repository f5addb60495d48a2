#include "ModalAnswer.h"
#include "data/Exceptions.h"
#include "errors/HandlerGuard.h"
#include "widgets/MessageBoxes.h"
#include "widgets/TApplication.h"

#include <QClipboard>
#include <QtTest>

class TestMessageBoxes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void titleComesFromTheProgramFile_data();
    void titleComesFromTheProgramFile();
    void errorReportAddsAFullStopAfterLettersOnly_data();
    void errorReportAddsAFullStopAfterLettersOnly();
    void confirmationAnswers_data();
    void confirmationAnswers();
    void confirmationButtonsInOrder();
    void ctrlCCopiesTheBox();
    void plainMessageIsCaptionedWithTheTitle();
    void defaultErrorReportShowsErrorsButNotAborts();
    void applicationErrorText();

private:
    std::unique_ptr<TApplication> m_app;
};

void TestMessageBoxes::initTestCase()
{
    m_app = std::make_unique<TApplication>(QStringLiteral("/usr/bin/pwangsa"));
}

void TestMessageBoxes::titleComesFromTheProgramFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("title");
    QTest::newRow("lower case") << "/opt/x/sales.exe" << "sales";
    QTest::newRow("upper case") << "C:\\PROG\\SALES.EXE" << "Sales";
    QTest::newRow("no extension") << "/usr/bin/pwangsa" << "pwangsa";
    QTest::newRow("cut at first full stop") << "/a.b/PWangsa.tar.gz" << "Pwangsa";
}

void TestMessageBoxes::titleComesFromTheProgramFile()
{
    QFETCH(QString, file);
    QFETCH(QString, title);
    QCOMPARE(TApplication::titleFromProgramFile(file), title);
}

void TestMessageBoxes::errorReportAddsAFullStopAfterLettersOnly_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "Key violation" << "Key violation.";
    QTest::newRow("digit") << "Error 9729" << "Error 9729.";
    QTest::newRow("question") << "Sure?" << "Sure?.";
    QTest::newRow("full stop") << "Done." << "Done.";
    QTest::newRow("exclamation") << "Stop!" << "Stop!";
    QTest::newRow("parenthesis") << "(x)" << "(x)";
    QTest::newRow("blank") << "Trailing " << "Trailing ";
    QTest::newRow("empty") << "" << "";
}

void TestMessageBoxes::errorReportAddsAFullStopAfterLettersOnly()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(errorReportText(message), shown);
}

void TestMessageBoxes::confirmationAnswers_data()
{
    QTest::addColumn<unsigned>("buttons");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("result");
    const unsigned yesNo = mbYes | mbNo;
    const unsigned yesOk = mbYes | mbOK;
    QTest::newRow("yes/no Enter") << yesNo << "Enter" << int(mrYes);
    QTest::newRow("yes/no Esc") << yesNo << "Esc" << int(mrNo);
    QTest::newRow("yes/no click No") << yesNo << "No" << int(mrNo);
    QTest::newRow("yes/no click Yes") << yesNo << "Yes" << int(mrYes);
    QTest::newRow("yes/no close box") << yesNo << "close" << int(mrCancel);
    QTest::newRow("yes/ok Enter") << yesOk << "Enter" << int(mrOk);
    QTest::newRow("yes/ok Esc") << yesOk << "Esc" << int(mrOk);
    QTest::newRow("yes/ok click Yes") << yesOk << "Yes" << int(mrYes);
    QTest::newRow("yes/ok Alt+Y") << yesOk << "Alt+Y" << int(mrYes);
    QTest::newRow("yes/ok Y") << yesOk << "Y" << int(mrYes);
    QTest::newRow("yes/no N") << yesNo << "N" << int(mrNo);
    QTest::newRow("yes/ok close box") << yesOk << "close" << int(mrCancel);
    QTest::newRow("ok Enter") << unsigned(mbOK) << "Enter" << int(mrOk);
    QTest::newRow("ok Esc") << unsigned(mbOK) << "Esc" << int(mrOk);
}

void TestMessageBoxes::confirmationAnswers()
{
    QFETCH(unsigned, buttons);
    QFETCH(QString, answer);
    QFETCH(int, result);
    // The accelerators work with Alt and, the buttons taking no typed
    // characters, as plain letters too.
    if (answer == QLatin1String("Alt+Y"))
        test::answerNextModal([](QWidget* box) { test::pressKeyOn(box, Qt::Key_Y, Qt::AltModifier); });
    else if (answer.size() == 1)
        test::answerNextModal([answer](QWidget* box) { test::pressKeyOn(box, Qt::Key(answer.at(0).unicode())); });
    else
        test::answer(answer);
    QCOMPARE(MessageDlg(QStringLiteral("Yakin mau keluar dari program ?"), buttons), result);
}

void TestMessageBoxes::confirmationButtonsInOrder()
{
    TMessageForm box(QStringLiteral("Confirm"), QStringLiteral("Q"), true, mbOK | mbNo | mbYes);
    QCOMPARE(box.windowTitle(), QStringLiteral("Confirm"));
    const QPushButton* yes = box.button(mrYes);
    const QPushButton* no = box.button(mrNo);
    const QPushButton* ok = box.button(mrOk);
    QVERIFY(yes && no && ok);
    box.show();
    QVERIFY(yes->x() < no->x() && no->x() < ok->x());
    QCOMPARE(yes->text(), QStringLiteral("&Yes"));
    QCOMPARE(no->text(), QStringLiteral("&No"));
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QVERIFY(ok->isDefault());
    QCOMPARE(yes->width(), ok->width());
}

void TestMessageBoxes::ctrlCCopiesTheBox()
{
    const QString rule(27, QLatin1Char('-'));
    TMessageForm box(QStringLiteral("Confirm"), QStringLiteral("Yakin mau diprint ?"), true, mbYes | mbNo);
    box.show();
    QVERIFY(test::activate(&box));
    test::key(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(),
             rule + "\nConfirm\n" + rule + "\nYakin mau diprint ?\n" + rule + "\nYes   No   \n" + rule + "\n");
    QVERIFY(box.isVisible());
}

void TestMessageBoxes::plainMessageIsCaptionedWithTheTitle()
{
    test::SeenBox seen;
    test::recordAndAccept(&seen);
    ShowMessage(QStringLiteral("Data sudah disimpan"));
    QCOMPARE(seen.caption, QStringLiteral("pwangsa"));
    QCOMPARE(seen.text, QStringLiteral("Data sudah disimpan"));
}

void TestMessageBoxes::defaultErrorReportShowsErrorsButNotAborts()
{
    test::SeenBox seen;
    test::recordAndAccept(&seen);
    guarded([] { throw EAbort(); });
    guarded([] { throw EDatabaseError(QStringLiteral("Pelanggan: Field 'X' not found")); });
    QCOMPARE(seen.caption, QStringLiteral("pwangsa"));
    QCOMPARE(seen.text, QStringLiteral("Pelanggan: Field 'X' not found."));
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.modality, Qt::ApplicationModal);
}

void TestMessageBoxes::applicationErrorText()
{
    const EDBEngineError error(10024, QStringLiteral("Unknown database alias: Dor"));
    const QString text = ::applicationErrorText(error);
    const QRegularExpression shape(
        QStringLiteral("^Exception EDBEngineError in module \\S+ at [0-9A-F]{8}\\.\nUnknown database alias: Dor\\.\n$"));
    QVERIFY2(shape.match(text).hasMatch(), qPrintable(text));
    QVERIFY(!::applicationErrorText(EDatabaseError(QStringLiteral("Ends."))).contains(QLatin1String("Ends..")));
}

QTEST_MAIN(TestMessageBoxes)
#include "tst_MessageBoxes.moc"

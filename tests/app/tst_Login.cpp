#include "ModalAnswer.h"
#include "StartUpMessage.h"
#include "TestDatabase.h"
#include "app/StartUp.h"
#include "app/UPassword.h"
#include "app/UUtama.h"
#include "widgets/TApplication.h"
#include "widgets/TImage.h"
#include "widgets/TLabel.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// The login window among the program's real windows.
class TestLogin : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void layoutAndCaption();
    void missingFieldsAreNamed_data();
    void missingFieldsAreNamed();
    void wrongPairIsRejectedWithTheErrorIcon_data();
    void wrongPairIsRejectedWithTheErrorIcon();
    void nameIsUpperCasedWhileTyped();
    void fieldsStopAtTheirLimits();
    void passwordShowsStars();
    void pictureFillsInTheOperatorName();
    void unreadableDatabaseIsReportedNotTakenForAWrongPair();
    void rightPairOpensTheMainWindowMaximised();
    void escapeAnsweredNoKeepsTheTexts();

private:
    void typeInto(QLineEdit* edit, const QString& text);
    std::unique_ptr<TestDatabase> m_db;  // holds the operator account
    std::unique_ptr<TApplication> m_app;
};

void TestLogin::initTestCase()
{
    m_db = std::make_unique<TestDatabase>();
    m_db->addOperator(QStringLiteral("ADMIN"), QStringLiteral("wangsa"));
    m_app = std::make_unique<TApplication>(QStringLiteral("pwangsa"));
    test::answerDateLimitMessage();
    createForms();
}

void TestLogin::init()
{
    FormUtama->hide();
    FormPassword->Show();
    QVERIFY(QTest::qWaitForWindowActive(FormPassword));
    FormPassword->eNama->clear();
    FormPassword->ePassword->clear();
    FormPassword->eNama->setFocus();
}

void TestLogin::typeInto(QLineEdit* edit, const QString& text)
{
    test::clickAt(edit);
    test::type(text);
}

void TestLogin::layoutAndCaption()
{
    QCOMPARE(FormPassword->windowTitle(), QStringLiteral("Password") + QString(39, QLatin1Char(' ')) + '.');
    QCOMPARE(FormPassword->clientSize(), QSize(294, 194));
    QCOMPARE(FormPassword->eNama->geometry(), QRect(88, 80, 121, 21));
    QCOMPARE(FormPassword->BitBtn1->geometry(), QRect(8, 148, 73, 33));
    QCOMPARE(FormPassword->Label3->text(), QStringLiteral("PASSWORD"));
    QCOMPARE(QApplication::focusWidget(), FormPassword->eNama);
    // Tab walks name, password, Login, Keluar.
    QList<QWidget*> order;
    QWidget* w = FormPassword->eNama;
    for (int i = 0; i < 4; ++i, w = w->nextInFocusChain()) {
        while (!(w->focusPolicy() & Qt::TabFocus))
            w = w->nextInFocusChain();
        order << w;
    }
    QCOMPARE(order, (QList<QWidget*>{FormPassword->eNama, FormPassword->ePassword, FormPassword->BitBtn1,
                                     FormPassword->BitBtn2}));
}

void TestLogin::missingFieldsAreNamed_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message");
    QTest::newRow("both empty") << "" << "" << "Isikan  Password dan Nama";
    QTest::newRow("no password") << "ADMIN" << "" << "Isikan  Password";
    QTest::newRow("no name") << "" << "wangsa" << "Isikan Nama";
}

void TestLogin::missingFieldsAreNamed()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, message);
    typeInto(FormPassword->eNama, name);
    typeInto(FormPassword->ePassword, password);
    test::SeenBox seen;
    test::recordAndAccept(&seen);
    test::key(Qt::Key_Return);
    QCOMPARE(seen.text, message);
    QCOMPARE(seen.caption, QStringLiteral("Pesan isi"));
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(seen.modality, Qt::WindowModal);
    QVERIFY(FormPassword->eNama->text().isEmpty());
    QVERIFY(FormPassword->ePassword->text().isEmpty());
    QVERIFY(FormPassword->isVisible());
}

void TestLogin::wrongPairIsRejectedWithTheErrorIcon_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::newRow("wrong password") << "ADMIN" << "wangsa1";
    QTest::newRow("trailing blank in password") << "ADMIN" << "wangsa ";
    QTest::newRow("trailing blank in name") << "ADMIN " << "wangsa";
    QTest::newRow("password case matters") << "ADMIN" << "WANGSA";
}

void TestLogin::wrongPairIsRejectedWithTheErrorIcon()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    typeInto(FormPassword->eNama, name);
    typeInto(FormPassword->ePassword, password);
    test::SeenBox seen;
    test::recordAndAccept(&seen);
    test::clickAt(FormPassword->BitBtn1);
    QCOMPARE(seen.text, QStringLiteral("Nama atau Password salah"));
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QVERIFY(FormPassword->eNama->text().isEmpty());
    QVERIFY(FormPassword->ePassword->text().isEmpty());
    QVERIFY(!FormUtama->isVisible());
}

void TestLogin::nameIsUpperCasedWhileTyped()
{
    typeInto(FormPassword->eNama, QStringLiteral("adm"));
    QCOMPARE(FormPassword->eNama->text(), QStringLiteral("ADM"));
}

void TestLogin::fieldsStopAtTheirLimits()
{
    typeInto(FormPassword->eNama, QString(20, QLatin1Char('a')));
    QCOMPARE(FormPassword->eNama->text(), QString(16, QLatin1Char('A')));
    typeInto(FormPassword->ePassword, QStringLiteral("123456789012"));
    QCOMPARE(FormPassword->ePassword->text(), QStringLiteral("1234567890"));
}

void TestLogin::passwordShowsStars()
{
    typeInto(FormPassword->ePassword, QStringLiteral("abc"));
    QCOMPARE(FormPassword->ePassword->displayText(), QStringLiteral("***"));
}

void TestLogin::pictureFillsInTheOperatorName()
{
    test::clickAt(FormPassword->Image1);
    QCOMPARE(FormPassword->eNama->text(), QStringLiteral("ADMIN"));
    QVERIFY(FormPassword->ePassword->text().isEmpty());
}

// The account can't be read: the engine's own message in the default error
// report, and the fields stay for another try once the database is back.
void TestLogin::unreadableDatabaseIsReportedNotTakenForAWrongPair()
{
    const QString file = m_db->path();
    QVERIFY(QFile::rename(file, file + QStringLiteral(".away")));
    typeInto(FormPassword->eNama, QStringLiteral("ADMIN"));
    typeInto(FormPassword->ePassword, QStringLiteral("wangsa"));
    test::SeenBox seen;
    test::recordAndAccept(&seen);
    test::key(Qt::Key_Return);
    QVERIFY(QFile::rename(file + QStringLiteral(".away"), file));
    QCOMPARE(seen.text, QStringLiteral("Database file not found: %1.").arg(file));
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.caption, m_app->Title());
    QCOMPARE(FormPassword->eNama->text(), QStringLiteral("ADMIN"));
    QCOMPARE(FormPassword->ePassword->text(), QStringLiteral("wangsa"));
    QVERIFY(!FormUtama->isVisible());

    // A file that is no database any more says so, not "Parameter count mismatch".
    QVERIFY(QFile::rename(file, file + QStringLiteral(".away")));
    QFile damaged(file);
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(8192, 'x'));
    damaged.close();
    test::recordAndAccept(&seen);
    test::key(Qt::Key_Return);
    QVERIFY(QFile::remove(file));
    QVERIFY(QFile::rename(file + QStringLiteral(".away"), file));
    QVERIFY2(seen.text.contains(QStringLiteral("The file is not a database.")), qPrintable(seen.text));
    QCOMPARE(FormPassword->eNama->text(), QStringLiteral("ADMIN"));
}

void TestLogin::rightPairOpensTheMainWindowMaximised()
{
    typeInto(FormPassword->eNama, QStringLiteral("admin"));
    typeInto(FormPassword->ePassword, QStringLiteral("wangsa"));
    test::key(Qt::Key_Enter);
    QVERIFY(FormUtama->isVisible());
    QVERIFY(FormUtama->isMaximized());
    QVERIFY(!FormPassword->isVisible());
    QVERIFY(FormPassword->eNama->text().isEmpty());
    QVERIFY(FormPassword->ePassword->text().isEmpty());
}

void TestLogin::escapeAnsweredNoKeepsTheTexts()
{
    typeInto(FormPassword->eNama, QStringLiteral("ADMIN"));
    typeInto(FormPassword->ePassword, QStringLiteral("abc"));
    QString question;
    test::answerNextModal([&question](QWidget* box) {
        question = box->findChild<QLabel*>(QStringLiteral("Message"))->text();
        test::clickAt(test::buttonCaptioned(box, QStringLiteral("No")));
    });
    test::key(Qt::Key_Escape);
    QCOMPARE(question, QStringLiteral("Yakin mau keluar dari Program ? "));
    QVERIFY(!m_app->Terminated());
    QCOMPARE(FormPassword->eNama->text(), QStringLiteral("ADMIN"));
    QCOMPARE(FormPassword->ePassword->text(), QStringLiteral("abc"));
}

QTEST_MAIN(TestLogin)
#include "tst_Login.moc"

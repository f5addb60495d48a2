// Start-up over a PostgreSQL alias whose server refuses the connection: the
// program ends through the "Application Error" box with the server's own
// message. Skips without a server.

#include "ModalAnswer.h"
#include "TestDatabase.h"
#include "app/StartUp.h"

#include <QtTest>

class TestStartUpServer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { PWANGSA_REQUIRE_SERVER(); }

    void refusedConnectionEndsStartUp_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("dbname");
        QTest::addColumn<QString>("serverText");
        QTest::newRow("wrong password") << QStringLiteral("salah") << QString() << QStringLiteral("password authentication failed");
        QTest::newRow("missing database") << QString() << QStringLiteral("tidak_ada") << QStringLiteral("\"tidak_ada\" does not exist");
    }

    void refusedConnectionEndsStartUp()
    {
        QFETCH(QString, password);
        QFETCH(QString, dbname);
        QFETCH(QString, serverText);
        TestDatabase db(QStringLiteral("Dor"), TestDatabase::Engine::Postgres);
        AliasConfig::Alias alias = db.alias();
        if (!password.isEmpty())
            alias.password = password;
        if (!dbname.isEmpty())
            alias.dbname = dbname;
        AliasConfig::write(QStringLiteral("Dor"), alias);
        QString caption;
        QString text;
        test::answerNextModal([&](QWidget* box) {
            caption = box->windowTitle();
            text = static_cast<QMessageBox*>(box)->text();
            static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
        });
        QCOMPARE(runProgram(), 1);
        QCOMPARE(caption, QStringLiteral("Application Error"));
        QVERIFY2(text.contains(QStringLiteral("Cannot connect to the database ") + alias.describe()), qPrintable(text));
        QVERIFY2(text.contains(serverText), qPrintable(text));
    }
};

QTEST_MAIN(TestStartUpServer)
#include "tst_StartUpServer.moc"

#include "ModalAnswer.h"
#include "StartUpMessage.h"
#include "TestDatabase.h"
#include "app/StartUp.h"
#include "app/UPassword.h"
#include "app/USplash.h"
#include "app/UUtama.h"
#include "widgets/TApplication.h"
#include "widgets/TLabel.h"

#include <QLineEdit>
#include <QtTest>

// Runs the real start-up sequence in this process and watches it through
// window events, then logs in and leaves through the menu.
class TestStartUp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { PWANGSA_SKIP_WITHOUT_SERVER(); }
    void startsLogsInAndEnds();
    void missingDatabaseEndsStartUpWithApplicationError();
};

namespace {

// Records windows being shown; runs onLogin once the login window shows.
struct Watcher : QObject {
    QStringList events;
    std::function<void()> onLogin;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) {
            events << QStringLiteral("show ") + watched->metaObject()->className();
            if (watched == FormPassword && onLogin)
                QTimer::singleShot(0, std::exchange(onLogin, {}));
        }
        return false;
    }
};

} // namespace

void TestStartUp::startsLogsInAndEnds()
{
    TestDatabase db;
    db.addOperator(QStringLiteral("ADMIN"), QStringLiteral("wangsa"));
    Watcher watcher;
    qApp->installEventFilter(&watcher);
    int formsWhenLoginShown = -1;
    bool splashGoneWhenLoginShown = false;
    bool mainHiddenBeforeLogin = false;
    bool clockRanBeforeLogin = false;

    test::answerDateLimitMessage();
    const int code = runProgram([&](TApplication& app) {
        connect(&app, &TApplication::formCreated, &app, [&](TForm* form) {
            watcher.events << QStringLiteral("create ") + form->metaObject()->className();
        });
        // Once the login window shows: check the state, log in, then leave.
        watcher.onLogin = [&] {
            formsWhenLoginShown = int(app.forms().size());
            splashGoneWhenLoginShown = FrmSplash == nullptr;
            mainHiddenBeforeLogin = !FormUtama->isVisible();
            QTest::qWait(1100);
            clockRanBeforeLogin = FormUtama->Label2->text().endsWith(QLatin1String("WIB"));
            QTest::keyClicks(FormPassword->eNama, QStringLiteral("ADMIN"));
            QTest::keyClick(FormPassword->eNama, Qt::Key_Tab);
            test::type(QStringLiteral("wangsa"));
            test::key(Qt::Key_Return);
            test::clickButton(QStringLiteral("Yes"));
            FormUtama->Exit1->trigger();
        };
    });
    qApp->removeEventFilter(&watcher);

    QCOMPARE(code, 0);
    QCOMPARE(formsWhenLoginShown, 8);
    QVERIFY(splashGoneWhenLoginShown);
    QVERIFY(mainHiddenBeforeLogin);
    QVERIFY(clockRanBeforeLogin);
    const QStringList expected{
        "show TFrmSplash",           "create TFormPassword", "create TFormPelanggan", "create TFormBarang",
        "create TFormPenjualan",     "create TFAbout",       "create TFormUtama",     "create TFormPesanan",
        "create TFormTanggal",       "show TFormPassword",   "show TFormUtama",
    };
    QStringList windowsSeen;
    for (const QString& e : watcher.events)
        if (e.startsWith(QLatin1String("create")) || e.startsWith(QLatin1String("show T")))
            windowsSeen << e;
    windowsSeen.removeDuplicates();
    QCOMPARE(windowsSeen.mid(0, expected.size()), expected);
}

void TestStartUp::missingDatabaseEndsStartUpWithApplicationError()
{
    QTemporaryDir empty;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(empty.path()));
    test::SeenBox seen;
    test::answerNextModal([&seen](QWidget* box) {
        seen.caption = box->windowTitle();
        seen.text = static_cast<QMessageBox*>(box)->text();
        seen.icon = static_cast<QMessageBox*>(box)->icon();
        static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
    QCOMPARE(runProgram(), 1);
    QCOMPARE(seen.caption, QStringLiteral("Application Error"));
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QVERIFY2(seen.text.startsWith(QLatin1String("Exception EDBEngineError in module ")), qPrintable(seen.text));
    QVERIFY2(seen.text.endsWith(QLatin1String("Unknown database alias: Dor.\n")), qPrintable(seen.text));
}

QTEST_MAIN(TestStartUp)
#include "tst_StartUp.moc"

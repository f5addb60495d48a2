#include "data/Exceptions.h"
#include "errors/HandlerGuard.h"
#include "widgets/TApplication.h"
#include "widgets/TForm.h"
#include "widgets/TTimer.h"

#include <QtTest>

namespace {

// A window whose creation handler fails.
class FailingForm : public TForm {
public:
    using TForm::TForm;
    void FormCreate() override { throw EDatabaseError(QStringLiteral("creation failed")); }
};

class PlainForm : public TForm {
public:
    using TForm::TForm;
    int created = 0;
    void FormCreate() override { ++created; }
};

} // namespace

class TestApplication : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstCreatedWindowIsTheMainWindow();
    void failingCreationHandlerIsReportedAndCreationGoesOn();
    void taskbarEntryFollowsVisibleWindows();
    void closingTheMainWindowEndsTheProgram();
    void closingAnotherWindowOnlyHidesIt();
    void timerWithoutIntervalOrHandlerNeverFires();
};

void TestApplication::firstCreatedWindowIsTheMainWindow()
{
    TApplication app(QStringLiteral("pwangsa"));
    PlainForm* first = nullptr;
    PlainForm* second = nullptr;
    app.CreateForm(first);
    app.CreateForm(second);
    QCOMPARE(app.MainForm(), first);
    QCOMPARE(first->created, 1);
    QCOMPARE(app.forms(), (QList<TForm*>{first, second}));
    QVERIFY(!first->isVisible() && !second->isVisible());
}

void TestApplication::failingCreationHandlerIsReportedAndCreationGoesOn()
{
    TApplication app(QStringLiteral("pwangsa"));
    QStringList reported;
    setErrorReporter([&reported](const Exception& e) { reported << e.message(); });
    FailingForm* failing = nullptr;
    PlainForm* next = nullptr;
    app.CreateForm(failing);
    app.CreateForm(next);
    QCOMPARE(reported, QStringList{QStringLiteral("creation failed")});
    QVERIFY(failing != nullptr);
    QCOMPARE(next->created, 1);
}

void TestApplication::taskbarEntryFollowsVisibleWindows()
{
    TApplication app(QStringLiteral("pwangsa"));
    PlainForm* a = nullptr;
    PlainForm* b = nullptr;
    app.CreateForm(a);
    app.CreateForm(b);
    QVERIFY(!app.taskbarEntryVisible());
    a->Show();
    QVERIFY(app.taskbarEntryVisible());
    b->Show();
    a->Hide();
    QVERIFY(app.taskbarEntryVisible());
    b->Close();
    QVERIFY(!app.taskbarEntryVisible());
}

void TestApplication::closingTheMainWindowEndsTheProgram()
{
    TApplication app(QStringLiteral("pwangsa"));
    PlainForm* main = nullptr;
    app.CreateForm(main);
    QTimer::singleShot(0, main, [main] { main->Close(); });
    QCOMPARE(app.Run(), 0);
    QVERIFY(app.Terminated());
    QVERIFY(app.forms().isEmpty());
}

void TestApplication::closingAnotherWindowOnlyHidesIt()
{
    TApplication app(QStringLiteral("pwangsa"));
    PlainForm* main = nullptr;
    PlainForm* other = nullptr;
    app.CreateForm(main);
    app.CreateForm(other);
    other->Show();
    QVERIFY(other->close());
    QVERIFY(!other->isVisible());
    QVERIFY(!app.Terminated());
}

void TestApplication::timerWithoutIntervalOrHandlerNeverFires()
{
    int fired = 0;
    TTimer noInterval(nullptr, 0, [&fired] { ++fired; });
    TTimer noHandler(nullptr, 10);
    TTimer running(nullptr, 10, [&fired] { fired += 100; });
    QVERIFY(!noInterval.isRunning());
    QVERIFY(!noHandler.isRunning());
    QTRY_VERIFY(fired >= 100);
    QCOMPARE(fired % 100, 0);
    running.setEnabled(false);
    QVERIFY(!running.isRunning());
}

QTEST_MAIN(TestApplication)
#include "tst_Application.moc"

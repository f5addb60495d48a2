#include "RealInput.h"
#include "reports/ReportWindows.h"
#include "reports/TRepMessage.h"
#include "reports/TRepPrinter.h"
#include "reports/ui/RegisterReportWindows.h"
#include "reports/ui/TRepProgressForm.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

class TestTRepProgressForm : public QObject {
    Q_OBJECT

private slots:
    void showsItselfAsDescribed();
    void gaugeMovesOnlyOnStepsOfFive();
    void cancelButtonCancelsTheOutput();
    void registeredFactoryMakesTheClient();
};

void TestTRepProgressForm::showsItselfAsDescribed()
{
    TRepPrinter output;
    TRepProgressForm form(output);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.windowTitle(), QStringLiteral("Printing progress"));
    QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(form.CancelButton->text(), QStringLiteral("Cancel"));
    QCOMPARE(form.Gauge->value(), 0);
    QVERIFY(form.Info->text().isEmpty());
    QVERIFY(qAbs(form.frameGeometry().center().x() - form.screen()->availableGeometry().center().x()) <= 2);
}

// The output posts its progress; the window shows only multiples of 5.
void TestTRepProgressForm::gaugeMovesOnlyOnStepsOfFive()
{
    TRepPrinter output;
    TRepProgressForm form(output);
    output.setClient(&form);
    output.SetProgress(33);
    QCOMPARE(form.Gauge->value(), 0);
    QCoreApplication::processEvents();
    QCOMPARE(form.Gauge->value(), 0);
    output.SetProgress(66);
    QCoreApplication::processEvents();
    QCOMPARE(form.Gauge->value(), 0);
    QVERIFY(form.Info->text().isEmpty());
    output.SetProgress(100);
    QCoreApplication::processEvents();
    QCOMPARE(form.Gauge->value(), 100);
    QCOMPARE(form.Info->text(), QStringLiteral("100%  Completed"));
    output.SetProgress(45);
    QCoreApplication::processEvents();
    QCOMPARE(form.Info->text(), QStringLiteral("45%  Completed"));
}

void TestTRepProgressForm::cancelButtonCancelsTheOutput()
{
    TRepPrinter output;
    output.BeginDoc();
    TRepProgressForm form(output);
    form.show();
    QVERIFY(!output.cancelled());
    test::clickAt(form.CancelButton);
    QVERIFY(output.cancelled());
    output.EndDoc();
}

void TestTRepProgressForm::registeredFactoryMakesTheClient()
{
    TRepPrinter output;
    QVERIFY(!createProgressWindow(output, false));
    registerReportWindows();
    const std::unique_ptr<QObject> window = createProgressWindow(output, true);
    auto* form = qobject_cast<TRepProgressForm*>(window.get());
    QVERIFY(form);
    QCOMPARE(output.client(), form);
    QVERIFY(form->isVisible());
    QVERIFY(!createProgressWindow(output, false)->property("visible").toBool());
}

QTEST_MAIN(TestTRepProgressForm)
#include "tst_TRepProgressForm.moc"

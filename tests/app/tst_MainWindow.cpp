#include "MessageLog.h"
#include "ModalAnswer.h"
#include "StartUpMessage.h"
#include "TestDatabase.h"
#include "app/StartUp.h"
#include "app/UPassword.h"
#include "app/UUtama.h"
#include "app/Ucredits.h"
#include "reports/ui/RegisterReportWindows.h"
#include "forms/UPelanggan.h"
#include "widgets/TApplication.h"
#include "widgets/TLabel.h"
#include "widgets/TSpeedButton.h"
#include "widgets/TStatusBar.h"

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void loginIsTheOnlyGate();
    void clockText_data();
    void clockText();
    void captionAndSize();
    void menuTree();
    void timersRunWhileHidden();
    void exitConfirmation_data();
    void exitConfirmation();
    void ctrlXAsksToLeave();
    void dataWindowIsShownOnceAndBroughtToFront();
    void aboutHidesTheMainWindowUntilTheCreditsClose();
    void closeBoxOnlyHides();
    void restoredWindowKeepsItsSize();
    void exitAnsweredYesEndsTheProgram();

private:
    TestDatabase m_db;
    std::unique_ptr<TApplication> m_app;
};

void TestMainWindow::initTestCase()
{
    m_db.addOperator(QStringLiteral("ADMIN"), QStringLiteral("wangsa"));
    m_app = std::make_unique<TApplication>(QStringLiteral("pwangsa"));
    test::answerDateLimitMessage();
    registerReportWindows();
    createForms();
}

// Before a successful login the main window has no native window that
// others could map, and shown by other means its menu, shortcut and exit
// button do nothing; the login opens it, maximised.
void TestMainWindow::loginIsTheOnlyGate()
{
    QVERIFY(!FormUtama->windowHandle());
    FormUtama->DataPelanggan1->trigger();
    QVERIFY(!FormPelanggan->isVisible());
    FormUtama->show();
    QVERIFY(test::activate(FormUtama));
    test::MessageLog log;
    test::key(Qt::Key_X, Qt::ControlModifier);
    test::clickAt(FormUtama->SpeedButton3);
    FormUtama->PenjualanPertanggal2->trigger();
    QTest::qWait(50);
    QVERIFY(log.texts().isEmpty());
    QVERIFY(!m_app->Terminated());
    FormUtama->hide();

    FormPassword->Show();
    QVERIFY(test::activate(FormPassword));
    test::clickAt(FormPassword->eNama);
    test::type(QStringLiteral("admin"));
    test::key(Qt::Key_Tab);
    test::type(QStringLiteral("wangsa"));
    test::key(Qt::Key_Return);
    QVERIFY(QTest::qWaitForWindowActive(FormUtama));
    QVERIFY(!FormPassword->isVisible());
    FormUtama->DataPelanggan1->trigger();
    QVERIFY(FormPelanggan->isVisible());
    FormPelanggan->hide();
    QVERIFY(test::activate(FormUtama));
}

void TestMainWindow::clockText_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("text");
    QTest::newRow("morning") << QTime(9, 5, 7) << "9:5:7  WIB";
    QTest::newRow("midnight") << QTime(0, 0, 0) << "0:0:0  WIB";
    QTest::newRow("evening") << QTime(23, 59, 59) << "23:59:59  WIB";
}

void TestMainWindow::clockText()
{
    QFETCH(QTime, time);
    QFETCH(QString, text);
    QCOMPARE(TFormUtama::clockText(time), text);
}

void TestMainWindow::captionAndSize()
{
    QCOMPARE(FormUtama->windowTitle(), QStringLiteral("PT. TIRTA WANGSA") + QString(139, QLatin1Char(' ')) + '.');
    QVERIFY(FormUtama->isMaximized());
    QCOMPARE(FormUtama->SpeedButton3->geometry(), QRect(680, 448, 97, 38));
    QCOMPARE(FormUtama->Label6->geometry(), FormUtama->Label3->geometry());
    QCOMPARE(FormUtama->Label6->palette().color(QPalette::WindowText), QColor(Qt::yellow));
    QCOMPARE(FormUtama->StatusBar1->height(), 22);
    QCOMPARE(FormUtama->StatusBar1->y() + 22, FormUtama->client()->height());
}

void TestMainWindow::menuTree()
{
    auto captions = [](const QMenu* menu) {
        QStringList list;
        for (const QAction* a : menu->actions())
            list << a->text();
        return list;
    };
    QStringList top;
    for (const QAction* a : FormUtama->MainMenu1->actions())
        top << a->text();
    QCOMPARE(top, QStringList({"&File", "&Report", "&About"}));
    QCOMPARE(captions(FormUtama->File1),
             QStringList({"&Input Pelanggan", "Input Pesanan", "Input Barang", "&Input Penjualan", "&Keluar"}));
    QCOMPARE(captions(FormUtama->Help1), QStringList({"&Laporan Penjualan", "Cetak"}));
    QCOMPARE(captions(FormUtama->Preview1), QStringList({"&Pelanggan", "&Barang", "&Harian"}));
    QCOMPARE(captions(FormUtama->Print1), QStringList({"Faktur Penjualan", "Laporan harian"}));
    QCOMPARE(captions(FormUtama->Help2), QStringList({"About Program"}));
    QCOMPARE(FormUtama->Exit1->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));
    QCOMPARE(int(FormUtama->Exit1->shortcut()[0].toCombined()), 0x04000000 | Qt::Key_X);
}

// The clock, the date and the blinking title move while the window is hidden.
void TestMainWindow::timersRunWhileHidden()
{
    FormUtama->hide();
    const bool yellow = FormUtama->Label6->isVisibleTo(FormUtama);
    QTRY_VERIFY_WITH_TIMEOUT(FormUtama->Label6->isVisibleTo(FormUtama) != yellow, 2000);
    QTRY_VERIFY_WITH_TIMEOUT(FormUtama->Label2->caption().endsWith(QLatin1String("  WIB")), 3000);
    QVERIFY(!FormUtama->StatusBar1->panelText().isEmpty());
    const QString date = FormUtama->StatusBar1->panelText();
    QVERIFY2(date.contains(QString::number(QDate::currentDate().year())), qPrintable(date));
    FormUtama->Show();
}

void TestMainWindow::exitConfirmation_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("ends");
    QTest::newRow("Enter gives OK") << "Enter" << false;
    QTest::newRow("Esc gives OK") << "Esc" << false;
    QTest::newRow("close box") << "close" << false;
    QTest::newRow("OK") << "OK" << false;
}

void TestMainWindow::exitConfirmation()
{
    QFETCH(QString, answer);
    QFETCH(bool, ends);
    test::answer(answer);
    test::clickAt(FormUtama->SpeedButton3);
    QCOMPARE(m_app->Terminated(), ends);
}

void TestMainWindow::ctrlXAsksToLeave()
{
    QString question;
    test::answerNextModal([&question](QWidget* box) {
        question = box->findChild<QLabel*>(QStringLiteral("Message"))->text();
        test::pressKeyOn(box, Qt::Key_Escape);
    });
    QVERIFY(test::activate(FormUtama));
    test::key(Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(question, QStringLiteral("Yakin mau keluar dari program ?"));
}

void TestMainWindow::dataWindowIsShownOnceAndBroughtToFront()
{
    const int windows = int(QApplication::topLevelWidgets().size());
    FormUtama->DataPelanggan1->trigger();
    QVERIFY(FormPelanggan->isVisible());
    FormUtama->DataPelanggan1->trigger();
    QCOMPARE(int(QApplication::topLevelWidgets().size()), windows);
    QVERIFY(FormUtama->isVisible());
    FormPelanggan->hide();
}

void TestMainWindow::aboutHidesTheMainWindowUntilTheCreditsClose()
{
    FormUtama->AboutProgram1->trigger();
    QVERIFY(FAbout->isVisible());
    QVERIFY(!FormUtama->isVisible());
    test::clickAt(FAbout->SpeedButton1);
    QVERIFY(!FAbout->isVisible());
    QVERIFY(FormUtama->isVisible());
    QVERIFY(FormUtama->isMaximized());
}

void TestMainWindow::closeBoxOnlyHides()
{
    QVERIFY(FormUtama->close());
    QVERIFY(!FormUtama->isVisible());
    QVERIFY(!m_app->taskbarEntryVisible());
    FormUtama->Show();
    QVERIFY(m_app->taskbarEntryVisible());
}

// Single, fixed size: restored, a resize of the frame is undone; it can be
// maximised again.
void TestMainWindow::restoredWindowKeepsItsSize()
{
    FormUtama->showNormal();
    QTRY_VERIFY(!FormUtama->isMaximized());
    QTRY_COMPARE(FormUtama->clientSize().width(), 734);
    const QSize restored = FormUtama->size();
    FormUtama->resize(restored + QSize(200, 100)); // as the window manager does for a dragged border
    QTRY_COMPARE(FormUtama->size(), restored);
    FormUtama->showMaximized();
    QTRY_VERIFY(FormUtama->isMaximized());
    QTest::qWait(200);
    QVERIFY(FormUtama->isMaximized());
    QVERIFY(FormUtama->size() != restored);
}

// Last: the request to end stays pending and would close later boxes at once.
// With a report preview open the exit ends the program at once too: the
// preview's wait returns, its menu handler ends, the loop can stop.
void TestMainWindow::exitAnsweredYesEndsTheProgram()
{
    bool hung = false;
    const auto previewShown = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->inherits("TRepStandardPreview") && w->isVisible())
                return true;
        return false;
    };
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&watch, previewShown] {
        if (!previewShown())
            return;
        watch.stop();
        QVERIFY(test::activate(FormUtama));
        test::clickButton(QStringLiteral("Yes"));
        test::key(Qt::Key_X, Qt::ControlModifier);
    });
    watch.start(20);
    QTimer::singleShot(5000, [&hung] {
        hung = true;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->inherits("TRepStandardPreview"))
                w->close();
    });
    FormUtama->PenjualanPertanggal2->trigger(); // waits while the preview is open
    QVERIFY(m_app->Terminated());
    QVERIFY(!hung);
}

QTEST_MAIN(TestMainWindow)
#include "tst_MainWindow.moc"

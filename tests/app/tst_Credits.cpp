#include "RealInput.h"
#include "StartUpMessage.h"
#include "TestDatabase.h"
#include "app/StartUp.h"
#include "app/StyledLayout.h"
#include "app/TStyledView.h"
#include "app/UUtama.h"
#include "app/Ucredits.h"
#include "widgets/TApplication.h"
#include "widgets/TLabel.h"
#include "widgets/TTimer.h"

#include <QDesktopServices>
#include <QFontMetrics>
#include <QUrl>
#include <QtTest>

// Stands in for the mail program: records the addresses it is asked to open.
class MailCatcher : public QObject {
    Q_OBJECT
public:
    QStringList opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened << url.toString(); }
};

class TestCredits : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void linesAreCutAtTheLastBlankThatFits();
    void layoutStacksBaselinesAndSkipsEmptyItems();
    void appendTextSplitsAtLineBreaks();
    void stepIsRefusedWhenTheRangeWouldGrowTooLarge();
    void rollIsBuiltOnceOnFirstShowing();
    void rollFiguresFollowTheLayout();
    void timerScrollsAndWrapsToTheTop();
    void keysMoveThePosition();
    void backgroundStaysStillWhileTextScrolls();
    void selectionWithTheLeftButton();
    void mailOpensOnAClickOverTheAddressOnly();
    void minimisingIsUndone();

private:
    TestDatabase m_db;
    std::unique_ptr<TApplication> m_app;
};

void TestCredits::initTestCase()
{
    m_db.addOperator(QStringLiteral("ADMIN"), QStringLiteral("wangsa"));
    m_app = std::make_unique<TApplication>(QStringLiteral("pwangsa"));
    test::answerDateLimitMessage();
    createForms();
    FAbout->Timer1->setEnabled(false); // the tests move the roll themselves
}

void TestCredits::linesAreCutAtTheLastBlankThatFits()
{
    const QFontMetrics fm(QFont(QStringLiteral("Arial"), 10));
    const QString text = QStringLiteral("Dosen-dosen yang telah membantu penulis");
    const int upToYang = fm.horizontalAdvance(QStringLiteral("Dosen-dosen yang te"));
    QCOMPARE(text.left(lineLength(text, fm, upToYang)), QStringLiteral("Dosen-dosen yang "));
    // Without a blank, the characters that fit are taken; at least one always.
    QCOMPARE(lineLength(QStringLiteral("ABCDEFGH"), fm, fm.horizontalAdvance(QStringLiteral("ABC"))), 3);
    QCOMPARE(lineLength(QStringLiteral("WIDE"), fm, 1), 1);
    QCOMPARE(lineLength(text, fm, 10000), int(text.size()));
}

void TestCredits::layoutStacksBaselinesAndSkipsEmptyItems()
{
    const QList<TTextStyle> styles{{QStringLiteral("Arial"), 10, Qt::black, 0, 0},
                                   {QStringLiteral("Arial"), 14, Qt::black, 1, 0}};
    const QFontMetrics small(styles[0].font());
    const QFontMetrics big(styles[1].font());
    const QList<StyledItem> items{{QStringLiteral("one"), 0, false},
                                  {QString(), 1, true},
                                  {QStringLiteral("two"), 1, true}};
    const StyledLayout layout = layOutItems(items, styles, 5, 200);
    QCOMPARE(layout.lines.size(), 2);
    QCOMPARE(layout.lines[0].top, small.leading());
    QCOMPARE(layout.lines[0].baseline, small.leading() + small.ascent());
    QCOMPARE(layout.lines[0].left, 5);
    QCOMPARE(layout.lines[1].item, 2);
    QCOMPARE(layout.lines[1].top, layout.lines[0].baseline + small.descent() + big.leading());
    QCOMPARE(layout.lines[1].left, 5 + (200 - big.horizontalAdvance(QStringLiteral("two"))) / 2);
    QCOMPARE(layout.contentHeight, layout.lines[1].baseline + big.descent() + 1);
}

void TestCredits::appendTextSplitsAtLineBreaks()
{
    TStyledView view(nullptr);
    view.AddText(QStringLiteral("a\nb\n"), 0);
    QCOMPARE(view.ItemCount(), 2);
    view.AddText(QString(), 0);
    QCOMPARE(view.ItemCount(), 3);
    view.AddCenteredLine(QStringLiteral("x\ny"), 0);
    QCOMPARE(view.ItemCount(), 4);
}

void TestCredits::stepIsRefusedWhenTheRangeWouldGrowTooLarge()
{
    TViewStyle style;
    style.TextStyles = {{QStringLiteral("Arial"), 10, Qt::black, 0, 0}};
    TStyledView view(nullptr);
    view.resize(200, 100);
    view.setStyle(&style);
    for (int i = 0; i < 3000; ++i)
        view.AddCenteredLine(QStringLiteral("line"), 0);
    view.Format(); // step 10: more than 30000 pixels fit
    QVERIFY(view.ContentHeight() > 30000);
    QCOMPARE(view.VSmallStep(), 10);
    view.SetVSmallStep(1);
    QCOMPARE(view.VSmallStep(), 10);
    view.SetVSmallStep(0);
    QCOMPARE(view.VSmallStep(), 10);
    QCOMPARE(view.VScrollMax(), view.ContentHeight() / 10 - 100 / 10 + 1);
}

void TestCredits::rollIsBuiltOnceOnFirstShowing()
{
    QCOMPARE(FAbout->StyledView2->ItemCount(), 0);
    FAbout->Show();
    QCOMPARE(FAbout->StyledView2->ItemCount(), 64);
    QCOMPARE(FAbout->StyledView2->VScrollPos(), 0);
    FAbout->StyledView2->ScrollTo(40);
    FAbout->hide();
    FAbout->Show();
    QCOMPARE(FAbout->StyledView2->ItemCount(), 64);
    QCOMPARE(FAbout->StyledView2->VScrollPos(), 40);
    QCOMPARE(FAbout->windowTitle(), QStringLiteral("Credits") + QString(98, QLatin1Char(' ')) + QStringLiteral(". "));
    QCOMPARE(FAbout->clientSize(), QSize(536, 463));
}

void TestCredits::rollFiguresFollowTheLayout()
{
    const TStyledView* v = FAbout->StyledView2;
    QCOMPARE(v->VSmallStep(), 1);
    const StyledLayout& layout = v->layout();
    // Every row with text makes exactly one line (the roll's rows all fit), empty rows none.
    QCOMPARE(layout.lines.size(), 64 - 18);
    QCOMPARE(layout.lines[0].text, QString(12, QLatin1Char(' ')));
    QCOMPARE(layout.lines[1].text, QStringLiteral("PT. TIRTA WANGSA"));
    QCOMPARE(v->ContentHeight(), layout.lines.constLast().baseline + layout.lines.constLast().descent + 1);
    QCOMPARE(v->VScrollMax(), v->ContentHeight() - v->height() + 1);
}

void TestCredits::timerScrollsAndWrapsToTheTop()
{
    TStyledView* v = FAbout->StyledView2;
    v->ScrollTo(0);
    FAbout->Timer1Timer();
    QCOMPARE(v->VScrollPos(), 1);
    v->ScrollTo(v->VScrollMax() - 1);
    FAbout->Timer1Timer();
    QCOMPARE(v->VScrollPos(), v->VScrollMax());
    FAbout->Timer1Timer();
    QCOMPARE(v->VScrollPos(), 0);
}

void TestCredits::keysMoveThePosition()
{
    TStyledView* v = FAbout->StyledView2;
    v->ScrollTo(0);
    QVERIFY(test::activate(FAbout));
    QVERIFY(v->hasFocus());
    test::key(Qt::Key_Down);
    QCOMPARE(v->VScrollPos(), 1);
    test::key(Qt::Key_PageDown);
    QCOMPARE(v->VScrollPos(), 11);
    test::key(Qt::Key_Up);
    QCOMPARE(v->VScrollPos(), 10);
    test::key(Qt::Key_End);
    QCOMPARE(v->VScrollPos(), v->VScrollMax());
    FAbout->Timer1Timer();
    QCOMPARE(v->VScrollPos(), 0);
    test::key(Qt::Key_PageUp);
    QCOMPARE(v->VScrollPos(), 0);
}

void TestCredits::backgroundStaysStillWhileTextScrolls()
{
    TStyledView* v = FAbout->StyledView2;
    // Far down the roll, a corner with no text shows the same stone as at the top.
    v->ScrollTo(0);
    const QImage top = v->grab(QRect(0, 0, 100, 100)).toImage();
    v->ScrollTo(v->VScrollMax());
    const QImage bottom = v->grab(QRect(0, 0, 100, 100)).toImage();
    v->ScrollTo(0);
    const QImage expected = v->grab(QRect(0, 0, 100, 100)).toImage();
    QCOMPARE(top, expected);
    // Pixels of the bottom-left corner, where no line reaches, equal the picture.
    QCOMPARE(bottom.pixel(1, 99), top.pixel(1, 99));
}

void TestCredits::selectionWithTheLeftButton()
{
    TStyledView* v = FAbout->StyledView2;
    v->ScrollTo(0);
    const LaidOutLine& line = v->layout().lines[1];
    const QPoint from(line.left, line.top + 2);
    const QPoint to(line.left + line.width + 1, line.top + 2);
    test::dragAt(v, from, to);
    QCOMPARE(v->SelectedText(), QStringLiteral("PT. TIRTA WANGSA"));
}

// Opens a mail only when the button goes up over the address, as a click.
void TestCredits::mailOpensOnAClickOverTheAddressOnly()
{
    MailCatcher mail;
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &mail, "open");
    FAbout->Show();
    QVERIFY(test::activate(FAbout));
    QWidget* label = FAbout->Label3;
    test::dragAt(label, QPoint(5, label->height() / 2), QPoint(label->width() + 40, label->height() / 2));
    QVERIFY(mail.opened.isEmpty());
    test::clickAt(label);
    QCOMPARE(mail.opened, QStringList{QStringLiteral("mailto:") + TFAbout::ContactAddress});
    QVERIFY(FAbout->isVisible());
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
}

// The window menu's Minimise (which the window manager offers anyway) has no
// effect: the credits window stays on the screen.
void TestCredits::minimisingIsUndone()
{
    FAbout->Show();
    QVERIFY(QTest::qWaitForWindowExposed(FAbout));
    FAbout->showMinimized();
    QTRY_VERIFY(!FAbout->isMinimized());
    QVERIFY(FAbout->isVisible());
}

QTEST_MAIN(TestCredits)
#include "tst_Credits.moc"

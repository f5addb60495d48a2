#include "data/DateText.h"
#include "data/LocaleSettings.h"
#include "data/controls/TMaskEdit.h"
#include "errors/HandlerGuard.h"
#include "widgets/Beep.h"

#include <QClipboard>
#include <QMenu>
#include <QVBoxLayout>
#include <QtTest>

// The masked edit driven by real key and focus events in a shown, active window.
class TestTMaskEdit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void customerCodeBoxTyping();
    void leavingAnIncompleteCodeKeepsTheFocus();
    void leavingUntouchedOrCompleteRaisesNothing();
    void escapeRestoresTheTextFromTheLastVisit();
    void enterValidatesAfterTheKeyHandler();
    void keyboardFocusSelectsAllAndTypingOverBlanksFirst();
    void backspaceAndDeletePutBlanksBack();
    void programWritesAlignAndAreNotModifications();
    void literalsAreSkippedOrJumpedTo();
    void dateMaskTextReadsAsADate();
    void pasteFillsPositionsAndSkipsLiterals();
    void clickAndMenuKeepToTheMask();
    void plainEditWithCharCaseAndLimit();
    void hooksCanRefuseChanges();
    void windowSwitchesNeitherEnterNorLeave();

private:
    void type(const QString& keys) { QTest::keyClicks(m_edit, keys); }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(m_edit, key, modifiers); }
    void focusEdit();

    QWidget* m_window = nullptr;
    TMaskEdit* m_edit = nullptr;
    TMaskEdit* m_other = nullptr;
    QStringList m_errors;
    int m_changes = 0;
    ErrorReporter m_previousReporter;
    std::optional<ScopedLocaleSettings> m_locale;
};

void TestTMaskEdit::init()
{
    m_locale.emplace(LocaleSettings::fromLocale(QLocale::c()));
    m_window = new QWidget;
    auto* layout = new QVBoxLayout(m_window);
    m_edit = new TMaskEdit(m_window);
    m_other = new TMaskEdit(m_window);
    layout->addWidget(m_edit);
    layout->addWidget(m_other);
    m_edit->SetEditMask(QStringLiteral("P\\000;1;_"));
    m_edit->SetText(QStringLiteral("P0  "));
    m_changes = 0;
    m_edit->OnChange = [this] { ++m_changes; };
    m_errors.clear();
    m_previousReporter = setErrorReporter([this](const Exception& e) { m_errors << e.message(); });
    m_window->show();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void TestTMaskEdit::cleanup()
{
    setErrorReporter(m_previousReporter);
    delete m_window;
    m_locale.reset();
}

void TestTMaskEdit::focusEdit()
{
    m_other->setFocus(Qt::OtherFocusReason);
    m_edit->setFocus(Qt::MouseFocusReason);
    QVERIFY(m_edit->hasFocus());
    press(Qt::Key_Home);
}

void TestTMaskEdit::customerCodeBoxTyping()
{
    focusEdit();
    QCOMPARE(m_edit->EditText(), QStringLiteral("P0__"));
    QCOMPARE(m_edit->Text(), QStringLiteral("P0  "));
    QCOMPARE(m_edit->MaxLength(), 4);
    QCOMPARE(m_edit->selectionStart(), 2); // the caret stands on the first digit

    const int beeps = beepCount();
    type(QStringLiteral("a"));
    QCOMPARE(beepCount(), beeps + 1);
    QCOMPARE(m_edit->EditText(), QStringLiteral("P0__"));
    QVERIFY(!m_edit->isModified());
    QCOMPARE(m_changes, 0);

    type(QStringLiteral("1"));
    QCOMPARE(m_edit->EditText(), QStringLiteral("P01_"));
    QCOMPARE(m_edit->Text(), QStringLiteral("P01 "));
    type(QStringLiteral("2"));
    QCOMPARE(m_edit->Text(), QStringLiteral("P012"));
    QCOMPARE(m_changes, 2);
    QVERIFY(m_edit->isModified());

    type(QStringLiteral("3")); // no position left
    QCOMPARE(beepCount(), beeps + 2);
    QCOMPARE(m_edit->Text(), QStringLiteral("P012"));
}

void TestTMaskEdit::leavingAnIncompleteCodeKeepsTheFocus()
{
    focusEdit();
    type(QStringLiteral("1"));
    const int beeps = beepCount();
    press(Qt::Key_Tab);
    QCOMPARE(m_errors, QStringList{QStringLiteral("Invalid input value.  Use escape key to abandon changes")});
    QVERIFY(m_edit->hasFocus());
    QVERIFY(!m_other->hasFocus());
    QCOMPARE(beepCount(), beeps + 1);
    QCOMPARE(m_edit->selectionStart(), 3); // on the empty required position
    QCOMPARE(m_edit->selectedText(), QStringLiteral("_"));

    // a click elsewhere is refused the same way
    m_other->setFocus(Qt::MouseFocusReason);
    QCOMPARE(m_errors.size(), 2);
    QVERIFY(m_edit->hasFocus());

    type(QStringLiteral("7"));
    press(Qt::Key_Tab);
    QCOMPARE(m_errors.size(), 2);
    QVERIFY(m_other->hasFocus());
    QCOMPARE(m_edit->Text(), QStringLiteral("P017"));
}

void TestTMaskEdit::leavingUntouchedOrCompleteRaisesNothing()
{
    focusEdit();
    press(Qt::Key_Tab);
    QVERIFY(m_other->hasFocus());
    // window switches are no focus moves between controls: nothing validates
    focusEdit();
    type(QStringLiteral("4"));
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(m_edit, &away);
    QVERIFY(m_errors.isEmpty());
    QCOMPARE(m_edit->Text(), QStringLiteral("P04 "));
}

void TestTMaskEdit::escapeRestoresTheTextFromTheLastVisit()
{
    m_edit->SetText(QStringLiteral("P05"));
    focusEdit();
    type(QStringLiteral("9"));
    QCOMPARE(m_edit->EditText(), QStringLiteral("P09_"));
    press(Qt::Key_Escape);
    QCOMPARE(m_edit->EditText(), QStringLiteral("P05_"));
    QVERIFY(!m_edit->isModified());

    // after a refused exit, Escape still brings back the text of the visit
    type(QStringLiteral("1"));
    m_other->setFocus(Qt::TabFocusReason);
    QCOMPARE(m_errors.size(), 1);
    press(Qt::Key_Escape);
    QCOMPARE(m_edit->Text(), QStringLiteral("P05 "));
    press(Qt::Key_Tab);
    QVERIFY(m_other->hasFocus());
    QCOMPARE(m_errors.size(), 1);

    // a program's write is what Escape brings back afterwards
    focusEdit();
    m_edit->SetText(QStringLiteral("P033"));
    type(QStringLiteral("4"));
    press(Qt::Key_Escape);
    QCOMPARE(m_edit->Text(), QStringLiteral("P033"));
}

void TestTMaskEdit::enterValidatesAfterTheKeyHandler()
{
    QStringList seen;
    m_edit->OnKeyPress = [&](QChar& key) { seen << (key == QChar(13) ? QStringLiteral("enter") : QString(key)); };
    setErrorReporter([&](const Exception& e) { seen << e.message(); });
    focusEdit();
    type(QStringLiteral("1"));
    press(Qt::Key_Return);
    QCOMPARE(seen, QStringList({QStringLiteral("1"), QStringLiteral("enter"),
                                QStringLiteral("Invalid input value.  Use escape key to abandon changes")}));
    QVERIFY(m_edit->hasFocus());

    // a handler can swallow a key before the control sees it
    m_edit->OnKeyPress = [](QChar& key) { if (key == QLatin1Char('5')) key = QChar(); };
    type(QStringLiteral("5"));
    QCOMPARE(m_edit->Text(), QStringLiteral("P01 "));
}

void TestTMaskEdit::keyboardFocusSelectsAllAndTypingOverBlanksFirst()
{
    m_edit->SetText(QStringLiteral("P012"));
    m_other->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(m_other, Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(m_edit->hasFocus());
    QCOMPARE(m_edit->selectedText(), QStringLiteral("P012"));
    type(QStringLiteral("5"));
    QCOMPARE(m_edit->EditText(), QStringLiteral("P05_"));
    QCOMPARE(m_edit->selectionStart(), 3);

    // a refused character still blanks the selection it types over
    m_edit->selectAll();
    const int beeps = beepCount();
    type(QStringLiteral("x"));
    QCOMPARE(m_edit->EditText(), QStringLiteral("P0__"));
    QCOMPARE(beepCount(), beeps + 1);
}

void TestTMaskEdit::backspaceAndDeletePutBlanksBack()
{
    m_edit->SetText(QStringLiteral("P012"));
    focusEdit();
    press(Qt::Key_End);
    press(Qt::Key_Backspace);
    QCOMPARE(m_edit->EditText(), QStringLiteral("P01_"));
    press(Qt::Key_Backspace);
    press(Qt::Key_Backspace); // nothing but literals before the caret
    QCOMPARE(m_edit->EditText(), QStringLiteral("P0__"));
    QCOMPARE(m_edit->selectionStart(), 2);

    m_edit->SetText(QStringLiteral("P012"));
    press(Qt::Key_Home);
    press(Qt::Key_Delete);
    QCOMPARE(m_edit->EditText(), QStringLiteral("P0_2"));
    press(Qt::Key_Right);
    QCOMPARE(m_edit->selectionStart(), 3);
    press(Qt::Key_Left);
    press(Qt::Key_Left); // stays on the first digit
    QCOMPARE(m_edit->selectionStart(), 2);
    m_edit->selectAll();
    press(Qt::Key_Delete);
    QCOMPARE(m_edit->EditText(), QStringLiteral("P0__"));
    QCOMPARE(m_edit->Text(), QStringLiteral("P0  "));
}

void TestTMaskEdit::programWritesAlignAndAreNotModifications()
{
    focusEdit();
    type(QStringLiteral("8"));
    QVERIFY(m_edit->isModified());
    m_changes = 0;
    m_edit->SetText(QStringLiteral("P0"));
    QCOMPARE(m_edit->EditText(), QStringLiteral("P0__"));
    QVERIFY(!m_edit->isModified());
    QCOMPARE(m_changes, 1);
    m_edit->SetText(QStringLiteral("P0  ")); // the same shown text: no change event
    QCOMPARE(m_changes, 1);
    m_edit->SetText(QStringLiteral("P012"));
    QCOMPARE(m_changes, 2);

    // a write through the plain line edit is aligned all the same
    static_cast<QLineEdit*>(m_edit)->setText(QStringLiteral("P09"));
    QCOMPARE(m_edit->EditText(), QStringLiteral("P09_"));
    QCOMPARE(m_changes, 3);
    QVERIFY(!m_edit->isModified());
    press(Qt::Key_Tab);
    QVERIFY(m_errors.isEmpty());
}

void TestTMaskEdit::literalsAreSkippedOrJumpedTo()
{
    m_edit->SetEditMask(QStringLiteral("!\\(999\\)000-0000;1;_"));
    QCOMPARE(m_edit->EditText(), QStringLiteral("(___)___-____"));
    focusEdit();
    QCOMPARE(m_edit->selectionStart(), 1);
    type(QStringLiteral(")5551234"));
    QCOMPARE(m_edit->EditText(), QStringLiteral("(___)555-1234"));
    QCOMPARE(m_edit->Text(), QStringLiteral("(   )555-1234"));
    press(Qt::Key_Tab);
    QVERIFY(m_errors.isEmpty()); // the area code is optional

    m_edit->SetText(QString());
    focusEdit();
    type(QStringLiteral("021555-123"));
    QCOMPARE(m_edit->EditText(), QStringLiteral("(021)555-123_"));
    press(Qt::Key_Tab);
    QCOMPARE(m_errors.size(), 1);
    QCOMPARE(m_edit->selectionStart(), 12);
}

void TestTMaskEdit::dateMaskTextReadsAsADate()
{
    LocaleSettings settings = localeSettings();
    settings.ShortDateFormat = QStringLiteral("dd/mm/yyyy");
    settings.DateSeparator = QLatin1Char('-');
    ScopedLocaleSettings dayFirst(settings);
    m_edit->SetEditMask(QStringLiteral("!99/99/0000;1;_"));
    m_edit->SetText(ShortDateText(QDate(2004, 1, 5)));
    QCOMPARE(m_edit->EditText(), QStringLiteral("05-01-2004"));

    m_edit->SetText(QString());
    focusEdit();
    type(QStringLiteral("5-1-2004"));
    QCOMPARE(m_edit->EditText(), QStringLiteral("5_-1_-2004"));
    QCOMPARE(m_edit->Text(), QStringLiteral("5 -1 -2004"));
    QCOMPARE(ParseShortDate(m_edit->Text()), QDate(2004, 1, 5));
    press(Qt::Key_Tab);
    QVERIFY(m_errors.isEmpty());
}

void TestTMaskEdit::pasteFillsPositionsAndSkipsLiterals()
{
    m_edit->SetEditMask(QStringLiteral("!\\(999\\)000-0000;1;_"));
    focusEdit();
    QGuiApplication::clipboard()->setText(QStringLiteral("(021)555-1234"));
    m_edit->selectAll();
    press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_edit->EditText(), QStringLiteral("(021)555-1234"));
    QVERIFY(m_edit->isModified());

    m_edit->selectAll();
    press(Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("(021)555-1234"));
    QCOMPARE(m_edit->EditText(), QStringLiteral("(___)___-____"));
}

void TestTMaskEdit::clickAndMenuKeepToTheMask()
{
    m_edit->SetText(QStringLiteral("P012"));
    m_other->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(m_edit, Qt::LeftButton, {}, QPoint(2, m_edit->height() / 2)); // on the "P"
    QVERIFY(m_edit->hasFocus());
    QCOMPARE(m_edit->selectionStart(), 2);
    QCOMPARE(m_edit->selectedText(), QStringLiteral("1"));

    QGuiApplication::clipboard()->setText(QStringLiteral("x9"));
    const int beeps = beepCount();
    QTimer::singleShot(0, this, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        for (QAction* action : menu->actions()) {
            if (action->text() == QStringLiteral("&Paste"))
                action->trigger();
        }
        menu->close();
    });
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), m_edit->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(m_edit, &menuEvent);
    QCOMPARE(m_edit->EditText(), QStringLiteral("P092"));
    QCOMPARE(beepCount(), beeps + 1); // for the refused "x"
    QVERIFY(m_edit->isModified());
}

void TestTMaskEdit::plainEditWithCharCaseAndLimit()
{
    m_edit->SetEditMask(QString());
    m_edit->SetText(QString());
    m_edit->SetCharCase(TEditCharCase::ecUpperCase);
    m_edit->SetMaxLength(4);
    focusEdit();
    m_changes = 0;
    const int beeps = beepCount();
    type(QStringLiteral("p0123"));
    QCOMPARE(m_edit->Text(), QStringLiteral("P012"));
    QCOMPARE(beepCount(), beeps + 1);
    press(Qt::Key_Backspace);
    QCOMPARE(m_edit->Text(), QStringLiteral("P01"));
    QCOMPARE(m_changes, 5);
    press(Qt::Key_Tab); // no mask, nothing to validate
    QVERIFY(m_errors.isEmpty());
    m_edit->SetText(QStringLiteral("abcdef"));
    QCOMPARE(m_edit->Text(), QStringLiteral("ABCD"));
}

// A data-aware edit refuses changes through its hooks, before any change.
class RefusingEdit : public TMaskEdit {
public:
    using TMaskEdit::TMaskEdit;
    bool allow = false;
    int asked = 0;

protected:
    bool EditCanModify() override
    {
        ++asked;
        return allow;
    }
};

void TestTMaskEdit::hooksCanRefuseChanges()
{
    auto* edit = new RefusingEdit(m_window);
    m_window->layout()->addWidget(edit);
    edit->show();
    edit->SetEditMask(QStringLiteral("P\\000;1;_"));
    edit->setFocus(Qt::MouseFocusReason);
    QVERIFY(edit->hasFocus());
    QTest::keyClicks(edit, QStringLiteral("12"));
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClick(edit, Qt::Key_Right); // moving asks nothing
    QCOMPARE(edit->asked, 3);
    QCOMPARE(edit->EditText(), QStringLiteral("P0__"));
    edit->allow = true;
    QTest::keyClicks(edit, QStringLiteral("12"));
    QCOMPARE(edit->EditText(), QStringLiteral("P0_1"));
}


// Counts the control's visits.
class CountingEdit : public TMaskEdit {
public:
    using TMaskEdit::TMaskEdit;
    int enters = 0, exits = 0;

protected:
    void DoEnter(Qt::FocusReason reason) override
    {
        ++enters;
        TMaskEdit::DoEnter(reason);
    }
    void DoExit() override
    {
        ++exits;
        TMaskEdit::DoExit();
    }
};

void TestTMaskEdit::windowSwitchesNeitherEnterNorLeave()
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* first = new CountingEdit(&window);
    auto* second = new CountingEdit(&window);
    layout->addWidget(first);
    layout->addWidget(second);
    first->SetEditMask(QStringLiteral("P\\000;1;_"));
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(first->hasFocus());
    QCOMPARE(first->enters, 1); // the window's first focus control is entered

    QTest::keyClicks(first, QStringLiteral("1"));
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(first->hasFocus());
    QCOMPARE(first->enters, 1);
    QCOMPARE(first->exits, 0);
    QVERIFY(m_errors.isEmpty()); // an incomplete code doesn't stop a window switch

    QTest::keyClick(first, Qt::Key_Tab);
    QCOMPARE(first->exits, 1);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY(first->hasFocus());
    QCOMPARE(first->enters, 1); // keeping the focus is no new visit
    QCOMPARE(second->enters, 0);
    QCOMPARE(second->exits, 0); // the control the focus nearly went to saw nothing
}

QTEST_MAIN(TestTMaskEdit)
#include "tst_TMaskEdit.moc"

#pragma once

// Keyboard and mouse as the platform delivers them. Keys go to the window
// that has the keyboard focus, which hands them to its focus widget (or its
// keyboard grabber, or an open popup); clicks and wheel turns land at a point
// of a window and reach whatever lies on top there. So a test types and
// clicks through the same paths as an operator: a key the focus widget
// forwards elsewhere, a control hidden under another, a window blocked by a
// modal box behave here as they do on the screen. Every widget test also runs
// with the guard of RealInputGuard.cpp, which fails a test that sends input
// where the platform never would.

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>
#include <QtTest>
#include <QtTest/qtestspontaneevent.h>

namespace test {

// The window the keyboard types into; fails the test when there is none.
inline QWindow* keyboardWindow()
{
    QWindow* window = QGuiApplication::focusWindow();
    if (!window)
        QTest::qFail("no window has the keyboard focus", __FILE__, __LINE__);
    return window;
}

// Presses and releases a key (with modifiers) on the keyboard.
inline void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    if (QWindow* window = keyboardWindow())
        QTest::keyClick(window, key, modifiers);
}

// Types the characters of text, one key each.
inline void type(const QString& text)
{
    for (const QChar c : text) {
        QWindow* window = keyboardWindow();
        if (!window)
            return;
        const char ascii = c.toLatin1();
        const Qt::Key k = ascii > 0 ? QTest::asciiToKey(ascii) : Qt::Key(c.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Click, window, k, QString(c), Qt::NoModifier);
    }
}

// The point `at` of `widget` (its centre by default) in its window.
inline QPoint pointInWindow(const QWidget* widget, QPoint at = QPoint(-1, -1))
{
    if (at == QPoint(-1, -1))
        at = widget->rect().center();
    return widget->mapTo(widget->window(), at);
}

inline QWindow* windowOf(const QWidget* widget)
{
    QWindow* window = widget->window()->windowHandle();
    if (!window || !widget->isVisible())
        QTest::qFail(qPrintable(QStringLiteral("%1 is not on the screen").arg(widget->metaObject()->className())),
                     __FILE__, __LINE__);
    return window;
}

// Brings a window to the front and gives it the keyboard, as a click on it does.
inline bool activate(QWidget* window)
{
    window->raise();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

// What the window manager does on a press in a window without the keyboard:
// it gets the keyboard (not a popup, nor a window a modal box blocks).
inline void focusOnPress(const QWidget* widget)
{
    QWidget* top = widget->window();
    if (top->isActiveWindow() || top->windowType() == Qt::Popup || QApplication::activePopupWidget())
        return;
    const QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == top)
        activate(top);
}

// A click at a point of a widget (its centre by default), through its window.
inline void clickAt(const QWidget* widget, QPoint at = QPoint(-1, -1), Qt::MouseButton button = Qt::LeftButton,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    if (QWindow* window = windowOf(widget)) {
        focusOnPress(widget);
        QTest::mouseClick(window, button, modifiers, pointInWindow(widget, at));
    }
}

inline void doubleClickAt(const QWidget* widget, QPoint at = QPoint(-1, -1))
{
    if (QWindow* window = windowOf(widget)) {
        focusOnPress(widget);
        QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, pointInWindow(widget, at));
    }
}

// A drag with the left button from one point of a widget to another.
inline void dragAt(const QWidget* widget, QPoint from, QPoint to)
{
    QWindow* window = windowOf(widget);
    if (!window)
        return;
    focusOnPress(widget);
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, pointInWindow(widget, from));
    const int steps = 8;
    for (int i = 1; i <= steps; ++i)
        QTest::mouseMove(window, pointInWindow(widget, from + (to - from) * i / steps));
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, pointInWindow(widget, to));
}

// Turns the mouse wheel over a point of a widget: `notches` steps away from
// the user (negative: towards), delivered to what lies there, as the window does.
inline void wheelAt(const QWidget* widget, int notches, QPoint at = QPoint(-1, -1))
{
    if (!windowOf(widget))
        return;
    QWidget* top = widget->window();
    const QPoint inWindow = pointInWindow(widget, at);
    QWidget* target = top->childAt(inWindow);
    if (!target)
        target = top;
    const QPointF local = target->mapFrom(top, inWindow);
    QWheelEvent wheel(local, target->mapToGlobal(local), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    qApp->notify(target, &wheel);
}

// Opens a combo box's list with a click on its arrow and clicks an item.
inline void choose(QComboBox* box, int index)
{
    clickAt(box, QPoint(box->width() - 6, box->height() / 2));
    QAbstractItemView* list = box->view();
    QTRY_VERIFY(list->isVisible());
    const QModelIndex item = box->model()->index(index, 0);
    list->scrollTo(item);
    clickAt(list->viewport(), list->visualRect(item).center());
    QTRY_VERIFY(!list->isVisible());
}

inline void choose(QComboBox* box, const QString& item)
{
    QVERIFY2(box->findText(item) >= 0, qPrintable(item));
    choose(box, box->findText(item));
}

} // namespace test

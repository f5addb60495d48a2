// Linked into every widget test: fails the running test when it delivers a
// key press, a click or a wheel turn where the platform never would. Keys
// reach the keyboard grabber, else an open popup's focus widget, else the
// focus widget of the active window (and, unaccepted, its parents); a click
// or a wheel turn reaches the widget on top at its point (and its parents),
// never one in a window a modal box blocks. A test that sends a key to a
// combo box's inner line edit, to a scroll area's viewport or to a control
// without the focus would pass while real typing does something else.

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>
#include <QtTest>

namespace {

QString describe(const QObject* object)
{
    if (!object)
        return QStringLiteral("nothing");
    const QString name = object->objectName();
    return QString::fromLatin1(object->metaObject()->className()) + (name.isEmpty() ? QString() : u' ' + name);
}

bool isSelfOrAncestor(const QWidget* widget, const QWidget* of)
{
    return of && (widget == of || widget->isAncestorOf(of));
}

// The widget the platform hands a key press to: the keyboard grabber, an
// open popup's focus widget, else the focus widget of the window that has
// the keyboard (a popup such as a combo box's list is such a window too).
QWidget* keyReceiver()
{
    if (QWidget* grabber = QWidget::keyboardGrabber())
        return grabber;
    QWidget* window = QApplication::activePopupWidget();
    for (QWidget* top : QApplication::topLevelWidgets())
        if (!window && top->windowHandle() && top->windowHandle() == QGuiApplication::focusWindow())
            window = top;
    if (!window)
        return QApplication::focusWidget();
    return window->focusWidget() ? window->focusWidget() : window;
}

// Whether a modal box keeps input away from the window `top`.
bool blockedByModal(const QWidget* top)
{
    const QWidget* modal = QApplication::activeModalWidget();
    if (!modal || isSelfOrAncestor(modal, top))
        return false;
    if (modal->windowModality() == Qt::ApplicationModal)
        return true;
    for (const QWidget* owner = modal->parentWidget(); owner; owner = owner->parentWidget())
        if (owner->window() == top)
            return true;
    return false;
}

// The widget the platform hands a click or wheel turn at `position` of `widget` to.
QWidget* pointerReceiver(QWidget* widget, const QPointF& position)
{
    if (QWidget* grabber = QWidget::mouseGrabber())
        return grabber;
    QWidget* top = widget->window();
    QWidget* hit = top->childAt(widget->mapTo(top, position.toPoint()));
    return hit ? hit : top;
}

class RealInputGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (!event->spontaneous() || !receiver->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(receiver);
        // An event its receiver left passes on to the parents: only its first
        // delivery is checked (handling it may have closed a popup).
        const bool propagated = event == m_lastEvent && m_lastReceiver && widget->isAncestorOf(m_lastReceiver);
        m_lastEvent = event;
        m_lastReceiver = widget;
        if (propagated)
            return false;
        switch (event->type()) {
        case QEvent::KeyPress:
            if (!isSelfOrAncestor(widget, keyReceiver()))
                return refuse(QStringLiteral("a key sent to %1, but the keyboard types into %2")
                                  .arg(describe(widget), describe(keyReceiver())));
            return false;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return checkPointer(widget, static_cast<QMouseEvent*>(event)->position());
        case QEvent::Wheel:
            return checkPointer(widget, static_cast<QWheelEvent*>(event)->position());
        default:
            return false;
        }
    }

private:
    bool checkPointer(QWidget* widget, const QPointF& position)
    {
        if (QApplication::activePopupWidget() && !QWidget::mouseGrabber())
            return false; // an open popup takes every click, and closes on one outside it
        if (blockedByModal(widget->window()))
            return refuse(QStringLiteral("a click on %1, whose window a modal box blocks").arg(describe(widget)));
        QWidget* target = pointerReceiver(widget, position);
        if (!isSelfOrAncestor(widget, target))
            return refuse(QStringLiteral("a click on %1, but at that point the window shows %2")
                              .arg(describe(widget), describe(target)));
        return false;
    }

    const QEvent* m_lastEvent = nullptr;
    QPointer<QWidget> m_lastReceiver;

    static bool refuse(const QString& what)
    {
        QTest::qFail(qPrintable(QStringLiteral("input the platform would not deliver: ") + what), __FILE__, __LINE__);
        return true;
    }
};

void installGuard()
{
    qApp->installEventFilter(new RealInputGuard(qApp));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installGuard)

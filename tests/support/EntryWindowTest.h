#pragma once

// Helpers for tests of the data entry windows: a watch that answers every
// modal box shown while it lives and records what each said, the user's
// ways of typing, choosing from a combo box and clicking a flat button, and
// a stored order line's value.

#include "TestDatabase.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace test {

// One box as the watch saw it.
struct WatchedBox {
    QString caption;
    QString text;
};

// While it lives, answers each modal box that appears with the next of the
// given answers ("Enter", "Esc", "close" or a button caption; "Enter" once
// they run out) and records caption and text, in order. When it ends after
// a box, it waits until the box's window is active again, as a user would.
class ModalWatch {
public:
    explicit ModalWatch(QStringList answers = {}) : m_answers(std::move(answers))
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }
    ~ModalWatch()
    {
        m_timer.stop();
        if (!m_boxes.isEmpty() && !QTest::qWaitFor([] { return QApplication::activeWindow() != nullptr; }, 2000))
            qWarning("no window is active after the boxes");
    }
    ModalWatch(const ModalWatch&) = delete;
    ModalWatch& operator=(const ModalWatch&) = delete;

    const QList<WatchedBox>& boxes() const { return m_boxes; }
    QStringList texts() const
    {
        QStringList list;
        for (const WatchedBox& box : m_boxes)
            list << box.text;
        return list;
    }

private:
    void poll()
    {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || !box->isVisible() || box == m_lastBox)
            return;
        m_lastBox = box;
        m_boxes.append({box->windowTitle(), textOf(box)});
        answer(box, m_answers.isEmpty() ? QStringLiteral("Enter") : m_answers.takeFirst());
    }

    static QString textOf(QWidget* box)
    {
        if (auto* mb = qobject_cast<QMessageBox*>(box))
            return mb->text();
        const QLabel* label = box->findChild<QLabel*>(QStringLiteral("Message"));
        return label ? label->text() : QString();
    }

    static void answer(QWidget* box, const QString& how)
    {
        QWidget* target = box->focusWidget() ? box->focusWidget() : box;
        if (how == QLatin1String("Enter"))
            QTest::keyClick(target, Qt::Key_Return);
        else if (how == QLatin1String("Esc"))
            QTest::keyClick(target, Qt::Key_Escape);
        else if (how == QLatin1String("close"))
            box->close();
        else
            for (QAbstractButton* b : box->findChildren<QAbstractButton*>())
                if (b->text().remove(QLatin1Char('&')) == how)
                    b->click();
    }

    QStringList m_answers;
    QList<WatchedBox> m_boxes;
    QTimer m_timer;
    QPointer<QWidget> m_lastBox;
};

// Opens the combo box's list and picks an item with the keyboard.
inline void chooseItem(QComboBox* combo, const QString& item)
{
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    QTRY_VERIFY(list->isVisible());
    list->setCurrentIndex(combo->model()->index(combo->findText(item), 0));
    QTest::keyClick(list, Qt::Key_Return);
    QTRY_VERIFY(!list->isVisible());
}

inline void click(QWidget* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// Types into a masked box from its first position (literals are skipped).
inline void typeFromStart(QLineEdit* box, const QString& text)
{
    box->setFocus(Qt::MouseFocusReason);
    box->deselect();
    box->setCursorPosition(0);
    QTest::keyClicks(box, text);
}

// Clicks into an edit, selects its text and types over it.
inline void typeOver(QWidget* edit, const QString& text)
{
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

// A column of the order line with the given number, as stored; null when
// there is no such line.
inline QVariant storedLine(const TestDatabase& db, const QString& column, double orderNumber)
{
    return db.exec(QStringLiteral("SELECT \"%1\" FROM DataBarang WHERE \"No Pesanan\" = ?").arg(column),
                   QVariantList{orderNumber})
        .value(0);
}

} // namespace test

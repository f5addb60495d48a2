#pragma once

// Answers every modal box that appears while it lives, in order, and records
// what each box said. Answers come from a queue: "Enter", "Esc", "close"
// (the close box) or the caption of a button ("Yes", "No", "OK"). Once the
// queue is empty a box gets its OK button, or Enter when it has none. So a
// test can state the exact messages a user sees, and that no box appeared.
// When it ends after a box, it waits until a window is active again, as a
// user would before the next click.

#include "ModalAnswer.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>

namespace test {

// One box as the log saw it.
struct LoggedBox {
    QString caption;
    QString text;
};

class MessageLog {
public:
    explicit MessageLog(QStringList answers = {}) : m_answers(std::move(answers))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(5);
    }
    ~MessageLog()
    {
        m_timer.stop();
        if (!m_boxes.isEmpty() && !QTest::qWaitFor([] { return QApplication::activeWindow() != nullptr; }, 2000))
            qWarning("no window is active after the boxes");
    }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    const QList<LoggedBox>& boxes() const { return m_boxes; }
    QStringList texts() const
    {
        QStringList list;
        for (const LoggedBox& box : m_boxes)
            list << box.text;
        return list;
    }
    // Answers not yet used.
    const QStringList& unusedAnswers() const { return m_answers; }

private:
    static QString textOf(QWidget* box)
    {
        if (auto* mb = qobject_cast<QMessageBox*>(box))
            return mb->text();
        if (auto* label = box->findChild<QLabel*>(QStringLiteral("Message")))
            return label->text();
        return box->windowTitle();
    }

    void poll()
    {
        QWidget* box = QApplication::activeModalWidget();
        // Answered once it has the keyboard, as a user sees it first.
        if (!box || !box->isVisible() || box == m_answered || QGuiApplication::focusWindow() != box->windowHandle())
            return;
        m_answered = box;
        m_boxes.append({box->windowTitle(), textOf(box)});
        answerBox(box, m_answers.isEmpty() ? QString() : m_answers.takeFirst());
    }

    static void answerBox(QWidget* box, const QString& how)
    {
        if (how == QLatin1String("close")) {
            box->close();
        } else if (how == QLatin1String("Esc")) {
            pressKeyOn(box, Qt::Key_Escape);
        } else if (QAbstractButton* button = buttonCaptioned(box, how.isEmpty() ? QStringLiteral("OK") : how)) {
            clickAt(button);
        } else if (how.isEmpty() || how == QLatin1String("Enter")) {
            pressKeyOn(box, Qt::Key_Return);
        } else {
            qWarning("no button %s on the box; closing it", qPrintable(how));
            box->close();
        }
    }

    QStringList m_answers;
    QList<LoggedBox> m_boxes;
    QTimer m_timer;
    QPointer<QWidget> m_answered;
};

} // namespace test

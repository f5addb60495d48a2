#pragma once

// Answers every modal box that appears while it lives, in order, and records
// what each box said. Answers are taken from a queue ("Yes", "No", "OK",
// "close" for the close box); once the queue is empty a box gets OK, or is
// closed when it has none. So a test can state the exact messages a user
// sees, and that no box appeared at all.

#include "ModalAnswer.h"

#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>

namespace test {

class MessageLog {
public:
    explicit MessageLog(QStringList answers = {}) : m_answers(std::move(answers))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(10);
    }

    QStringList texts;

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
        if (!box || !box->isVisible() || box == m_answered)
            return;
        m_answered = box;
        texts << textOf(box);
        const QString how = m_answers.isEmpty() ? QStringLiteral("OK") : m_answers.takeFirst();
        if (how == QLatin1String("close")) {
            box->close();
        } else if (QAbstractButton* button = buttonCaptioned(box, how)) {
            button->click();
        } else {
            qWarning("no button %s on the box; closing it", qPrintable(how));
            box->close();
        }
    }

    QStringList m_answers;
    QTimer m_timer;
    QPointer<QWidget> m_answered;
};

} // namespace test

#pragma once

#include <QEvent>

// Notifications between the output object, its client window (preview or
// progress window) and its master report, numbered from the user event base.
enum TRepMessageType {
    ProgressMessage = QEvent::User + 0,      // to the client: percent done
    PageAvailableMessage = QEvent::User + 1, // to the client: finished pages
    PrintRequestMessage = QEvent::User + 2,  // to the master: print again to the printer
    PreviewClosedMessage = QEvent::User + 4, // to the master: the preview closed
};

class TRepMessage : public QEvent {
public:
    TRepMessage(TRepMessageType type, qintptr param) : QEvent(QEvent::Type(type)), m_param(param) {}
    qintptr param() const { return m_param; }

private:
    qintptr m_param;
};

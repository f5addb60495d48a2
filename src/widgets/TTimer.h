#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

// A window timer: enabled from its creation unless told otherwise, 1000 ms by
// default. A timer with interval 0 or without a handler never fires. The
// handler runs through the guard.
class TTimer : public QObject {
    Q_OBJECT
public:
    explicit TTimer(QObject* owner, int interval = 1000, std::function<void()> onTimer = {});

    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int Interval() const { return m_interval; }
    void setInterval(int interval);
    void setOnTimer(std::function<void()> onTimer);
    bool isRunning() const { return m_timer.isActive(); }

private:
    void update();

    QTimer m_timer;
    int m_interval;
    bool m_enabled = true;
    std::function<void()> m_onTimer;
};

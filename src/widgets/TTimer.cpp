#include "widgets/TTimer.h"

#include "errors/HandlerGuard.h"

TTimer::TTimer(QObject* owner, int interval, std::function<void()> onTimer)
    : QObject(owner), m_interval(interval), m_onTimer(std::move(onTimer))
{
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_onTimer)
            guarded(m_onTimer);
    });
    update();
}

void TTimer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    update();
}

void TTimer::setInterval(int interval)
{
    m_interval = interval;
    update();
}

void TTimer::setOnTimer(std::function<void()> onTimer)
{
    m_onTimer = std::move(onTimer);
    update();
}

// Changing any property restarts the count, as a window timer does.
void TTimer::update()
{
    m_timer.stop();
    if (m_enabled && m_interval > 0 && m_onTimer)
        m_timer.start(m_interval);
}

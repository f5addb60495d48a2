#pragma once

#include <QElapsedTimer>

#include <functional>

// A long piece of work on the user-interface thread (a total loop over a
// view), which the operator should see as such: once it has run for a
// moment, the indicator the user interface installs (a busy cursor) is
// switched on until the work ends. The data layer has no windows of its own.
class LongWork {
public:
    LongWork();
    ~LongWork();
    LongWork(const LongWork&) = delete;
    LongWork& operator=(const LongWork&) = delete;

    // Called on every step of the work; looks at the clock now and then only.
    void Step()
    {
        if (++m_steps % CheckEvery == 0)
            CheckTime();
    }

    // The indicator: called with true when work has gone on for a moment,
    // with false when it ends.
    static void SetIndicator(std::function<void(bool busy)> indicator);

private:
    static constexpr int CheckEvery = 1024;
    void CheckTime();

    QElapsedTimer m_clock;
    qint64 m_steps = 0;
    bool m_shown = false;
};

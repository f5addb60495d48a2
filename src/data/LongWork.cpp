#include "LongWork.h"

namespace {

// How long work may run before the operator is shown that it goes on.
constexpr qint64 MomentMs = 150;

std::function<void(bool)>& indicator()
{
    static std::function<void(bool)> installed;
    return installed;
}

// Work inside other work shows nothing more.
bool& indicatorOn()
{
    static bool on = false;
    return on;
}

} // namespace

LongWork::LongWork()
{
    m_clock.start();
}

LongWork::~LongWork()
{
    if (!m_shown)
        return;
    indicatorOn() = false;
    if (indicator())
        indicator()(false);
}

void LongWork::CheckTime()
{
    if (m_shown || indicatorOn() || m_clock.elapsed() < MomentMs)
        return;
    m_shown = indicatorOn() = true;
    if (indicator())
        indicator()(true);
}

void LongWork::SetIndicator(std::function<void(bool busy)> installed)
{
    indicator() = std::move(installed);
}

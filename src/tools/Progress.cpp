#include "Progress.h"

#include "Console.h"

Progress::Progress(const QString& what, const QString& unit) : m_what(what), m_unit(unit)
{
    m_timer.start();
}

void Progress::report(qint64 done, qint64 total)
{
    if (m_timer.elapsed() < m_nextReport)
        return;
    m_nextReport = m_timer.elapsed() + 1000;
    const QString amount = total < 0 ? QString::number(done) : QStringLiteral("%1 of %2").arg(done).arg(total);
    Console::print(QStringLiteral("%1: %2 %3").arg(m_what, amount, m_unit));
}

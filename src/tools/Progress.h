#pragma once

#include <QElapsedTimer>
#include <QString>

// Progress of long work on standard output: nothing for work done within a
// second, then one line a second ("Copying: 1200 of 5000 pages").
class Progress {
public:
    Progress(const QString& what, const QString& unit);
    void report(qint64 done, qint64 total = -1);

private:
    QString m_what;
    QString m_unit;
    QElapsedTimer m_timer;
    qint64 m_nextReport = 1000;
};

#pragma once

// Runs the built pwangsa-admin with the test's environment (its
// XDG_CONFIG_HOME and XDG_DATA_HOME) and collects what it says.

#include <QProcess>
#include <QString>
#include <QStringList>

struct AdminRun {
    int code;
    QString out;
    QString err;
};

inline AdminRun runAdmin(const QStringList& arguments, const QByteArray& input = QByteArray())
{
    QProcess process;
    process.start(QStringLiteral(PWANGSA_ADMIN_BIN), arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(120000);
    return AdminRun{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                    QString::fromLocal8Bit(process.readAllStandardOutput()),
                    QString::fromLocal8Bit(process.readAllStandardError())};
}

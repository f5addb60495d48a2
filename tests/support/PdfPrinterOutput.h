#pragma once

// Where the virtual PDF printer (cups-pdf, set up by scripts/start-cups) puts
// its jobs: the folder its configuration names ("Out", default ${HOME}/PDF),
// with ${HOME} the home folder of the job's account as the password database
// has it, not this process's $HOME.

#include <QFile>
#include <QRegularExpression>
#include <QString>

#include <pwd.h>
#include <unistd.h>

inline QString pdfPrinterOutputFolder()
{
    const passwd* account = ::getpwuid(::geteuid());
    const QString home = account ? QFile::decodeName(account->pw_dir) : QString();
    QString folder = QStringLiteral("${HOME}/PDF");
    QFile config(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (config.open(QIODevice::ReadOnly)) {
        static const QRegularExpression out(QStringLiteral("^Out\\s+(\\S.*)$"), QRegularExpression::MultilineOption);
        const QRegularExpressionMatch match = out.match(QString::fromUtf8(config.readAll()));
        if (match.hasMatch())
            folder = match.captured(1).trimmed();
    }
    return folder.replace(QStringLiteral("${HOME}"), home);
}

#pragma once

// Reads back what a PDF shows, through poppler's command-line tools.

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

namespace test {

inline bool havePdfTools()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

inline QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of each page, laid out as on paper (pdftotext -layout).
inline QStringList pdfPages(const QString& pdf)
{
    QStringList pages =
        runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// The page size in points as pdfinfo reports it, e.g. "529 x 842".
inline QString pdfPageSize(const QString& pdf)
{
    const QString info = runTool(QStringLiteral("pdfinfo"), {pdf});
    return QRegularExpression(QStringLiteral("Page size:\\s+(\\S+ x \\S+) pts")).match(info).captured(1);
}

// The lines of a page text with their blanks collapsed.
inline QStringList simpleLines(const QString& page)
{
    QStringList lines;
    for (const QString& line : page.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty())
            lines << line.simplified();
    return lines;
}

}

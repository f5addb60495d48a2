#include "RenderCommand.h"

#include "CommandLine.h"
#include "Console.h"

#include "reports/TRepPrinter.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace RenderCommand {

namespace {

using CommandLine::UsageError;

struct Request {
    QString file;
    QString pdf; // empty: to a printer
    QString printer;
};

Request parseRequest(const QStringList& arguments, bool* helpShown)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Draws the pages of a saved prepared-report file (the preview window's Save Report) into a PDF file or "
        "onto a printer, on the paper the pages were made for. A damaged file is refused and nothing is written."));
    const QCommandLineOption pdf(QStringLiteral("pdf"), QStringLiteral("Write the pages to a PDF file."),
                                 QStringLiteral("OUT"));
    const QCommandLineOption print(QStringLiteral("print"), QStringLiteral("Print on the default printer."));
    const QCommandLineOption printer(QStringLiteral("printer"), QStringLiteral("Print on this printer instead."),
                                     QStringLiteral("NAME"));
    parser.addOptions({pdf, print, printer});
    *helpShown = !CommandLine::parse(parser, QStringLiteral("render"), arguments, {QStringLiteral("FILE")});
    if (*helpShown)
        return {};
    if (parser.isSet(pdf) == parser.isSet(print))
        throw UsageError("give exactly one of --pdf OUT and --print");
    if (parser.isSet(printer) && !parser.isSet(print))
        throw UsageError("--printer goes with --print");
    Request request;
    request.file = QFileInfo(parser.positionalArguments().first()).absoluteFilePath();
    if (parser.isSet(pdf))
        request.pdf = QFileInfo(parser.value(pdf)).absoluteFilePath();
    request.printer = parser.value(printer);
    return request;
}

QString pages(int count)
{
    return count == 1 ? QStringLiteral("1 page") : QStringLiteral("%1 pages").arg(count);
}

// A file beside the target that takes the output and replaces the target
// only once it is complete; removed when it never gets that far.
class PendingFile {
public:
    explicit PendingFile(const QString& target)
        : m_target(target), m_file(target + QStringLiteral(".XXXXXX"))
    {
        if (!m_file.open())
            throw std::runtime_error(
                QStringLiteral("cannot write %1: %2").arg(target, m_file.errorString()).toStdString());
        m_file.close();
    }

    QString fileName() const { return m_file.fileName(); }

    void commit()
    {
        if (QFileInfo(fileName()).size() <= 0)
            throw std::runtime_error(QStringLiteral("cannot write %1").arg(m_target).toStdString());
        if (std::rename(QFile::encodeName(fileName()).constData(), QFile::encodeName(m_target).constData()) != 0)
            throw std::runtime_error(QStringLiteral("cannot write %1: %2")
                                         .arg(m_target, QString::fromLocal8Bit(std::strerror(errno)))
                                         .toStdString());
        m_file.setAutoRemove(false);
    }

private:
    QString m_target;
    QTemporaryFile m_file;
};

// The output is chosen before the file is loaded: choosing a printer reads
// its paper, which loading then replaces by the paper of the pages.
void renderToPdf(const Request& request)
{
    PendingFile pending(request.pdf);
    TRepPrinter output;
    output.setPrintToFile(pending.fileName());
    output.LoadFromFile(request.file);
    output.Print();
    if (output.printerSettings().printer().printerState() == QPrinter::Error)
        throw std::runtime_error(QStringLiteral("cannot write %1").arg(request.pdf).toStdString());
    pending.commit();
    Console::print(QStringLiteral("%1 of %2 written to %3.").arg(pages(output.pageCount()), request.file, request.pdf));
}

void renderToPrinter(const Request& request)
{
    const int index = CommandLine::printerIndex(request.printer);
    TRepPrinter output;
    output.setPrinterIndex(index);
    output.setTitle(QFileInfo(request.file).fileName());
    output.LoadFromFile(request.file);
    output.Print();
    Console::print(QStringLiteral("%1 of %2 sent to the printer %3.")
                       .arg(pages(output.pageCount()), request.file, output.printerSettings().DeviceName));
}

} // namespace

bool needsGui(const char* command)
{
    return command && std::strcmp(command, "render") == 0;
}

int run(const QStringList& arguments)
{
    bool helpShown = false;
    const Request request = parseRequest(arguments, &helpShown);
    if (helpShown)
        return 0;
    if (request.pdf.isEmpty())
        renderToPrinter(request);
    else
        renderToPdf(request);
    return 0;
}

}

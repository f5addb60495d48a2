#include "RenderCommand.h"

#include "CommandLine.h"
#include "Console.h"
#include "OutputFile.h"
#include "reports/PdfCheck.h"

#include "reports/TRepPrinter.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QPrinter>

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
    const QCommandLineOption pdf(QStringLiteral("pdf"), QStringLiteral("Write the pages to a PDF file (- for standard output)."),
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
        request.pdf = parser.value(pdf);
    request.printer = parser.value(printer);
    return request;
}

QString pages(int count)
{
    return count == 1 ? QStringLiteral("1 page") : QStringLiteral("%1 pages").arg(count);
}

// The output is chosen before the file is loaded: choosing a printer reads
// its paper, which loading then replaces by the paper of the pages.
void renderToPdf(const Request& request)
{
    OutputFile pdf(request.pdf);
    TRepPrinter output;
    output.setPrintToFile(pdf.path());
    output.LoadFromFile(request.file);
    output.Print();
    if (output.printerSettings().printer().printerState() == QPrinter::Error)
        throw std::runtime_error(QStringLiteral("cannot write %1").arg(pdf.describe()).toStdString());
    pdf.commit(PdfCheck::problem);
    if (!OutputFile::isStandardOutput(request.pdf))  // nothing else may go into a pipe
        Console::print(QStringLiteral("%1 of %2 written to %3.").arg(pages(output.pageCount()), request.file, pdf.describe()));
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

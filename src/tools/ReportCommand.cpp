#include "ReportCommand.h"

#include "CommandLine.h"
#include "Console.h"
#include "OutputFile.h"
#include "reports/PdfCheck.h"

#include "data/DataModel.h"
#include "reports/RepBarang.h"
#include "reports/RepFakturPenjualan.h"
#include "reports/RepHarian.h"
#include "reports/RepPelanggan.h"
#include "reports/ReportPreparation.h"
#include "reports/TRepPrinter.h"
#include "reports/TReport.h"

#include <QCommandLineParser>

#include <cstring>
#include <optional>

namespace ReportCommand {

namespace {

using CommandLine::UsageError;

const QStringList kNames{QStringLiteral("pelanggan"), QStringLiteral("barang"), QStringLiteral("harian"),
                         QStringLiteral("faktur")};

enum class Target { Pdf, Rpf, Printer };

struct Request {
    QString name;
    QString customer;
    Target target = Target::Pdf;
    QString file;
    QString printer;
};

// The report definition NAME over the views, with the goods total written
// and, for the invoice, the views put on the customer first.
TReport* prepareReport(const Request& request, const DataModel::AllViews& views, QObject* owner)
{
    if (request.name == QLatin1String("pelanggan"))
        return CreateRepPelanggan(owner, views.pelanggan.Pelanggan);
    if (request.name == QLatin1String("harian"))
        return CreateRepHarian(owner, views.penjualan.Penjualan);
    if (request.name == QLatin1String("barang")) {
        const RepBarangDefinition definition = CreateRepBarang(owner, views.penjualan.Penjualan);
        WriteTotal(views.penjualan.Penjualan, definition.RepLabel5);
        return definition.repBarang;
    }
    const RepFakturPenjualanDefinition definition = CreateRepFakturPenjualan(
        owner, views.barang.Barang, views.penjualan.Penjualan, views.pelanggan.Pelanggan);
    if (!LocateInvoiceCustomer(views.pelanggan.Pelanggan, views.penjualan.Penjualan, request.customer))
        return nullptr;
    return definition.repFakturPenjualan;
}

// Writes the report into `output`'s file; a PDF is checked to be complete.
void produceFile(TReport& report, const Request& request, OutputFile& output)
{
    if (request.target == Target::Pdf) {
        report.PrintFileName = output.path();
        report.PrintReport();
        output.commit(PdfCheck::problem);
        return;
    }
    report.PreviewReport();
    if (!report.Output() || report.Output()->status() != TRepStatus::Finished)
        throw std::runtime_error("the report could not be generated");
    report.Output()->SaveToFile(output.path());
    output.commit();
}

Request parseRequest(const QStringList& arguments, bool* helpShown)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Produces one of the program's reports from the database of alias Dor, as the program does: pelanggan "
        "(customer list), barang (goods sales with their total), harian (daily sales) or faktur (the sales "
        "invoice of one customer, with its total)."));
    const QCommandLineOption customer(QStringLiteral("customer"),
                                      QStringLiteral("The customer code of the invoice (faktur only; exact, as stored)."),
                                      QStringLiteral("CODE"));
    const QCommandLineOption pdf(QStringLiteral("pdf"),
                                 QStringLiteral("Write the pages to a PDF file (- for standard output)."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption rpf(QStringLiteral("rpf"),
                                 QStringLiteral("Save the prepared report, for the preview window to open (- for "
                                                "standard output)."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption print(QStringLiteral("print"), QStringLiteral("Print on the default printer."));
    const QCommandLineOption printer(QStringLiteral("printer"), QStringLiteral("Print on this printer instead."),
                                     QStringLiteral("NAME"));
    parser.addOptions({customer, pdf, rpf, print, printer});
    *helpShown = !CommandLine::parse(parser, QStringLiteral("report"), arguments, {QStringLiteral("NAME")});
    if (*helpShown)
        return {};

    Request request;
    request.name = parser.positionalArguments().first();
    if (!kNames.contains(request.name))
        throw UsageError(QStringLiteral("unknown report: %1 (one of %2)").arg(request.name, kNames.join(QStringLiteral(", "))).toStdString());
    if ((request.name == QLatin1String("faktur")) != parser.isSet(customer))
        throw UsageError(request.name == QLatin1String("faktur") ? "faktur needs --customer CODE"
                                                                  : "--customer is for faktur only");
    request.customer = parser.value(customer);
    if (int(parser.isSet(pdf)) + int(parser.isSet(rpf)) + int(parser.isSet(print)) != 1)
        throw UsageError("give exactly one of --pdf FILE, --rpf FILE and --print");
    if (parser.isSet(printer) && !parser.isSet(print))
        throw UsageError("--printer goes with --print");
    request.target = parser.isSet(pdf) ? Target::Pdf : parser.isSet(rpf) ? Target::Rpf : Target::Printer;
    if (request.target != Target::Printer)
        request.file = parser.value(request.target == Target::Pdf ? pdf : rpf);
    request.printer = parser.value(printer);
    return request;
}

} // namespace

bool needsGui(const char* command)
{
    return command && std::strcmp(command, "report") == 0;
}

void useOffscreenWithoutDisplay()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

int run(const QStringList& arguments)
{
    bool helpShown = false;
    const Request request = parseRequest(arguments, &helpShown);
    if (helpShown)
        return 0;
    // The target is looked at before any work is done.
    std::optional<OutputFile> output;
    if (request.target != Target::Printer)
        output.emplace(request.file);
    QObject owner;
    const DataModel::AllViews views = DataModel::SetupAll(&owner);
    TReport* report = prepareReport(request, views, &owner);
    if (!report) {
        Console::printError(QStringLiteral("unknown customer: %1 (no customer has this code)").arg(request.customer));
        return 2;
    }
    report->ShowProgress = false;
    if (!output) {
        report->PrinterSettings.PrinterIndex = CommandLine::printerIndex(request.printer);
        report->PrintReport();
        Console::print(QStringLiteral("Report %1 sent to the printer.").arg(request.name));
        return 0;
    }
    produceFile(*report, request, *output);
    if (!OutputFile::isStandardOutput(request.file))  // nothing else may go into a pipe
        Console::print(QStringLiteral("Report %1 written to %2.").arg(request.name, output->describe()));
    return 0;
}

}

#include "PrinterSetupDialog.h"

#include "reports/ReportWindows.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

// The dialog's free list of pages ("2,5") would be taken as the range from
// its first to its last page, and its odd or even page set is not passed on:
// only all pages or one from-to range is offered.
void offerOneRangeOnly(QPrintDialog& dialog)
{
    for (const char* name : {"pagesRadioButton", "pagesLineEdit", "pageSetLabel", "pageSetCombo"}) {
        if (auto* choice = dialog.findChild<QWidget*>(QLatin1String(name))) {
            choice->setEnabled(false);
            choice->hide();
        }
    }
}

} // namespace

bool showPrinterSetupDialog(PrinterSetupRequest& request)
{
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    QPrinter printer;
    if (!request.OutputFileName.isEmpty())
        printer.setOutputFileName(request.OutputFileName);
    else if (request.PrinterIndex >= 0 && request.PrinterIndex < printers.size())
        printer.setPrinterName(printers[request.PrinterIndex]);
    printer.setPageOrientation(request.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setCopyCount(request.Copies);
    QPrintDialog dialog(&printer);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(request.MinPage, request.MaxPage);
    if (request.FromPage > 0)
        dialog.setFromTo(request.FromPage, request.ToPage);
    offerOneRangeOnly(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    request.Copies = printer.copyCount();
    // "Print to File (PDF)" is no printer of the system's list.
    const bool intoFile = printer.outputFormat() == QPrinter::PdfFormat;
    request.OutputFileName = intoFile ? printer.outputFileName() : QString();
    request.PrinterIndex = intoFile ? -1 : int(printers.indexOf(printer.printerName()));
    request.Landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    request.PageRange = dialog.printRange() == QAbstractPrintDialog::PageRange;
    request.FromPage = dialog.fromPage();
    request.ToPage = dialog.toPage();
    return true;
}

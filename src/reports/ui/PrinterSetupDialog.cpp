#include "PrinterSetupDialog.h"

#include "reports/ReportWindows.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

bool showPrinterSetupDialog(PrinterSetupRequest& request)
{
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    QPrinter printer;
    if (request.PrinterIndex >= 0 && request.PrinterIndex < printers.size())
        printer.setPrinterName(printers[request.PrinterIndex]);
    printer.setPageOrientation(request.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setCopyCount(request.Copies);
    QPrintDialog dialog(&printer);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(request.MinPage, request.MaxPage);
    if (request.FromPage > 0)
        dialog.setFromTo(request.FromPage, request.ToPage);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    request.Copies = printer.copyCount();
    request.PrinterIndex = int(printers.indexOf(printer.printerName()));
    request.Landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    request.PageRange = dialog.printRange() == QAbstractPrintDialog::PageRange;
    request.FromPage = dialog.fromPage();
    request.ToPage = dialog.toPage();
    return true;
}

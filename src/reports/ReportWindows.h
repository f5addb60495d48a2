#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class TRepPrinter;

// The windows the report core shows but cannot build, having no widgets:
// the UI library installs their factories at start-up. A program that
// installs none (the command-line tool) renders reports without windows.

// Creates the printing progress window for `output`, makes it the output's
// client and shows it when `show` is set. The caller owns the window.
using ProgressWindowFactory = std::function<std::unique_ptr<QObject>(TRepPrinter& output, bool show)>;
// Creates the standard preview window on `output` and shows it, not modal.
using PreviewWindowFactory = std::function<void(TRepPrinter& output)>;

// What the printer-setup dialog starts from and what the user chose in it.
struct PrinterSetupRequest {
    int PrinterIndex = -1; // in the system's printer list; -1 the default printer
    QString OutputFileName; // a PDF file chosen instead of a printer, else empty
    bool Landscape = false;
    int Copies = 1;
    int MinPage = 0; // page limits offered
    int MaxPage = 9999;
    int FromPage = 0;
    int ToPage = 0;
    bool PageRange = false; // a page range was chosen (not all pages or a selection)
};
// Shows the system print dialog; false when the user cancels.
using PrinterSetupDialogFactory = std::function<bool(PrinterSetupRequest& request)>;

// Whether the program is ending (its terminated flag): a preview's wait ends
// then. Installed with the windows; without it the program never ends.
using TerminatingCheck = std::function<bool()>;

void setProgressWindowFactory(ProgressWindowFactory factory);
void setPreviewWindowFactory(PreviewWindowFactory factory);
void setPrinterSetupDialogFactory(PrinterSetupDialogFactory factory);
void setTerminatingCheck(TerminatingCheck check);

// The progress window for `output`, or none when no factory is installed.
std::unique_ptr<QObject> createProgressWindow(TRepPrinter& output, bool show);
// Shows the standard preview on `output`; false when no factory is installed.
bool showPreviewWindow(TRepPrinter& output);
// Runs the printer-setup dialog; false when the user cancels or no factory is installed.
bool runPrinterSetupDialog(PrinterSetupRequest& request);
// True once the program has been asked to end.
bool programTerminating();

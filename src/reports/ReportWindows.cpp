#include "ReportWindows.h"

namespace {

ProgressWindowFactory& progressFactory()
{
    static ProgressWindowFactory factory;
    return factory;
}

PreviewWindowFactory& previewFactory()
{
    static PreviewWindowFactory factory;
    return factory;
}

PrinterSetupDialogFactory& printerSetupFactory()
{
    static PrinterSetupDialogFactory factory;
    return factory;
}

TerminatingCheck& terminatingCheck()
{
    static TerminatingCheck check;
    return check;
}

} // namespace

void setProgressWindowFactory(ProgressWindowFactory factory)
{
    progressFactory() = std::move(factory);
}

void setPreviewWindowFactory(PreviewWindowFactory factory)
{
    previewFactory() = std::move(factory);
}

std::unique_ptr<QObject> createProgressWindow(TRepPrinter& output, bool show)
{
    return progressFactory() ? progressFactory()(output, show) : nullptr;
}

bool showPreviewWindow(TRepPrinter& output)
{
    if (!previewFactory())
        return false;
    previewFactory()(output);
    return true;
}

void setPrinterSetupDialogFactory(PrinterSetupDialogFactory factory)
{
    printerSetupFactory() = std::move(factory);
}

bool runPrinterSetupDialog(PrinterSetupRequest& request)
{
    return printerSetupFactory() && printerSetupFactory()(request);
}

void setTerminatingCheck(TerminatingCheck check)
{
    terminatingCheck() = std::move(check);
}

bool programTerminating()
{
    return terminatingCheck() && terminatingCheck()();
}

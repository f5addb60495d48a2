#include "RegisterReportWindows.h"

#include "PrinterSetupDialog.h"
#include "TRepProgressForm.h"
#include "TRepStandardPreview.h"
#include "reports/ReportWindows.h"
#include "reports/TRepPrinter.h"
#include "widgets/TApplication.h"

void registerReportWindows()
{
    setProgressWindowFactory([](TRepPrinter& output, bool show) -> std::unique_ptr<QObject> {
        auto form = std::make_unique<TRepProgressForm>(output);
        output.setClient(form.get());
        if (show)
            form->show();
        return form;
    });
    setPreviewWindowFactory([](TRepPrinter& output) { TRepStandardPreview::Open(output); });
    setPrinterSetupDialogFactory([](PrinterSetupRequest& request) { return showPrinterSetupDialog(request); });
    setTerminatingCheck([] { return Application && Application->Terminated(); });
}

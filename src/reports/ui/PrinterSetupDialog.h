#pragma once

struct PrinterSetupRequest;

// Shows the system print dialog on the system's printers, starting from and
// filling in `request`; false when the user cancels.
bool showPrinterSetupDialog(PrinterSetupRequest& request);

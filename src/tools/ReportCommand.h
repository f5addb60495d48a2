#pragma once

#include <QStringList>

// pwangsa-admin report: produces one of the program's four reports from the
// views on alias Dor, as the program does, into a PDF file, a prepared-report
// file or onto a printer.
namespace ReportCommand {

// The report command needs painting and fonts: true when `command` is it.
bool needsGui(const char* command);
// Lets Qt paint without a display when none is set; call before the application object.
void useOffscreenWithoutDisplay();
// Returns the exit code: 0 done, 1 failure, 2 wrong usage or unknown customer.
int run(const QStringList& arguments);

}

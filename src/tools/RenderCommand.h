#pragma once

#include <QStringList>

// pwangsa-admin render: draws the pages of a saved prepared-report file into
// a PDF file or onto a printer, as the preview window prints a loaded file.
namespace RenderCommand {

// The render command paints: true when `command` is it.
bool needsGui(const char* command);
// Returns the exit code: 0 done, 1 failure (a damaged file among them),
// 2 wrong usage or an unknown printer.
int run(const QStringList& arguments);

}

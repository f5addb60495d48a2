#pragma once

// Installs the report windows of the UI library (the printing progress
// window, and the preview window) as the report core's window factories.
// Called once by the program at start-up.
void registerReportWindows();

#pragma once

#include <functional>

class TApplication;

// The start-up sequence: splash for two seconds, the eight windows created
// in order, then the message loop with the login window as the main window.
// Returns the process's exit code: 0, or 1 when an error escaped start-up.
// onReady runs once the application object exists (tests watch from there).
int runProgram(const std::function<void(TApplication&)>& onReady = {});

// Creates the program's windows in their fixed order through the
// application's window-creation operation.
void createForms();

#pragma once
// The main window's start-up once it exists: the start-up selection and the settings, the
// selection or log file named on the command line, then what holds whatever was loaded (the
// ControlSet keys left out, the selection unchanged, the selection pages in front).

#include <functional>

struct CommandLineRequest;
class MainWindow;
class Session;

// Shows a start-up step on the splash window.
using StartupStatus = std::function<void(const char* text)>;

// Errors of a step go to the window's error handler; start-up goes on.
void StartMainWindow(const CommandLineRequest& request, Session& session, MainWindow& window,
                     const StartupStatus& status);

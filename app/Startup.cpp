#include "app/Startup.h"

#include "app/CommandLine.h"
#include "app/ErrorReporting.h"
#include "app/MainWindow.h"
#include "app/SelectionCommands.h"
#include "app/SettingsEffects.h"
#include "app/Workflows.h"

namespace {

void ReportStartupError(MainWindow& window) {
  window.ReportError({"TMainForm", "FormCreate"}, std::current_exception());
}

// The command-line selection or log file, after the start-up selection. Made a full path at
// once: a later file dialog changes the current folder, and the caption names the log.
void OpenCommandLineFile(const CommandLineRequest& request, Session& session, MainWindow& window) {
  try {
    if (request.action == CommandLineAction::SelectionFile) {
      LoadSelectionFile(FullPathName(request.argument), session, window.Ui());
    } else if (request.action == CommandLineAction::LogFile) {
      OpenLog(session, window.Ui(), FullPathName(request.argument));
    }
  } catch (...) {
    ReportStartupError(window);
  }
}

}  // namespace

void StartMainWindow(const CommandLineRequest& request, Session& session, MainWindow& window,
                     const StartupStatus& status) {
  status("Status: Loading selections.");
  window.LoadStartupSelection();
  ApplySettingsToWindows(window.Handle());
  OpenCommandLineFile(request, session, window);
  status("Status: Refreshing view.");
  try {
    FinishStartupSelection(session);
  } catch (...) {
    ReportStartupError(window);
  }
  window.ShowSelectionPages();
}

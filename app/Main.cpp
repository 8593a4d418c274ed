// Program entry: command line, splash window, settings, file types, the main window with its
// start-up selection, then batch mode or the message loop.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <memory>

#include "app/BatchMode.h"
#include "app/CommandLine.h"
#include "app/ErrorReporting.h"
#include "app/FileTypeRegistration.h"
#include "app/HelpViewer.h"
#include "app/MainWindow.h"
#include "app/NonInteractive.h"
#include "app/Session.h"
#include "app/Settings.h"
#include "app/SplashWindow.h"
#include "app/Startup.h"
#include "platform/AdminRights.h"
#include "platform/FileSystem.h"
#include "platform/ProcessorFaults.h"
#include "core/Errors.h"
#include "ui/HandlerErrors.h"
#include "ui/MessagePump.h"

namespace {

constexpr DWORD kSplashMinimumMs = 3000;

std::string ExePath() {
  char buffer[MAX_PATH * 2];
  DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  return std::string(buffer, length);
}

bool ExistingFile(const std::string& path) { return FileExists(path); }

// An error of a command or of a window handler during batch mode: written out, never shown.
void WriteBatchError(HWND, const ErrorSource&, std::exception_ptr error) {
  NonInteractive::WriteLine(BatchErrorText(error));
}

// Batch mode with a display: the session the main window shows, the splash window's labels.
// Nothing waits for a click: every question takes its unattended answer, written to standard
// error with the status texts, and a failure ends the process with exit code 1 and its message
// there.
int RunWindowBatch(const CommandLineRequest& request, Session& session, MainWindow& window, SplashWindow& splash,
                   UserInteraction& unattended) {
  auto status = [&](const std::string& text) {
    splash.SetStatus(text);
    unattended.SetStatus(StatusChannel::Main, text);
  };
  splash.SetTitle("Running batch mode...");
  unattended.SetStatus(StatusChannel::Main, "Running batch mode...");
  try {
    RunBatch(request, session, window.Ui(), window.Calls(), {status, NonInteractive::WriteLine});
    NonInteractive::WriteLine("Done.");
    return 0;
  } catch (...) {
    const std::string message = BatchErrorText(std::current_exception());
    splash.SetStatus(message);
    NonInteractive::WriteLine(message);
    return 1;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  // First: a fault from here on is an error of its command or a crash report, never silent.
  InstallFaultHandling();
  // The shell's display names and icons of drives come through COM.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);

  Session session;
  AppState& app = session.State();
  app.exePath = ExePath();
  app.programFolder = ProgramFolderOf(app.exePath);
  app.administratorRights = HasAdministratorRights();
  const CommandLineRequest request = ParseCommandLine(ProcessArguments(), ExistingFile);
  try {
    StaticRegScope settings(SettingsKeyPath(app.exePath), app.programFolder);
    if (IsBatch(request.action) && !HasInteractiveDisplay()) return RunBatchWithoutDisplay(request, session);
    if (request.action == CommandLineAction::Help) {
      MessageBoxA(nullptr, kCommandLineHelp, "Quorvel", MB_OK | MB_ICONINFORMATION);
      return 0;
    }

    const bool batch = IsBatch(request.action);
    auto splash = std::make_unique<SplashWindow>();
    // Batch mode writes what the splash window shows, for the script that started it.
    NonInteractive unattended;
    auto status = [&](const char* text) {
      splash->SetStatus(text);
      if (batch) unattended.SetStatus(StatusChannel::Main, text);
    };
    status("Status: Loading settings.");
    if (batch)
      SetHandlerErrorHook([](const HandlerSource& source, std::exception_ptr error) {
        WriteBatchError(source.window, ErrorSource{source.className, source.ownerPath}, error);
      });
    else
      InstallHandlerErrorHook();
    RegisterFileTypes(app.exePath, app.administratorRights);
    MainWindow window(session, batch ? MainWindow::ErrorHandler(WriteBatchError) : MainWindow::ErrorHandler(ShowError));
    window.Create();
    // Batch mode opens no help: nothing may wait for a browser a script started.
    if (!batch) InstallHelpHook(window.Ui());
    // Set before the start-up selection: its errors must not wait for a click either.
    if (batch) window.AnswerUnattended(&unattended);
    StartMainWindow(request, session, window, status);
    // Ends at once: the splash's minimum time is for a user who reads it, not for a script.
    if (batch) return RunWindowBatch(request, session, window, *splash, unattended);

    splash->WaitShown(kSplashMinimumMs);
    splash.reset();
    window.Show(showCommand);
    window.GreetAtStart();
    // The main window registered its accelerators and keyboard navigation with the pump.
    return MessagePump::RunUntilQuit();
  } catch (...) {
    if (IsBatch(request.action))
      NonInteractive::WriteLine(BatchErrorText(std::current_exception()));
    else
      ShowError(nullptr, ErrorSource{"TApplication", ""}, std::current_exception());
    return 1;
  }
}

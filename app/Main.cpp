// Program entry: command line, splash window, settings, file types, the main window with its
// start-up selection, then batch mode or the message loop.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <memory>

#include "app/AppState.h"
#include "app/BatchMode.h"
#include "app/CommandLine.h"
#include "app/CompareCommands.h"
#include "app/ErrorReporting.h"
#include "app/FileTypeRegistration.h"
#include "app/HeadlessBatch.h"
#include "app/MainWindow.h"
#include "app/SelectionCommands.h"
#include "app/SharedFileDialog.h"
#include "app/Settings.h"
#include "app/SplashWindow.h"
#include "capture/FileSystem.h"

namespace {

constexpr DWORD kSplashMinimumMs = 3000;

std::string ExePath() {
  char buffer[MAX_PATH * 2];
  DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  return std::string(buffer, length);
}

bool ExistingFile(const std::string& path) { return FileExists(path); }

int RunMessageLoop(MainWindow& window) {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (window.Handle() && TranslateAcceleratorA(window.Handle(), window.Accelerators(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

CompareCommandContext CompareContextOf(AppState& app, MainWindow& window) {
  return {app, window.Ui(), window.Calls(), window.Pages(), window.Results(), [&window] { window.ShowResults(); }};
}

// The command-line selection or log file, after the start-up selection.
void OpenCommandLineFile(const CommandLineRequest& request, AppState& app, MainWindow& window) {
  try {
    if (request.action == CommandLineAction::SelectionFile) {
      LoadSelectionFile(request.argument, app, window.Pages(), window.Ui());
      app.selectionChanged = false;
    } else if (request.action == CommandLineAction::LogFile) {
      CompareCommandContext context = CompareContextOf(app, window);
      OpenLogFile(context, request.argument);
    }
  } catch (...) {
    ShowError(window.Handle(), ErrorSource{"TMainForm", "FormCreate"}, std::current_exception());
  }
}

// Batch mode with a display: the main window's trees, the splash window's labels. A failed run
// shows its error and ends the process with exit code 1; an invisible process must not stay
// behind once the error was acknowledged.
int RunWindowBatch(const CommandLineRequest& request, AppState& app, MainWindow& window, SplashWindow& splash) {
  splash.SetTitle("Running batch mode...");
  GuiSharedFilePrompt sharedFiles(splash.Handle());
  BatchContext context{app,
                       window.Ui(),
                       window.Calls(),
                       sharedFiles,
                       window.Trees(),
                       window.Results().Trees(),
                       [&splash](const std::string& status) { splash.SetStatus(status); },
                       [&window] {
                         window.Pages().ExpandTops();
                         window.Pages().Refresh();
                       },
                       [&window] { window.ShowResults(); }};
  try {
    RunBatch(request, context);
    return 0;
  } catch (...) {
    ShowError(splash.Handle(), ErrorSource{"TMainForm", "FormCreate"}, std::current_exception());
    return 1;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  // The shell's display names and icons of drives come through COM.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);

  AppState app;
  app.exePath = ExePath();
  app.programFolder = ProgramFolderOf(app.exePath);
  const CommandLineRequest request = ParseCommandLine(ProcessArguments(), ExistingFile);
  try {
    StaticRegScope settings(SettingsKeyPath(app.exePath), app.programFolder);
    if (IsBatch(request.action) && !HasInteractiveDisplay()) return RunHeadlessBatch(app, request);
    if (request.action == CommandLineAction::Help) {
      MessageBoxA(nullptr, kCommandLineHelp, "Quorvel", MB_OK | MB_ICONINFORMATION);
      return 0;
    }

    auto splash = std::make_unique<SplashWindow>();
    splash->SetStatus("Status: Loading settings.");
    InstallDialogErrorHandler();
    RegisterFileTypes(app.exePath);
    MainWindow window(app, ShowError);
    HWND hwnd = window.Create();
    splash->SetStatus("Status: Loading selections.");
    window.LoadStartupSelection();
    OpenCommandLineFile(request, app, window);
    splash->SetStatus("Status: Refreshing view.");
    if (IsBatch(request.action)) return RunWindowBatch(request, app, window, *splash);

    splash->WaitShown(kSplashMinimumMs);
    splash.reset();
    ShowWindow(hwnd, showCommand);
    UpdateWindow(hwnd);
    return RunMessageLoop(window);
  } catch (...) {
    ShowError(nullptr, ErrorSource{"TApplication", ""}, std::current_exception());
    return 1;
  }
}

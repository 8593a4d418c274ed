// Program entry: settings, the main window, the message loop.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "app/AppState.h"
#include "app/ErrorReporting.h"
#include "app/MainWindow.h"
#include "app/Settings.h"

namespace {

std::string ExePath() {
  char buffer[MAX_PATH * 2];
  DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  return std::string(buffer, length);
}

int RunMessageLoop(MainWindow& window) {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (window.Handle() && TranslateAcceleratorA(window.Handle(), window.Accelerators(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
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
  try {
    StaticRegScope settings(SettingsKeyPath(app.exePath), app.programFolder);
    InstallDialogErrorHandler();
    MainWindow window(app, ShowError);
    HWND hwnd = window.Create();
    window.LoadStartupSelection();
    ShowWindow(hwnd, showCommand);
    UpdateWindow(hwnd);
    return RunMessageLoop(window);
  } catch (...) {
    ShowError(nullptr, ErrorSource{"TApplication", ""}, std::current_exception());
    return 1;
  }
}

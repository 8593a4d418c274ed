#pragma once
// What the tests of the program's windows share: the common controls, a folder of their own
// under the temporary folder, and the quit message a destroyed main window leaves behind.

#include <windows.h>

#include <commctrl.h>

#include <string>

inline void InitControlsForTests() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
}

// <temp>\name\ , created when missing.
inline std::string TestFolder(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + name + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

// The main window posts WM_QUIT when it is destroyed; the next test's loops must not see it.
inline void DrainQuitMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

#pragma once
// What the tests of the program's windows share: the common controls, a folder of their own
// under the temporary folder, the quit message a destroyed main window leaves behind, and the
// main window's command environment with a scripted interaction.

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "app/MainWindow.h"
#include "core/CheckStates.h"

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

// The text of a list view's cell.
inline std::string ListText(HWND list, int row, int column) {
  char text[1024] = "";
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

// The window's command environment with ui in place of the window's own interaction.
inline CommandEnvironment EnvironmentWith(MainWindow& window, UserInteraction& ui) {
  CommandEnvironment own = window.Environment();
  return {own.owner, own.session, ui, own.calls, own.selection, own.results};
}

// The session's selection narrowed to the small HKEY_CURRENT_CONFIG root: a save or compare of
// the built trees then records that root alone, no drives and no system files.
inline void SelectOnlyCurrentConfig(Session& session) {
  SelectionTrees trees = session.Selection();
  for (TreeModel* tree : {&trees.registry, &trees.drives, &trees.systemFiles}) SetNodeChecked(*tree->FirstTop(), false);
  SetNodeChecked(*FindTreeNode({"My Computer", "HKEY_CURRENT_CONFIG"}, trees.registry), true);
}

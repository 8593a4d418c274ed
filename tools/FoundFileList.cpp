#include "tools/FoundFileList.h"

#include <commctrl.h>

#include "ui/Dpi.h"

namespace {

void ShowFoundFileMenu(HWND owner, const ListView& list, const FoundFileCommands& commands) {
  POINT at;
  GetCursorPos(&at);
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING | (list.HasSelection() ? 0 : MF_GRAYED), commands.deleteSelected, "&Delete");
  AppendMenuA(menu, MF_STRING | (list.Count() > 0 ? 0 : MF_GRAYED), commands.selectAll, "Select &All");
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
  DestroyMenu(menu);
}

void RunCommand(HWND owner, int id) { SendMessageA(owner, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

}  // namespace

bool HandleFoundFileListNotify(HWND owner, const ListView& list, const NMHDR& header, const FoundFileCommands& commands,
                               bool busy) {
  if (header.code == LVN_KEYDOWN) {
    const WORD key = reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey;
    if (key == VK_DELETE && list.HasSelection()) RunCommand(owner, commands.deleteSelected);
    if (key == 'A' && GetKeyState(VK_CONTROL) < 0) RunCommand(owner, commands.selectAll);
    return true;
  }
  if (header.code == NM_RCLICK) {
    if (!busy) ShowFoundFileMenu(owner, list, commands);
    return true;
  }
  return false;
}

void SelectAllRows(const ListView& list) { ListView_SetItemState(list, -1, LVIS_SELECTED, LVIS_SELECTED); }

void ShowDefinitionMenu(HWND owner, POINT at, bool rowSelected, const DefinitionCommands& commands) {
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, commands.newEntry, "&New");
  AppendMenuA(menu, MF_STRING | (rowSelected ? 0 : MF_GRAYED), commands.edit, "&Edit");
  AppendMenuA(menu, MF_STRING | (rowSelected ? 0 : MF_GRAYED), commands.remove, "&Delete");
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
  DestroyMenu(menu);
}

void ShowPanelText(HWND panel, const std::string& text) {
  SetWindowTextA(panel, text.c_str());
  UpdateWindow(panel);
}

void ShowFileAndFolderCounts(HWND filesPanel, HWND foldersPanel, uint64_t files, uint64_t folders) {
  ShowPanelText(filesPanel, "Files: " + std::to_string(files));
  ShowPanelText(foldersPanel, "Folders: " + std::to_string(folders));
}

ToolMetrics ToolMetricsOf(HWND dialog) {
  RECT a{7, 3, 56, 14};
  RECT b{8, 80, 10, 0};
  MapDialogRect(dialog, &a);
  MapDialogRect(dialog, &b);
  return {a.left, a.top, b.left, a.right, a.bottom, b.top, b.right};
}

bool HandleToolWindowSizing(HWND window, UINT message, LPARAM lParam, SIZE minimumAt96,
                            const std::function<void()>& layout, INT_PTR& result) {
  if (message == WM_SIZE) {
    layout();
  } else if (message == WM_GETMINMAXINFO) {
    const DpiScale scale(WindowDpi(window));
    reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {scale(minimumAt96.cx), scale(minimumAt96.cy)};
  } else {
    return false;
  }
  result = 0;
  return true;
}

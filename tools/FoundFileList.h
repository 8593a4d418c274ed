#pragma once
// What the tool windows share: the list of found files (Del deletes the selection, Ctrl+A
// selects all, the right button opens Delete / Select All), the status panels drawn at once
// while a search keeps the thread busy, and the sizing and metrics of a resizable tool window.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "ui/ListView.h"

// The owner's commands behind the list's keys and pop-up menu.
struct FoundFileCommands {
  int deleteSelected;
  int selectAll;
};

// Del, Ctrl+A and a right click on list become the owner's commands (nothing while busy);
// true when header was one of them.
bool HandleFoundFileListNotify(HWND owner, const ListView& list, const NMHDR& header, const FoundFileCommands& commands,
                               bool busy);

void SelectAllRows(const ListView& list);

// The pop-up menu of a definition list: New, and Edit and Delete while a row is selected.
struct DefinitionCommands {
  int newEntry;
  int edit;
  int remove;
};
void ShowDefinitionMenu(HWND owner, POINT at, bool rowSelected, const DefinitionCommands& commands);

// A panel's text, drawn before the search goes on.
void ShowPanelText(HWND panel, const std::string& text);
// "Files: n" and "Folders: n" in their panels.
void ShowFileAndFolderCounts(HWND filesPanel, HWND foldersPanel, uint64_t files, uint64_t folders);

// Dialog units of a tool window's layout, turned into pixels of the window's font.
struct ToolMetrics {
  int margin, gap, labelHeight, buttonWidth, buttonHeight, panelWidth, panelHeight;
};
ToolMetrics ToolMetricsOf(HWND dialog);

// WM_SIZE lays the window out, WM_GETMINMAXINFO keeps it at least minimumAt96 (scaled to its
// DPI); true when message was one of them.
bool HandleToolWindowSizing(HWND window, UINT message, LPARAM lParam, SIZE minimumAt96,
                            const std::function<void()>& layout, INT_PTR& result);

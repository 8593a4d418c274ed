#pragma once
// The main window's layout as kept in the settings key between runs: for each page of a tree
// beside a list, the tree's width (the splitter position) and the list's column widths with
// their number; and the welcome flag.

#include <windows.h>

#include <string>
#include <vector>

class Splitter;
class TMyRegistry;

constexpr int kDefaultColumnWidth = 120;

struct LayoutPane {
  std::string treeName;  // names the splitter's value: treeName + "Splitter"
  Splitter* splitter;
  std::string listName;  // names the column values: listName + "ColumnCount", listName + "Column<i>"
  HWND list;
};

// Splitters without a stored position keep theirs; a column without a stored width gets
// kDefaultColumnWidth.
void RestoreWindowLayout(const TMyRegistry& reg, const std::vector<LayoutPane>& panes);
void SaveWindowLayout(TMyRegistry& reg, const std::vector<LayoutPane>& panes);

// True unless "DontShowWelcome" is stored as true.
bool ReadWelcomeFlag(const TMyRegistry& reg);

#pragma once
// The main window's layout as kept in the settings key between runs: for each page of a tree
// beside a list, the tree's width (the splitter position) and the list's column widths with
// their number; and the welcome flag.

#include <windows.h>

#include <optional>
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

// Where the main window lies between runs: its normal (restored) rectangle and whether it was
// maximised. A minimised window is kept as it will come back, never minimised.
struct SavedPlacement {
  RECT normal{};
  bool maximized = false;
};

SavedPlacement PlacementToKeep(const WINDOWPLACEMENT& placement);
void SavePlacement(TMyRegistry& reg, const SavedPlacement& placement);
// Nothing when no placement was stored yet (or an empty rectangle).
std::optional<SavedPlacement> ReadPlacement(const TMyRegistry& reg);

// rect unchanged when a monitor shows part of it; otherwise moved (and shrunk if it must) into
// the work area of the nearest monitor, so that a monitor taken away leaves no window out of
// reach.
RECT OnVisibleMonitor(const RECT& rect);

// True unless "DontShowWelcome" is stored as true.
bool ReadWelcomeFlag(const TMyRegistry& reg);

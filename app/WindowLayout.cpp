#include "app/WindowLayout.h"

#include <algorithm>
#include <array>

#include "platform/SettingsAccess.h"
#include "platform/TMyRegistry.h"
#include "ui/ListView.h"
#include "ui/Splitter.h"

namespace {

std::string SplitterName(const LayoutPane& pane) { return pane.treeName + "Splitter"; }
std::string CountName(const LayoutPane& pane) { return pane.listName + "ColumnCount"; }
std::string ColumnName(const LayoutPane& pane, int column) { return pane.listName + "Column" + std::to_string(column); }

constexpr const char* kPlacementNames[] = {"MainFormLeft", "MainFormTop", "MainFormRight", "MainFormBottom"};
constexpr const char* kMaximizedName = "MainFormMaximized";

// The fields of a rectangle in the order of kPlacementNames.
std::array<LONG*, 4> Fields(RECT& rect) { return {&rect.left, &rect.top, &rect.right, &rect.bottom}; }

// Where start lies when a span of size must fit between low and high.
LONG FitInto(LONG start, LONG size, LONG low, LONG high) { return std::max(low, std::min(start, high - size)); }

}  // namespace

void RestoreWindowLayout(const TMyRegistry& reg, const std::vector<LayoutPane>& panes) {
  for (const LayoutPane& pane : panes) {
    if (reg.ValueExists(SplitterName(pane)))
      pane.splitter->SetPosition(SettingAsInt(ReadSettingFrom(reg, SplitterName(pane), int32_t{0})));
    // Widths beyond the stored number belong to columns the list did not have then.
    const int stored = SettingAsInt(ReadSettingFrom(reg, CountName(pane), int32_t{0}));
    const ListView list = pane.list;
    const int columns = list.ColumnCount();
    for (int i = 0; i < columns; ++i) {
      int width = i < stored ? SettingAsInt(ReadSettingFrom(reg, ColumnName(pane, i), kDefaultColumnWidth))
                             : kDefaultColumnWidth;
      list.SetColumnWidth(i, width);
    }
  }
}

void SaveWindowLayout(TMyRegistry& reg, const std::vector<LayoutPane>& panes) {
  for (const LayoutPane& pane : panes) {
    reg.WriteInteger(SplitterName(pane), pane.splitter->Position());
    const ListView list = pane.list;
    const int columns = list.ColumnCount();
    reg.WriteInteger(CountName(pane), columns);
    for (int i = 0; i < columns; ++i) reg.WriteInteger(ColumnName(pane, i), list.ColumnWidth(i));
  }
}

bool ReadWelcomeFlag(const TMyRegistry& reg) {
  return !SettingAsBool(ReadSettingFrom(reg, "DontShowWelcome", int32_t{0}));
}

SavedPlacement PlacementToKeep(const WINDOWPLACEMENT& placement) {
  const bool maximized = placement.showCmd == SW_SHOWMAXIMIZED ||
                         (placement.showCmd == SW_SHOWMINIMIZED && (placement.flags & WPF_RESTORETOMAXIMIZED));
  return {placement.rcNormalPosition, maximized};
}

void SavePlacement(TMyRegistry& reg, const SavedPlacement& placement) {
  RECT normal = placement.normal;
  const auto fields = Fields(normal);
  for (size_t i = 0; i < fields.size(); ++i) reg.WriteInteger(kPlacementNames[i], *fields[i]);
  reg.WriteInteger(kMaximizedName, placement.maximized ? 1 : 0);
}

std::optional<SavedPlacement> ReadPlacement(const TMyRegistry& reg) {
  SavedPlacement placement;
  const auto fields = Fields(placement.normal);
  for (size_t i = 0; i < fields.size(); ++i) {
    if (!reg.ValueExists(kPlacementNames[i])) return std::nullopt;
    *fields[i] = SettingAsInt(ReadSettingFrom(reg, kPlacementNames[i], int32_t{0}));
  }
  if (IsRectEmpty(&placement.normal)) return std::nullopt;
  placement.maximized = SettingAsBool(ReadSettingFrom(reg, kMaximizedName, int32_t{0}));
  return placement;
}

RECT OnVisibleMonitor(const RECT& rect) {
  if (MonitorFromRect(&rect, MONITOR_DEFAULTTONULL)) return rect;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor)) return rect;
  const RECT& work = monitor.rcWork;
  const LONG width = std::min(rect.right - rect.left, work.right - work.left);
  const LONG height = std::min(rect.bottom - rect.top, work.bottom - work.top);
  const LONG left = FitInto(rect.left, width, work.left, work.right);
  const LONG top = FitInto(rect.top, height, work.top, work.bottom);
  return {left, top, left + width, top + height};
}

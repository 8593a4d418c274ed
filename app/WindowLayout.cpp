#include "app/WindowLayout.h"

#include <commctrl.h>

#include "platform/SettingsAccess.h"
#include "platform/TMyRegistry.h"
#include "ui/Splitter.h"

namespace {

std::string SplitterName(const LayoutPane& pane) { return pane.treeName + "Splitter"; }
std::string CountName(const LayoutPane& pane) { return pane.listName + "ColumnCount"; }
std::string ColumnName(const LayoutPane& pane, int column) { return pane.listName + "Column" + std::to_string(column); }

int ColumnCount(HWND list) {
  return static_cast<int>(
      SendMessageA(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0));
}

}  // namespace

void RestoreWindowLayout(const TMyRegistry& reg, const std::vector<LayoutPane>& panes) {
  for (const LayoutPane& pane : panes) {
    if (reg.ValueExists(SplitterName(pane)))
      pane.splitter->SetPosition(SettingAsInt(ReadSettingFrom(reg, SplitterName(pane), int32_t{0})));
    // Widths beyond the stored number belong to columns the list did not have then.
    const int stored = SettingAsInt(ReadSettingFrom(reg, CountName(pane), int32_t{0}));
    const int columns = ColumnCount(pane.list);
    for (int i = 0; i < columns; ++i) {
      int width = i < stored ? SettingAsInt(ReadSettingFrom(reg, ColumnName(pane, i), kDefaultColumnWidth))
                             : kDefaultColumnWidth;
      SendMessageA(pane.list, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(width, 0));
    }
  }
}

void SaveWindowLayout(TMyRegistry& reg, const std::vector<LayoutPane>& panes) {
  for (const LayoutPane& pane : panes) {
    reg.WriteInteger(SplitterName(pane), pane.splitter->Position());
    const int columns = ColumnCount(pane.list);
    reg.WriteInteger(CountName(pane), columns);
    for (int i = 0; i < columns; ++i)
      reg.WriteInteger(ColumnName(pane, i), static_cast<int32_t>(SendMessageA(pane.list, LVM_GETCOLUMNWIDTH, i, 0)));
  }
}

bool ReadWelcomeFlag(const TMyRegistry& reg) {
  return !SettingAsBool(ReadSettingFrom(reg, "DontShowWelcome", int32_t{0}));
}

#include "app/WindowLayout.h"

#include "platform/SettingsAccess.h"
#include "platform/TMyRegistry.h"
#include "ui/ListView.h"
#include "ui/Splitter.h"

namespace {

std::string SplitterName(const LayoutPane& pane) { return pane.treeName + "Splitter"; }
std::string CountName(const LayoutPane& pane) { return pane.listName + "ColumnCount"; }
std::string ColumnName(const LayoutPane& pane, int column) { return pane.listName + "Column" + std::to_string(column); }

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

#include "app/FormLayout.h"

#include <algorithm>

#include "app/WindowLayout.h"
#include "platform/TMyRegIniFile.h"
#include "ui/ListView.h"

namespace {

std::string CountName(const FormList& list) { return list.name + "ColumnCount"; }
std::string ColumnName(const FormList& list, int column) { return list.name + "Column" + std::to_string(column); }

}  // namespace

void RestoreFormLayout(TMyRegIniFile& ini, const std::string& section, HWND form, const std::vector<FormList>& lists) {
  const int32_t width = ini.ReadInteger(section, "Width", 0);
  const int32_t height = ini.ReadInteger(section, "Height", 0);
  if (width > 0 && height > 0) {
    const int32_t left = ini.ReadInteger(section, "Left", 0);
    const int32_t top = ini.ReadInteger(section, "Top", 0);
    const RECT rect = OnVisibleMonitor({left, top, left + width, top + height});
    SetWindowPos(form, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  for (const FormList& entry : lists) {
    const ListView list = entry.list;
    const int stored = std::min(ini.ReadInteger(section, CountName(entry), 0), list.ColumnCount());
    for (int i = 0; i < stored; ++i) {
      const int32_t columnWidth = ini.ReadInteger(section, ColumnName(entry, i), -1);
      if (columnWidth >= 0) list.SetColumnWidth(i, columnWidth);
    }
  }
}

void SaveFormLayout(TMyRegIniFile& ini, const std::string& section, HWND form, const std::vector<FormList>& lists) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (GetWindowPlacement(form, &placement)) {
    // The normal rectangle, so a window closed maximised or minimised comes back in its size.
    const RECT& rect = placement.rcNormalPosition;
    ini.WriteInteger(section, "Left", rect.left);
    ini.WriteInteger(section, "Top", rect.top);
    ini.WriteInteger(section, "Width", rect.right - rect.left);
    ini.WriteInteger(section, "Height", rect.bottom - rect.top);
  }
  for (const FormList& entry : lists) {
    const ListView list = entry.list;
    const int columns = list.ColumnCount();
    ini.WriteInteger(section, CountName(entry), columns);
    for (int i = 0; i < columns; ++i) ini.WriteInteger(section, ColumnName(entry, i), list.ColumnWidth(i));
  }
}

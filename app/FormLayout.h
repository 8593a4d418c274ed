#pragma once
// A tool window's layout as kept between runs in its own section of the settings: its
// rectangle ("Left", "Top", "Width", "Height") and, per list, the column widths
// ("<list>Column<i>") with their number ("<list>ColumnCount").

#include <windows.h>

#include <string>
#include <vector>

class TMyRegIniFile;

struct FormList {
  std::string name;  // "DetailView"
  HWND list;
};

// A window without a stored rectangle keeps its own; a stored one is brought onto a monitor.
// Columns beyond the stored number keep their widths.
void RestoreFormLayout(TMyRegIniFile& ini, const std::string& section, HWND form, const std::vector<FormList>& lists);
void SaveFormLayout(TMyRegIniFile& ini, const std::string& section, HWND form, const std::vector<FormList>& lists);

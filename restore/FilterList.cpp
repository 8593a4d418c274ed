#include "restore/FilterList.h"

#include "compare/LogFile.h"

void CompleteChangedPairs(std::vector<FilterRow>& rows) {
  // Decided from the selection as it came, so one pass does not chain across rows.
  std::vector<bool> selected;
  for (const FilterRow& row : rows) selected.push_back(row.selected);
  for (size_t i = 0; i < rows.size(); ++i) {
    if (!selected[i]) continue;
    if (rows[i].kind == kRecordOldSide && i + 1 < rows.size() && rows[i + 1].caption == rows[i].caption)
      rows[i + 1].selected = true;
    if (rows[i].kind == kRecordNewSide && i > 0 && rows[i - 1].caption == rows[i].caption) rows[i - 1].selected = true;
  }
}

bool IsSelectedInFilter(const std::vector<FilterRow>& rows, const std::string& name, const std::string& defaultText) {
  for (const FilterRow& row : rows) {
    if (!row.selected) continue;
    if (row.caption == name || (name.empty() && row.caption == defaultText)) return true;
  }
  return false;
}

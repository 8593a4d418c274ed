#include "restore/FilterList.h"

#include "compare/LogFile.h"

std::vector<FilterRow> FilterOf(const std::vector<ResultRow>& records, const std::vector<size_t>& selected) {
  std::vector<FilterRow> rows;
  rows.reserve(records.size());
  for (const ResultRow& record : records) rows.push_back({record.name, record.kindPosition, record.stateImage, false});
  for (size_t index : selected)
    if (index < rows.size()) rows[index].selected = true;
  return rows;
}

void CompleteChangedPairs(std::vector<FilterRow>& rows) {
  // Decided from the selection as it came, so one pass does not chain across rows.
  std::vector<bool> selected;
  for (const FilterRow& row : rows) selected.push_back(row.selected);
  for (size_t i = 0; i < rows.size(); ++i) {
    if (!selected[i]) continue;
    if (rows[i].kind == kRecordOldSide && i + 1 < rows.size() && rows[i + 1].name == rows[i].name)
      rows[i + 1].selected = true;
    if (rows[i].kind == kRecordNewSide && i > 0 && rows[i - 1].name == rows[i].name) rows[i - 1].selected = true;
  }
}

bool IsSelectedInFilter(const std::vector<FilterRow>& rows, int64_t kindPosition) {
  for (const FilterRow& row : rows)
    if (row.selected && row.kindPosition == kindPosition) return true;
  return false;
}

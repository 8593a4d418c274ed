#pragma once
// The list beside a result tree (values, files or entries of the selected node) as a restore
// pass sees it: when a pass is given one, only the records whose rows are selected take part.

#include <string>
#include <vector>

struct FilterRow {
  std::string caption;  // the name the list shows; DefaultText for an empty value name
  int kind = 0;         // the kind the list shows the row with (record kind AND 15)
  bool selected = false;
};

// A changed item is two rows, old side (11) then new side (12), with one caption: selecting
// either half selects both, so a pass never restores half of a change. The caller shows the
// completed selection in its list.
void CompleteChangedPairs(std::vector<FilterRow>& rows);

// True when a selected row names the record: its caption equals name, or name is empty and the
// caption is defaultText.
bool IsSelectedInFilter(const std::vector<FilterRow>& rows, const std::string& name, const std::string& defaultText);

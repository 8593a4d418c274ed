#pragma once
// The list beside a result tree (values, files or entries of the selected node) as a restore
// pass sees it: when a pass is given one, only the records whose rows are selected take part.
// Rows are the records themselves, in the order the log holds them, whatever order the list
// shows them in.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "compare/ResultRecords.h"

struct FilterRow {
  std::string name;          // the record's value, file or entry name
  int64_t kindPosition = 0;  // where the record's kind is in the log: the record's identity
  int kind = 0;              // record kind AND 15
  bool selected = false;
};

// The filter of a node's records with the rows at the selected indexes chosen.
std::vector<FilterRow> FilterOf(const std::vector<ResultRow>& records, const std::vector<size_t>& selected);

// A changed item is two records, old side (11) then new side (12), with one name: selecting
// either half selects both, so a pass never restores half of a change. The caller shows the
// completed selection in its list.
void CompleteChangedPairs(std::vector<FilterRow>& rows);

// True when the record whose kind is at kindPosition is selected.
bool IsSelectedInFilter(const std::vector<FilterRow>& rows, int64_t kindPosition);

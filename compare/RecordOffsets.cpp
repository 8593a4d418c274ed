#include "compare/RecordOffsets.h"

#include <algorithm>

#include "core/Errors.h"

std::vector<int32_t> SortedNodeOffsets(const TreeModel& tree) {
  std::vector<int32_t> offsets;
  tree.ForEach([&](TreeNode& node) {
    if (node.Data() != 0) offsets.push_back(node.Data());
  });
  std::sort(offsets.begin(), offsets.end());
  return offsets;
}

void RefuseRepeatedOffsets(const std::vector<int32_t>& sortedOffsets) {
  if (std::adjacent_find(sortedOffsets.begin(), sortedOffsets.end()) != sortedOffsets.end())
    throw EReadError("Invalid property value");
}

void RefuseOffsetsInside(const std::vector<int32_t>& sortedOffsets, int64_t begin, int64_t end) {
  const auto next = std::upper_bound(sortedOffsets.begin(), sortedOffsets.end(), begin);
  if (next != sortedOffsets.end() && *next < end) throw EReadError("Invalid property value");
}

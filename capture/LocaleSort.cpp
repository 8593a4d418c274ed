#include "capture/LocaleSort.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "core/TextCompare.h"

std::string LocaleSortKey(std::string_view text) {
  std::string key;
  AppendLocaleSortKey(key, text);
  return key;
}

int CompareSortKeys(std::string_view a, std::string_view b) {
  int result = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
  if (result != 0) return result < 0 ? -1 : 1;
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

void LocaleSorter::AppendKey(std::string_view text) {
  keyOffsets_.push_back(static_cast<uint32_t>(keys_.size()));
  AppendLocaleSortKey(keys_, text);
}

const std::vector<uint32_t>& LocaleSorter::SortPositions(size_t count) {
  order_.resize(count);
  std::iota(order_.begin(), order_.end(), 0u);
  if (count < 2) return order_;
  keyOffsets_.push_back(static_cast<uint32_t>(keys_.size()));
  auto key = [this](uint32_t i) {
    return std::string_view(keys_.data() + keyOffsets_[i], keyOffsets_[i + 1] - keyOffsets_[i]);
  };
  std::stable_sort(order_.begin(), order_.end(),
                   [&](uint32_t a, uint32_t b) { return CompareSortKeys(key(a), key(b)) < 0; });
  return order_;
}

#include "capture/LocaleSort.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <numeric>

#include "core/Errors.h"

namespace {

constexpr DWORD kSortKeyFlags = LCMAP_SORTKEY | NORM_IGNORECASE;

// Writes the key of text at the end of keys. The platform refuses a source length of 0, so the
// empty text goes in as a terminated string of its own.
void AppendSortKey(std::string& keys, std::string_view text) {
  const char* source = text.empty() ? "" : text.data();
  int sourceLength = text.empty() ? -1 : static_cast<int>(std::min<size_t>(text.size(), INT_MAX));
  size_t start = keys.size();
  // Enough for nearly every text, so one call does; the rest ask for their size first.
  int room = static_cast<int>(std::min<size_t>(4 * text.size() + 16, INT_MAX));
  keys.resize(start + static_cast<size_t>(room));
  int written = LCMapStringA(LOCALE_USER_DEFAULT, kSortKeyFlags, source, sourceLength, keys.data() + start, room);
  if (written == 0) {
    room = LCMapStringA(LOCALE_USER_DEFAULT, kSortKeyFlags, source, sourceLength, nullptr, 0);
    if (room > 0) {
      keys.resize(start + static_cast<size_t>(room));
      written = LCMapStringA(LOCALE_USER_DEFAULT, kSortKeyFlags, source, sourceLength, keys.data() + start, room);
    }
  }
  if (written <= 0) {
    keys.resize(start);
    throw Exception(ErrorKind::EOutOfResources, "The locale sort key of a text could not be made.");
  }
  keys.resize(start + static_cast<size_t>(written));
}

}  // namespace

std::string LocaleSortKey(std::string_view text) {
  std::string key;
  AppendSortKey(key, text);
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
  AppendSortKey(keys_, text);
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

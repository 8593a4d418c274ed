#pragma once
// Sorting in the order of CompareTextLocale (case-insensitive, user's locale), the order of every
// name list in the data files and of the merges that read them. The locale comparison is the
// expensive part of a capture's sort, so each text is mapped once to its locale sort key and the
// keys are compared byte by byte: at most one locale call per name instead of one per
// comparison (plain ASCII names are keyed from a table of character weights), and the same
// order (the platform defines sort keys that way; LocaleSortTest holds both routes to it).

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The sort key of text: CompareSortKeys of two keys answers as CompareTextLocale of the texts.
std::string LocaleSortKey(std::string_view text);
// <0, 0 or >0 like strcmp.
int CompareSortKeys(std::string_view a, std::string_view b);

// Orders lists of texts; its buffers are kept for the next list, so a walk that sorts a list
// per key or folder allocates only while its lists grow.
class LocaleSorter {
 public:
  // Positions 0..count-1 in ascending order of textAt(position); equal texts keep their order.
  template <typename TextAt>
  const std::vector<uint32_t>& Order(size_t count, TextAt textAt) {
    keyOffsets_.clear();
    keys_.clear();
    if (count > 1)
      for (size_t i = 0; i < count; ++i) AppendKey(textAt(i));
    return SortPositions(count);
  }

 private:
  void AppendKey(std::string_view text);
  const std::vector<uint32_t>& SortPositions(size_t count);

  std::string keys_;                  // all keys, one after the other
  std::vector<uint32_t> keyOffsets_;  // start of key i; one more entry marks the end
  std::vector<uint32_t> order_;
};

// Sorts items by text(item) in place, stable.
template <typename T, typename TextOf>
void SortByLocale(std::vector<T>& items, LocaleSorter& sorter, TextOf text) {
  if (items.size() < 2) return;
  const std::vector<uint32_t>& order =
      sorter.Order(items.size(), [&](size_t i) -> std::string_view { return text(items[i]); });
  std::vector<T> sorted;
  sorted.reserve(items.size());
  for (uint32_t i : order) sorted.push_back(std::move(items[i]));
  items = std::move(sorted);
}

inline void SortByLocale(std::vector<std::string>& texts, LocaleSorter& sorter) {
  SortByLocale(texts, sorter, [](const std::string& s) -> std::string_view { return s; });
}

inline void SortByLocale(std::vector<std::string>& texts) {
  LocaleSorter sorter;
  SortByLocale(texts, sorter);
}

// Where the platform's locale comparison is missing (the native engine build), any
// case-insensitive total order serves, as long as capture and compare share it.
#include <algorithm>
#include <cctype>

#include "core/TextCompare.h"

int CompareTextLocale(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int ca = std::toupper(static_cast<unsigned char>(a[i]));
    int cb = std::toupper(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// The upper-case bytes order as CompareTextLocale does.
void AppendLocaleSortKey(std::string& keys, std::string_view text) {
  for (unsigned char c : text) keys.push_back(static_cast<char>(std::toupper(c)));
}

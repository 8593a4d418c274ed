#pragma once
// The one text order of all sorted name lists in data files and of the merges that read them:
// case-insensitive in the user's locale. Capture and compare must use the same order.

#include <string>
#include <string_view>

// <0, 0 or >0 like strcmp.
int CompareTextLocale(std::string_view a, std::string_view b);

inline bool TextLess(std::string_view a, std::string_view b) { return CompareTextLocale(a, b) < 0; }

// Appends the sort key of text to keys: two keys compared byte by byte, the shorter first when one
// begins the other, answer as CompareTextLocale of their texts. A sort keys each name once instead
// of comparing it with the locale again and again.
void AppendLocaleSortKey(std::string& keys, std::string_view text);

#pragma once
// The one text order of all sorted name lists in data files and of the merges that read them:
// case-insensitive in the user's locale. Capture and compare must use the same order.

#include <string_view>

// <0, 0 or >0 like strcmp.
int CompareTextLocale(std::string_view a, std::string_view b);

inline bool TextLess(std::string_view a, std::string_view b) { return CompareTextLocale(a, b) < 0; }

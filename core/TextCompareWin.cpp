#include <windows.h>

#include "core/TextCompare.h"

int CompareTextLocale(std::string_view a, std::string_view b) {
  int result = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                              b.data(), static_cast<int>(b.size()));
  return result - CSTR_EQUAL;
}

#include <windows.h>

#include "compare/UpperCase.h"

std::string UpperCaseLocale(std::string_view text) {
  std::string upper(text);
  if (!upper.empty()) CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
  return upper;
}

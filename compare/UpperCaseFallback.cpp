// Without the platform's conversion (the native engine build) ASCII letters are converted;
// the files compared there are written with the same rule.
#include "compare/UpperCase.h"

std::string UpperCaseLocale(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

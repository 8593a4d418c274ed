// Without the platform: Latin-1, which the Western code page agrees with on its letters.
#include "fonts/CodePageText.h"

std::string CodePageTextOf(const std::u16string& text) {
  std::string result;
  result.reserve(text.size());
  for (char16_t c : text) result.push_back(c < 0x100 ? static_cast<char>(c) : '?');
  return result;
}

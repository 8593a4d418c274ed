#include "core/HexText.h"

#include "core/Errors.h"

namespace {

[[noreturn]] void Fail() { throw Exception(ErrorKind::EConvertError, "Error while converting String to Hex"); }

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

uint32_t HexTextToNumber(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) Fail();
  text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  if (text.front() == '$') text.remove_prefix(1);
  if (text.empty()) Fail();
  uint64_t value = 0;
  for (char c : text) {
    const int digit = DigitValue(c);
    if (digit < 0) Fail();
    value = value * 16 + static_cast<uint64_t>(digit);
    // Leading zeros are fine; a ninth significant digit is not.
    if (value > 0xFFFFFFFFu) Fail();
  }
  return static_cast<uint32_t>(value);
}

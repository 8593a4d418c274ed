#include "platform/TMyRegIniFile.h"

#include <charconv>

bool ParseIniInteger(const std::string& text, int32_t& value) {
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    // Hexadecimal text is the 32-bit pattern: "0xFFFFFFFF" is -1.
    uint32_t bits = 0;
    auto [end, ec] = std::from_chars(first + 2, last, bits, 16);
    if (ec != std::errc() || end != last) return false;
    value = static_cast<int32_t>(bits);
    return true;
  }
  // from_chars takes a minus sign but no plus sign.
  if (first != last && *first == '+') {
    ++first;
    if (first == last || *first < '0' || *first > '9') return false;
  }
  auto [end, ec] = std::from_chars(first, last, value);
  return ec == std::errc() && end == last;
}

TMyRegIniFile::TMyRegIniFile(const std::string& fileName) : fileName_(fileName) {
  SetRegAccess(kRegAccessFull);
  OpenKey(fileName, true);
}

std::string TMyRegIniFile::ReadString(const std::string& section, const std::string& ident,
                                      const std::string& defaultText) {
  UniqueHKey key = GetKey(section);
  if (!key) return defaultText;
  BorrowedCurrentKey borrowed(*this, key.Get());
  if (!ValueExists(ident)) return defaultText;
  return TMyRegistry::ReadString(ident, false);
}

void TMyRegIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& text) {
  CreateKey(section);
  UniqueHKey key = GetKey(section);
  if (!key) return;
  BorrowedCurrentKey borrowed(*this, key.Get());
  TMyRegistry::WriteString(ident, text, kRdString);
}

int32_t TMyRegIniFile::ReadInteger(const std::string& section, const std::string& ident, int32_t defaultValue) {
  int32_t value = 0;
  return ParseIniInteger(ReadString(section, ident, ""), value) ? value : defaultValue;
}

void TMyRegIniFile::WriteInteger(const std::string& section, const std::string& ident, int32_t value) {
  WriteString(section, ident, std::to_string(value));
}

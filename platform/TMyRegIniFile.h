#pragma once
// Section/identifier storage in the registry, like an INI file: each section is a subkey of
// the key the object was created on, each identifier a string value in it. Integers are stored
// as decimal text and read back also from "0x" hexadecimal text.

#include <cstdint>
#include <string>

#include "platform/TMyRegistry.h"

class TMyRegIniFile : public TMyRegistry {
 public:
  // Opens (creating) fileName below HKEY_CURRENT_USER with full access.
  explicit TMyRegIniFile(const std::string& fileName);

  const std::string& FileName() const { return fileName_; }

  // defaultText when the section or the identifier is missing.
  std::string ReadString(const std::string& section, const std::string& ident, const std::string& defaultText);
  void WriteString(const std::string& section, const std::string& ident, const std::string& text);
  // defaultValue when the stored text is missing or no integer.
  int32_t ReadInteger(const std::string& section, const std::string& ident, int32_t defaultValue);
  void WriteInteger(const std::string& section, const std::string& ident, int32_t value);

 private:
  std::string fileName_;
};

// Decimal text, or hexadecimal after "0x"/"0X" (longer than two characters); false when the
// text is no 32-bit integer.
bool ParseIniInteger(const std::string& text, int32_t& value);

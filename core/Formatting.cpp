#include "core/Formatting.h"

#include <cstdio>
#include <cstring>

std::string FormatThousands(uint64_t value, char separator) {
  std::string digits = std::to_string(value);
  std::string text;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += separator;
    text += digits[i];
  }
  return text;
}

std::string FormatAttributes(uint32_t attributes) {
  std::string text;
  if (attributes & 0x20) text += 'A';
  if (attributes & 0x01) text += 'R';
  if (attributes & 0x04) text += 'S';
  if (attributes & 0x02) text += 'H';
  return text;
}

std::string FormatRegistryValue(int code, std::string_view data, const std::string& emptyText) {
  constexpr size_t kMostBytesShown = 201;
  char buffer[64];
  switch (code) {
    case 1:
    case 2: {
      std::string_view text = data.substr(0, data.find('\0'));
      return "\"" + (text.empty() ? emptyText : std::string(text)) + "\"";
    }
    case 3: {
      uint32_t value = 0;
      std::memcpy(&value, data.data(), data.size() < 4 ? data.size() : 4);
      std::snprintf(buffer, sizeof buffer, "$%08X   (%d)", value, static_cast<int32_t>(value));
      return buffer;
    }
    default: {
      std::snprintf(buffer, sizeof buffer, "Binary(%d), %d bytes: ", code, static_cast<int>(data.size()));
      std::string text = buffer;
      for (size_t i = 0; i < data.size() && i < kMostBytesShown; ++i) {
        std::snprintf(buffer, sizeof buffer, "%02X ", static_cast<unsigned char>(data[i]));
        text += buffer;
      }
      return text;
    }
  }
}

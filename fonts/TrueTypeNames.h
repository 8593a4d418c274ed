#pragma once
// The names a TrueType file carries about itself (its name table) and its bold and italic bits
// (the OS/2 table's fsSelection), as the font remover shows them. A font file is untrusted
// input: every count, offset and length in it is checked against the bytes there are, and a
// file that breaks any of them gives no information at all instead of a part of it.

#include <cstdint>
#include <optional>
#include <string>

#include "fonts/FontBytes.h"

struct FontStyle {
  bool bold = false;
  bool italic = false;
  bool operator==(const FontStyle&) const = default;
};

struct TFontInfoRec {
  std::string familyName;  // name ID 1
  std::string infoText;    // "<label>:  <name>\r" for each of the name IDs 0-7 that has a name
  FontStyle style;
};

// Name IDs 0-7 and their labels in the information text.
inline constexpr int kFontNameIdCount = 8;
extern const char* const kFontNameLabels[kFontNameIdCount];

class TrueTypeNameReader {
 public:
  // Names in the user's language (a Windows language ID such as 0x0409) win over the others.
  explicit TrueTypeNameReader(uint32_t userLocale) : userLocale_(userLocale) {}

  // The record of a version 1.0 TrueType file; nothing when the file is another kind or damaged.
  // A file without a name table is a font without names: an empty record.
  std::optional<TFontInfoRec> Read(const FontBytes& bytes) const;

 private:
  uint32_t userLocale_;
};

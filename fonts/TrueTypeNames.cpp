#include "fonts/TrueTypeNames.h"

#include <cstring>
#include <vector>

#include "fonts/CodePageText.h"

const char* const kFontNameLabels[kFontNameIdCount] = {"Copyright", "FontName", "SubName",        "Ident",
                                                       "FullName",  "Version",  "PostScriptName", "Trademark"};

namespace {

constexpr uint32_t kVersion1 = 0x00010000;
constexpr uint64_t kOffsetTableSize = 12;
constexpr uint64_t kTableRecordSize = 16;
constexpr uint64_t kNameHeaderSize = 6;
constexpr uint64_t kNameRecordSize = 12;
constexpr uint64_t kFsSelectionOffset = 62;
constexpr uint16_t kItalicBit = 1 << 0;
constexpr uint16_t kBoldBit = 1 << 5;

// A table's bytes in the file: [offset, offset + length).
struct Extent {
  uint64_t offset = 0;
  uint64_t length = 0;
  uint64_t End() const { return offset + length; }
};

bool Overlap(const Extent& a, const Extent& b) {
  return a.length > 0 && b.length > 0 && a.offset < b.End() && b.offset < a.End();
}

// Big-endian reads inside one extent of the file; a read that leaves it fails.
class ExtentReader {
 public:
  ExtentReader(const FontBytes& bytes, Extent extent) : bytes_(bytes), extent_(extent) {}

  bool Bytes(uint64_t at, uint64_t length, std::vector<uint8_t>& out) const {
    if (at > extent_.length || length > extent_.length - at) return false;
    out.resize(static_cast<size_t>(length));
    return bytes_.ReadAt(extent_.offset + at, out.size(), out.data());
  }
  bool U16(uint64_t at, uint16_t& value) const {
    uint8_t b[2];
    if (!Raw(at, b)) return false;
    value = static_cast<uint16_t>(b[0] << 8 | b[1]);
    return true;
  }
  bool U32(uint64_t at, uint32_t& value) const {
    uint8_t b[4];
    if (!Raw(at, b)) return false;
    value = uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | b[3];
    return true;
  }

 private:
  template <size_t N>
  bool Raw(uint64_t at, uint8_t (&out)[N]) const {
    if (at > extent_.length || N > extent_.length - at) return false;
    return bytes_.ReadAt(extent_.offset + at, N, out);
  }

  const FontBytes& bytes_;
  Extent extent_;
};

struct TableDirectory {
  std::optional<Extent> name;
  std::optional<Extent> os2;
};

bool IsNameTag(const uint8_t tag[4]) {
  static const char kName[] = "name";
  for (int i = 0; i < 4; ++i) {
    const char c = static_cast<char>(tag[i]);
    const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower != kName[i]) return false;
  }
  return true;
}

// The name and OS/2 tables, each inside the file and clear of the directory and of each other.
std::optional<TableDirectory> ReadDirectory(const FontBytes& bytes) {
  const ExtentReader file(bytes, {0, bytes.Size()});
  uint32_t version = 0;
  uint16_t numTables = 0;
  if (!file.U32(0, version) || version != kVersion1 || !file.U16(4, numTables)) return std::nullopt;
  const Extent directory{0, kOffsetTableSize + kTableRecordSize * numTables};
  if (directory.End() > bytes.Size()) return std::nullopt;

  TableDirectory tables;
  std::vector<uint8_t> record;
  for (uint64_t i = 0; i < numTables; ++i) {
    const uint64_t at = kOffsetTableSize + kTableRecordSize * i;
    uint32_t offset = 0, length = 0;
    if (!file.Bytes(at, 4, record) || !file.U32(at + 8, offset) || !file.U32(at + 12, length)) return std::nullopt;
    const Extent extent{offset, length};
    if (IsNameTag(record.data()))
      tables.name = extent;
    else if (std::memcmp(record.data(), "OS/2", 4) == 0)
      tables.os2 = extent;
  }
  for (const std::optional<Extent>& table : {tables.name, tables.os2})
    if (table && (table->End() > bytes.Size() || Overlap(*table, directory))) return std::nullopt;
  if (tables.name && tables.os2 && Overlap(*tables.name, *tables.os2)) return std::nullopt;
  return tables;
}

// A name's text up to its first NUL: a control that shows it would stop there anyway, and the
// lines after it in the information text would be lost with it.
std::string UpToNul(std::string text) {
  const size_t nul = text.find('\0');
  if (nul != std::string::npos) text.erase(nul);
  return text;
}

std::optional<std::string> DecodeName(const std::vector<uint8_t>& raw, bool utf16) {
  if (!utf16) return UpToNul(std::string(raw.begin(), raw.end()));
  if (raw.size() % 2 != 0) return std::nullopt;
  std::u16string wide(raw.size() / 2, u'\0');
  for (size_t i = 0; i < wide.size(); ++i) wide[i] = static_cast<char16_t>(raw[2 * i] << 8 | raw[2 * i + 1]);
  return UpToNul(CodePageTextOf(wide));
}

}  // namespace

std::optional<TFontInfoRec> TrueTypeNameReader::Read(const FontBytes& bytes) const {
  const std::optional<TableDirectory> tables = ReadDirectory(bytes);
  if (!tables) return std::nullopt;
  TFontInfoRec info;
  if (!tables->name) return info;

  const ExtentReader names(bytes, *tables->name);
  uint16_t format = 0, count = 0, stringOffset = 0;
  if (!names.U16(0, format) || format != 0 || !names.U16(2, count) || !names.U16(4, stringOffset)) return std::nullopt;
  if (kNameHeaderSize + kNameRecordSize * count > tables->name->length) return std::nullopt;

  std::string stored[kFontNameIdCount];
  int priorities[kFontNameIdCount] = {};
  std::vector<uint8_t> raw;
  for (uint64_t i = 0; i < count; ++i) {
    const uint64_t at = kNameHeaderSize + kNameRecordSize * i;
    uint16_t field[6];  // platformID, encodingID, languageID, nameID, length, offset
    for (int f = 0; f < 6; ++f)
      if (!names.U16(at + 2 * f, field[f])) return std::nullopt;
    const auto [platform, encoding, language, nameId, length, offset] = field;
    if (!names.Bytes(uint64_t{stringOffset} + offset, length, raw)) return std::nullopt;
    // Unicode platform, and Microsoft's Unicode encoding; Microsoft's symbol encoding is 8-bit.
    const bool utf16 = platform == 0 || (platform == 3 && encoding == 1);
    const std::optional<std::string> text = DecodeName(raw, utf16);
    if (!text) return std::nullopt;

    if (nameId == 1 && (utf16 || info.familyName.empty())) info.familyName = *text;
    if (nameId < kFontNameIdCount && !text->empty()) {
      const int priority = language == userLocale_ ? 3 : (language == 0 ? 2 : 1);
      if (priority > priorities[nameId] || (priority == priorities[nameId] && utf16)) {
        stored[nameId] = *text;
        priorities[nameId] = priority;
      }
    }
  }
  for (int id = 0; id < kFontNameIdCount; ++id)
    if (priorities[id] > 0 && !stored[id].empty())
      info.infoText += std::string(kFontNameLabels[id]) + ":  " + stored[id] + "\r";

  if (tables->os2) {
    uint16_t selection = 0;
    if (!ExtentReader(bytes, *tables->os2).U16(kFsSelectionOffset, selection)) return std::nullopt;
    info.style.italic = (selection & kItalicBit) != 0;
    info.style.bold = (selection & kBoldBit) != 0;
  }
  return info;
}

#pragma once
// TrueType files made in a test: a name table of the records asked for, an OS/2 table with
// chosen style bits, and on request the tables a font engine needs to load the font (one
// square glyph for every printable ASCII character). Plain C++, so the native engine tests, the
// fuzz seeds and the window tests under Wine share it.

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace truetype_test {

using Bytes = std::vector<uint8_t>;

inline void Append16(Bytes& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value >> 8));
  out.push_back(static_cast<uint8_t>(value));
}
inline void Append32(Bytes& out, uint32_t value) {
  Append16(out, value >> 16);
  Append16(out, value & 0xFFFF);
}
inline void Put16(Bytes& out, size_t at, uint32_t value) {
  out.at(at) = static_cast<uint8_t>(value >> 8);
  out.at(at + 1) = static_cast<uint8_t>(value);
}
inline void Put32(Bytes& out, size_t at, uint32_t value) {
  Put16(out, at, value >> 16);
  Put16(out, at + 2, value & 0xFFFF);
}
inline uint32_t Get32(const Bytes& in, size_t at) {
  return uint32_t{in.at(at)} << 24 | uint32_t{in.at(at + 1)} << 16 | uint32_t{in.at(at + 2)} << 8 | in.at(at + 3);
}

// Where the directory record of the table tag starts (tag, checksum, offset, length).
inline size_t TableRecordOf(const Bytes& font, const std::string& tag) {
  const size_t tables = size_t{font.at(4)} << 8 | font.at(5);
  for (size_t i = 0; i < tables; ++i)
    if (std::string(font.begin() + 12 + 16 * i, font.begin() + 16 + 16 * i) == tag) return 12 + 16 * i;
  return 0;
}

struct NameRecord {
  uint16_t platform, encoding, language, nameId;
  Bytes text;  // as stored
};

// Platform 0, and platform 3 with encoding 1, store UTF-16 big-endian.
inline bool IsUtf16Record(uint16_t platform, uint16_t encoding) {
  return platform == 0 || (platform == 3 && encoding == 1);
}

class TrueTypeBuilder {
 public:
  static constexpr uint16_t kWindows = 3, kUnicode = 1, kSymbol = 0, kEnglishUs = 0x0409;

  // text is Latin-1; a UTF-16 record stores each character as one big-endian code unit.
  TrueTypeBuilder& Name(uint16_t platform, uint16_t encoding, uint16_t language, uint16_t nameId,
                        const std::string& text) {
    Bytes stored;
    for (unsigned char c : text) {
      if (IsUtf16Record(platform, encoding)) stored.push_back(0);
      stored.push_back(c);
    }
    return RawName({platform, encoding, language, nameId, stored});
  }
  // A record whose stored bytes are given as they are (odd lengths, for one).
  TrueTypeBuilder& RawName(const NameRecord& record) {
    names_.push_back(record);
    return *this;
  }
  // The usual Windows names of a family and style in US English.
  TrueTypeBuilder& WindowsNames(const std::string& family, const std::string& style) {
    Name(kWindows, kUnicode, kEnglishUs, 1, family);
    Name(kWindows, kUnicode, kEnglishUs, 2, style);
    Name(kWindows, kUnicode, kEnglishUs, 4, family + " " + style);
    std::string postScript = family + "-" + style;
    postScript.erase(std::remove(postScript.begin(), postScript.end(), ' '), postScript.end());
    return Name(kWindows, kUnicode, kEnglishUs, 6, postScript);
  }
  TrueTypeBuilder& Selection(uint16_t fsSelection) {
    selection_ = fsSelection;
    return *this;
  }
  TrueTypeBuilder& Loadable() {
    loadable_ = true;
    if (!selection_) selection_ = 0x40;  // regular
    return *this;
  }
  TrueTypeBuilder& WithoutNameTable() {
    nameTable_ = false;
    return *this;
  }
  TrueTypeBuilder& Table(const std::string& tag, const Bytes& bytes) {
    extra_[tag] = bytes;
    return *this;
  }

  Bytes Build() const {
    std::map<std::string, Bytes> tables = extra_;
    if (nameTable_) tables["name"] = NameTable();
    if (selection_) tables["OS/2"] = Os2Table(*selection_);
    if (loadable_) AddOutlineTables(tables);

    Bytes font;
    const uint16_t count = static_cast<uint16_t>(tables.size());
    uint16_t power = 1, log2 = 0;
    while (power * 2 <= count) power *= 2, ++log2;
    Append32(font, 0x00010000);
    Append16(font, count);
    Append16(font, power * 16);
    Append16(font, log2);
    Append16(font, count * 16 - power * 16);
    size_t offset = 12 + 16 * tables.size();
    for (const auto& [tag, bytes] : tables) {  // std::map: in tag order, as a directory is
      font.insert(font.end(), tag.begin(), tag.end());
      Append32(font, Checksum(bytes));
      Append32(font, static_cast<uint32_t>(offset));
      Append32(font, static_cast<uint32_t>(bytes.size()));
      offset += (bytes.size() + 3) & ~size_t{3};
    }
    for (const auto& entry : tables) {
      font.insert(font.end(), entry.second.begin(), entry.second.end());
      font.resize((font.size() + 3) & ~size_t{3}, 0);
    }
    return font;
  }

 private:
  static uint32_t Checksum(Bytes bytes) {
    bytes.resize((bytes.size() + 3) & ~size_t{3}, 0);
    uint32_t sum = 0;
    for (size_t i = 0; i < bytes.size(); i += 4) sum += Get32(bytes, i);
    return sum;
  }

  Bytes NameTable() const {
    Bytes table, strings;
    Append16(table, 0);
    Append16(table, static_cast<uint16_t>(names_.size()));
    Append16(table, static_cast<uint16_t>(6 + 12 * names_.size()));
    for (const NameRecord& record : names_) {
      for (uint16_t field : {record.platform, record.encoding, record.language, record.nameId}) Append16(table, field);
      Append16(table, static_cast<uint16_t>(record.text.size()));
      Append16(table, static_cast<uint16_t>(strings.size()));
      strings.insert(strings.end(), record.text.begin(), record.text.end());
    }
    table.insert(table.end(), strings.begin(), strings.end());
    return table;
  }

  // Version 1: fsSelection at 62, the code page ranges (Latin 1) at 78.
  static Bytes Os2Table(uint16_t selection) {
    Bytes t(86, 0);
    Put16(t, 0, 1);                                        // version
    Put16(t, 2, 500);                                      // xAvgCharWidth
    Put16(t, 4, (selection & 0x20) ? 700 : 400);           // usWeightClass
    Put16(t, 6, 5);                                        // usWidthClass
    for (size_t at : {10, 12, 18, 20}) Put16(t, at, 300);  // sub- and superscript sizes
    Put16(t, 26, 50);                                      // yStrikeoutSize
    Put16(t, 28, 250);                                     // yStrikeoutPosition
    Put32(t, 42, 1);                                       // ulUnicodeRange1: Basic Latin
    t[58] = 'Q', t[59] = 'R', t[60] = 'V', t[61] = 'L';    // achVendID
    Put16(t, 62, selection);                               // fsSelection
    Put16(t, 64, 0x20);                                    // usFirstCharIndex
    Put16(t, 66, 0x7E);                                    // usLastCharIndex
    Put16(t, 68, 800);                                     // sTypoAscender
    Put16(t, 70, 0xFFFF & -200);                           // sTypoDescender
    Put16(t, 74, 800);                                     // usWinAscent
    Put16(t, 76, 200);                                     // usWinDescent
    Put32(t, 78, 1);                                       // ulCodePageRange1: Latin 1
    return t;
  }

  // Glyph 0 is the empty .notdef, glyph 1 a square that every printable ASCII character maps to.
  static void AddOutlineTables(std::map<std::string, Bytes>& tables) {
    Bytes head(54, 0);
    Put32(head, 0, 0x00010000);
    Put32(head, 4, 0x00010000);
    Put32(head, 12, 0x5F0F3CF5);  // magicNumber
    Put16(head, 16, 0x000B);      // flags
    Put16(head, 18, 1000);        // unitsPerEm
    Put16(head, 40, 500);         // xMax
    Put16(head, 42, 700);         // yMax
    Put16(head, 46, 8);           // lowestRecPPEM
    Put16(head, 48, 2);           // fontDirectionHint
    tables["head"] = head;

    Bytes hhea(36, 0);
    Put32(hhea, 0, 0x00010000);
    Put16(hhea, 4, 800);            // ascender
    Put16(hhea, 6, 0xFFFF & -200);  // descender
    Put16(hhea, 10, 500);           // advanceWidthMax
    Put16(hhea, 16, 500);           // xMaxExtent
    Put16(hhea, 18, 1);             // caretSlopeRise
    Put16(hhea, 34, 2);             // numberOfHMetrics
    tables["hhea"] = hhea;

    Bytes maxp(32, 0);
    Put32(maxp, 0, 0x00010000);
    Put16(maxp, 4, 2);   // numGlyphs
    Put16(maxp, 6, 4);   // maxPoints
    Put16(maxp, 8, 1);   // maxContours
    Put16(maxp, 14, 2);  // maxZones
    tables["maxp"] = maxp;

    Bytes hmtx;
    for (int glyph = 0; glyph < 2; ++glyph) Append16(hmtx, 500), Append16(hmtx, 0);
    tables["hmtx"] = hmtx;

    Bytes glyf;
    Append16(glyf, 1);  // one contour
    for (uint16_t bound : {0, 0, 500, 700}) Append16(glyf, bound);
    Append16(glyf, 3);                                             // its last point
    Append16(glyf, 0);                                             // no instructions
    for (int point = 0; point < 4; ++point) glyf.push_back(0x01);  // on the curve, 16-bit deltas
    for (int dx : {0, 500, 0, -500}) Append16(glyf, 0xFFFF & dx);
    for (int dy : {0, 0, 700, 0}) Append16(glyf, 0xFFFF & dy);
    const uint16_t glyfEnd = static_cast<uint16_t>(glyf.size());
    tables["glyf"] = glyf;

    Bytes loca;  // short offsets, halved
    for (uint16_t at : {0, 0, static_cast<int>(glyfEnd)}) Append16(loca, at / 2);
    tables["loca"] = loca;

    Bytes cmap;
    Append16(cmap, 0);
    Append16(cmap, 1);
    Append16(cmap, 3), Append16(cmap, 1), Append32(cmap, 12);                    // Windows Unicode, at 12
    Append16(cmap, 4);                                                           // format 4
    Append16(cmap, 32);                                                          // its length
    Append16(cmap, 0);                                                           // language
    Append16(cmap, 4), Append16(cmap, 4), Append16(cmap, 1), Append16(cmap, 0);  // two segments
    Append16(cmap, 0x7E), Append16(cmap, 0xFFFF);                                // endCode
    Append16(cmap, 0);                                                           // reservedPad
    Append16(cmap, 0x20), Append16(cmap, 0xFFFF);                                // startCode
    Append16(cmap, 0xFFFF & (1 - 0x20)), Append16(cmap, 1);                      // idDelta
    Append16(cmap, 0), Append16(cmap, 0);                                        // idRangeOffset
    tables["cmap"] = cmap;

    Bytes post(32, 0);
    Put32(post, 0, 0x00030000);  // no glyph names
    Put16(post, 8, 0xFFFF & -100);
    Put16(post, 10, 50);
    tables["post"] = post;
  }

  std::vector<NameRecord> names_;
  std::optional<uint16_t> selection_;
  bool loadable_ = false;
  bool nameTable_ = true;
  std::map<std::string, Bytes> extra_;
};

}  // namespace truetype_test

#include "fonts/TrueTypeNames.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>

#include "tests/fonts/TrueTypeBuilder.h"

using namespace truetype_test;

namespace {

constexpr uint16_t kGerman = 0x0407, kFrench = 0x040C, kUs = 0x0409;
constexpr uint32_t kUserLocale = kGerman;

// One name record: 8-bit ones on the Macintosh platform, UTF-16 ones on Windows (Unicode).
struct Rec {
  bool utf16;
  uint16_t language;
  std::string text;
};

TrueTypeBuilder WithNames(uint16_t nameId, const std::vector<Rec>& records) {
  TrueTypeBuilder builder;
  for (const Rec& r : records)
    r.utf16 ? builder.Name(3, 1, r.language, nameId, r.text) : builder.Name(1, 0, r.language, nameId, r.text);
  return builder;
}

std::optional<TFontInfoRec> ReadFont(const Bytes& font, uint32_t locale = kUserLocale) {
  // A copy of exactly the file's size, so the sanitizers see a read past its end.
  const Bytes exact(font);
  return TrueTypeNameReader(locale).Read(MemoryFontBytes(exact));
}

}  // namespace

TEST(TrueTypeNames, EachNameIdShowsTheRecordOfTheHighestPriority) {
  struct Case {
    const char* rule;
    std::vector<Rec> records;
    std::string shown;
  };
  const Case cases[] = {
      {"the user's language wins, wherever it stands",
       {{true, kUs, "US"}, {false, kGerman, "DE"}, {true, 0, "Zero"}},
       "DE"},
      {"without it, language 0", {{true, kUs, "US"}, {false, 0, "Zero"}, {true, kFrench, "FR"}}, "Zero"},
      {"otherwise the first 8-bit record met", {{false, kUs, "US"}, {false, kFrench, "FR"}}, "US"},
      {"a UTF-16 record beats an 8-bit one of equal priority", {{false, kUs, "US8"}, {true, kFrench, "FR16"}}, "FR16"},
      {"an 8-bit record never beats a UTF-16 one of equal priority",
       {{true, kUs, "US16"}, {false, 0x0410, "IT8"}},
       "US16"},
      {"a later UTF-16 record beats an earlier one", {{true, kUs, "US16"}, {true, kFrench, "FR16"}}, "FR16"},
      {"a UTF-16 record of lower priority does not replace", {{false, 0, "Zero8"}, {true, kUs, "US16"}}, "Zero8"},
      {"an empty name does not count", {{true, kGerman, ""}, {false, kUs, "US"}}, "US"},
  };
  for (const Case& c : cases) {
    const std::optional<TFontInfoRec> info = ReadFont(WithNames(4, c.records).Build());
    ASSERT_TRUE(info) << c.rule;
    EXPECT_EQ(info->infoText, "FullName:  " + c.shown + "\r") << c.rule;
  }
}

TEST(TrueTypeNames, TheFamilyNameIsTheLastUtf16RecordOrElseTheFirst8BitOne) {
  struct Case {
    const char* rule;
    std::vector<Rec> records;
    std::string family;
  };
  const Case cases[] = {
      {"a UTF-16 record replaces an 8-bit one", {{false, 0, "Eight"}, {true, kUs, "Wide"}}, "Wide"},
      {"an 8-bit record does not replace a UTF-16 one", {{true, kUs, "Wide"}, {false, 0, "Eight"}}, "Wide"},
      {"of 8-bit records the first", {{false, 0, "First"}, {false, 0, "Second"}}, "First"},
      {"of UTF-16 records the last, whatever its language", {{true, kGerman, "Mine"}, {true, kFrench, "Last"}}, "Last"},
  };
  for (const Case& c : cases) {
    const std::optional<TFontInfoRec> info = ReadFont(WithNames(1, c.records).Build());
    ASSERT_TRUE(info) << c.rule;
    EXPECT_EQ(info->familyName, c.family) << c.rule;
  }
  // The information text follows the priorities even where the family name does not.
  EXPECT_EQ(ReadFont(WithNames(1, {{true, kGerman, "Mine"}, {true, kFrench, "Last"}}).Build())->infoText,
            "FontName:  Mine\r");
}

TEST(TrueTypeNames, Utf16RecordsAreThoseOfTheUnicodePlatformAndOfWindowsUnicode) {
  TrueTypeBuilder builder;
  builder.Name(0, 3, 0, 0, "Unicode platform \xE9");  // UTF-16, é in the code page
  builder.Name(3, 1, 0, 2, "Windows Unicode");
  // Windows' symbol encoding is 8-bit: three bytes, which as UTF-16 would be an odd length.
  builder.RawName({3, 0, 0, 3, {'S', 'y', 'm'}});
  builder.RawName({3, 1, 0, 5, {0x4E, 0x2D, 0x00, 'v'}});  // a character the code page cannot spell
  const std::optional<TFontInfoRec> info = ReadFont(builder.Build());
  ASSERT_TRUE(info);
  EXPECT_EQ(info->infoText,
            "Copyright:  Unicode platform \xE9\rSubName:  Windows Unicode\rIdent:  Sym\rVersion:  ?v\r");
}

TEST(TrueTypeNames, TheInformationTextHasALabelledLineForEachKnownNameInIdOrder) {
  TrueTypeBuilder builder;
  for (int id : {9, 7, 6, 5, 4, 3, 2, 1, 0, 8})
    builder.Name(3, 1, kUs, static_cast<uint16_t>(id), "n" + std::to_string(id));
  const std::optional<TFontInfoRec> info = ReadFont(builder.Build());
  ASSERT_TRUE(info);
  EXPECT_EQ(info->infoText,
            "Copyright:  n0\rFontName:  n1\rSubName:  n2\rIdent:  n3\rFullName:  n4\rVersion:  n5\r"
            "PostScriptName:  n6\rTrademark:  n7\r");
  EXPECT_EQ(info->familyName, "n1");
}

TEST(TrueTypeNames, StyleComesFromTheItalicAndBoldBitsOfFsSelection) {
  struct Case {
    uint16_t selection;
    FontStyle style;
  };
  const Case cases[] = {
      {0x0000, {false, false}}, {0x0001, {false, true}},  {0x0020, {true, false}},
      {0x0021, {true, true}},   {0x0040, {false, false}}, {0xFFDE, {false, false}},
  };
  for (const Case& c : cases) {
    const std::optional<TFontInfoRec> info =
        ReadFont(TrueTypeBuilder().WindowsNames("F", "S").Selection(c.selection).Build());
    ASSERT_TRUE(info) << c.selection;
    EXPECT_EQ(info->style, c.style) << c.selection;
  }
  EXPECT_EQ(ReadFont(TrueTypeBuilder().WindowsNames("F", "S").Build())->style, FontStyle{}) << "without an OS/2 table";
}

TEST(TrueTypeNames, ANameTableTagInAnyCaseCountsAndAFontWithoutOneIsAnEmptyRecord) {
  Bytes font = TrueTypeBuilder().WindowsNames("Upper", "Tag").Build();
  const size_t record = TableRecordOf(font, "name");
  for (int i = 0; i < 4; ++i) font[record + i] = static_cast<uint8_t>(std::toupper(font[record + i]));
  ASSERT_TRUE(ReadFont(font));
  EXPECT_EQ(ReadFont(font)->familyName, "Upper");

  // Without a name table the OS/2 table is not looked at either.
  const std::optional<TFontInfoRec> bare = ReadFont(TrueTypeBuilder().WithoutNameTable().Selection(0x21).Build());
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->familyName, "");
  EXPECT_EQ(bare->infoText, "");
  EXPECT_EQ(bare->style, FontStyle{});
}

TEST(TrueTypeNames, OtherKindsOfFileAndDamagedFontsGiveNoInformation) {
  const Bytes valid = TrueTypeBuilder().WindowsNames("Good", "Font").Selection(1).Build();
  ASSERT_TRUE(ReadFont(valid));
  const size_t name = TableRecordOf(valid, "name");
  const size_t os2 = TableRecordOf(valid, "OS/2");
  const uint32_t nameOffset = Get32(valid, name + 8);
  const uint32_t nameLength = Get32(valid, name + 12);

  struct Case {
    const char* damage;
    std::function<void(Bytes&)> apply;
  };
  const Case cases[] = {
      {"a collection's header", [](Bytes& f) { Put32(f, 0, 0x74746366); }},
      {"an OpenType CFF header", [](Bytes& f) { Put32(f, 0, 0x4F54544F); }},
      {"a directory of more tables than the file holds", [](Bytes& f) { Put16(f, 4, 0xFFFF); }},
      {"a name table past the end", [&](Bytes& f) { Put32(f, name + 8, static_cast<uint32_t>(f.size())); }},
      {"a name table whose length runs past the end", [&](Bytes& f) { Put32(f, name + 12, 0x7FFFFFFF); }},
      {"a name table whose offset and length wrap around",
       [&](Bytes& f) { Put32(f, name + 8, 0xFFFFFFF0), Put32(f, name + 12, 0x20); }},
      {"an OS/2 table that shares its bytes with the name table", [&](Bytes& f) { Put32(f, os2 + 8, nameOffset); }},
      {"an OS/2 table too short for fsSelection", [&](Bytes& f) { Put32(f, os2 + 12, 63); }},
      {"a name table of format 1", [&](Bytes& f) { Put16(f, nameOffset, 1); }},
      {"more name records than the table holds", [&](Bytes& f) { Put16(f, nameOffset + 2, 0xFFFF); }},
      {"strings past the table's end", [&](Bytes& f) { Put16(f, nameOffset + 4, 0xFFFF); }},
      {"a record's string past the table's end", [&](Bytes& f) { Put16(f, nameOffset + 6 + 10, 0xFFF0); }},
      {"a record's length past the table's end", [&](Bytes& f) { Put16(f, nameOffset + 6 + 8, 0xFFFF); }},
      {"a UTF-16 record of odd length", [&](Bytes& f) { Put16(f, nameOffset + 6 + 8, 3); }},
      {"a name table cut short by its length", [&](Bytes& f) { Put32(f, name + 12, nameLength - 1); }},
  };
  for (const Case& c : cases) {
    Bytes font = valid;
    c.apply(font);
    EXPECT_FALSE(ReadFont(font)) << c.damage;
  }
  for (const Bytes& tiny : {Bytes{}, Bytes{0, 1, 0}, Bytes{0, 1, 0, 0, 0}}) EXPECT_FALSE(ReadFont(tiny));
  // A directory that claims one table more than it lists runs into the name table behind it.
  Bytes longDirectory = TrueTypeBuilder().WindowsNames("Good", "Font").Build();
  ASSERT_TRUE(ReadFont(longDirectory));
  Put16(longDirectory, 4, 2);
  EXPECT_FALSE(ReadFont(longDirectory)) << "a name table inside the directory";
  // Every cut into the tables: the name table is the last one, only its padding may go.
  for (size_t size = 0; size < nameOffset + nameLength; ++size)
    EXPECT_FALSE(ReadFont(Bytes(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(size)))) << size;
  EXPECT_TRUE(ReadFont(Bytes(valid.begin(), valid.begin() + nameOffset + nameLength)));
}

#include "tools/FontRegistrations.h"

#include <gtest/gtest.h>

#include "fonts/TrueTypeNames.h"
#include "tests/capture/TestFolder.h"
#include "tests/fonts/TrueTypeBuilder.h"
#include "tests/tools/FontMachineKey.h"
#include "tools/FontFileBytes.h"
#include "tools/ScreenFonts.h"

namespace {

TEST(FontRegistrations, TheListIsSortedIgnoringCaseWithoutEmptyOrNonTextValues) {
  FontMachineKey key;
  key.Set("b Font (TrueType)", "b.ttf");
  key.Set("A Font (TrueType)", "C:\\Elsewhere\\a.ttf");
  key.Set("Empty", "");
  key.SetNumber("Number", 7);
  const std::vector<RegisteredFont> fonts = ReadRegisteredFonts(key.Path());
  ASSERT_EQ(fonts.size(), 2u);
  EXPECT_EQ(fonts[0].displayName, "A Font (TrueType)");
  EXPECT_EQ(fonts[0].fileName, "C:\\Elsewhere\\a.ttf");
  EXPECT_EQ(fonts[1].displayName, "b Font (TrueType)");
  EXPECT_TRUE(ReadRegisteredFonts(key.Path() + "\\Missing").empty());
}

TEST(FontRegistrations, KeyOfThePlatformFamilyAndPathOfTheFile) {
  EXPECT_EQ(FontRegistrationKeyOf(VER_PLATFORM_WIN32_NT), "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts");
  EXPECT_EQ(FontRegistrationKeyOf(VER_PLATFORM_WIN32_WINDOWS), "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Fonts");
  EXPECT_EQ(FontRegistrationKeyOf(VER_PLATFORM_WIN32s), std::nullopt);
  EXPECT_EQ(RunningFontRegistrationKey(), FontRegistrationKeyOf(VER_PLATFORM_WIN32_NT));

  const std::pair<const char*, const char*> paths[] = {
      {"arial.ttf", "C:\\WINDOWS\\Fonts\\arial.ttf"},
      {"C:\\Other\\arial.ttf", "C:\\Other\\arial.ttf"},
      {"\\\\server\\fonts\\a.fon", "\\\\server\\fonts\\a.fon"},
  };
  for (const auto& [file, path] : paths) EXPECT_EQ(FontFilePath(file, "C:\\WINDOWS\\Fonts\\"), path);
  const std::string folder = FontsFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
}

TEST(ScreenFonts, TheLongestFamilyThatBeginsTheDisplayNameKeepingItsCase) {
  const std::vector<std::string> families = {"MS Sans", "Ms Sans Serif", "Arial", "Arial Black", "Courier New"};
  const std::pair<const char*, std::optional<std::string>> cases[] = {
      {"MS SANS SERIF 8,10,12,14,18,24", "Ms Sans Serif"},
      {"  arial black (TrueType) ", "Arial Black"},
      {"Arial Bold (TrueType)", "Arial"},
      {"Courier 10,12,15", std::nullopt},
  };
  for (const auto& [display, family] : cases) EXPECT_EQ(FamilyOfDisplayName(display, families), family) << display;
  EXPECT_FALSE(InstalledScreenFamilies().empty());
}

TEST(FontFileBytes, ReadsTheNamesOfAFontFileAndNothingPastItsEnd) {
  TestFolder folder;
  using truetype_test::TrueTypeBuilder;
  const truetype_test::Bytes font = TrueTypeBuilder().WindowsNames("File Sans", "Italic").Selection(1).Build();
  folder.File("file.ttf", std::string(font.begin(), font.end()));

  const FontFileBytes bytes(folder / "file.ttf");
  ASSERT_TRUE(bytes.IsOpen());
  EXPECT_EQ(bytes.Size(), font.size());
  uint8_t last[2];
  EXPECT_TRUE(bytes.ReadAt(font.size() - 2, 2, last));
  EXPECT_FALSE(bytes.ReadAt(font.size() - 1, 2, last));
  const std::optional<TFontInfoRec> info = TrueTypeNameReader(0x0409).Read(bytes);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->familyName, "File Sans");
  EXPECT_TRUE(info->style.italic);
  EXPECT_FALSE(FontFileBytes(folder / "missing.ttf").IsOpen());
}

}  // namespace

#include <gtest/gtest.h>

#include "platform/TMyRegIniFile.h"
#include "tests/capture/TestRegistryKey.h"

namespace {

class TMyRegIniFileTest : public ::testing::Test {
 protected:
  TestRegistryKey key;
  std::string filePath = key.Sub("Ini");
};

}  // namespace

TEST_F(TMyRegIniFileTest, CreatesItsKeyWithFullAccess) {
  TMyRegIniFile ini(filePath);
  EXPECT_TRUE(key.ExistsRaw("Ini"));
  EXPECT_EQ(ini.FileName(), filePath);
  EXPECT_EQ(ini.RegAccess(), kRegAccessFull);
  EXPECT_EQ(ini.CurrentPath(), filePath);
}

TEST_F(TMyRegIniFileTest, SectionsAreSubkeysAndIdentsStringValues) {
  TMyRegIniFile ini(filePath);
  ini.WriteString("Section", "Name", "text");
  ini.WriteInteger("Section", "Count", -12);

  const struct {
    const char* ident;
    std::string bytes;
  } expected[] = {{"Name", std::string("text\0", 5)}, {"Count", std::string("-12\0", 4)}};
  for (const auto& e : expected) {
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(key.GetRaw("Ini\\Section", e.ident, type, bytes)) << e.ident;
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << e.ident;
    EXPECT_EQ(bytes, e.bytes) << e.ident;
  }
  EXPECT_EQ(ini.ReadString("Section", "Name", "def"), "text");
  EXPECT_EQ(ini.ReadInteger("Section", "Count", 0), -12);
  EXPECT_EQ(ini.ReadString("Section", "Missing", "def"), "def");
  EXPECT_EQ(ini.ReadString("NoSection", "Name", "def"), "def");
  EXPECT_FALSE(key.ExistsRaw("Ini\\NoSection"));
}

TEST_F(TMyRegIniFileTest, SectionAccessPutsTheCurrentKeyBack) {
  TMyRegIniFile ini(filePath);
  HKEY fileKey = ini.CurrentKey();
  key.SetRawDword("Ini\\Section", "dword", 1);

  ini.WriteString("Section", "a", "1");
  EXPECT_EQ(ini.ReadString("Section", "a", ""), "1");
  ExpectRaises([&] { ini.ReadString("Section", "dword", ""); }, ErrorKind::EMyRegistryException,
               "Invalid data type for 'dword'");
  EXPECT_EQ(ini.CurrentKey(), fileKey);
  EXPECT_EQ(ini.CurrentPath(), filePath);

  // Still the file's own key, still writable.
  static_cast<TMyRegistry&>(ini).WriteInteger("top", 3);
  EXPECT_TRUE(key.ValueExistsRaw("Ini", "top"));
  EXPECT_FALSE(key.ValueExistsRaw("Ini\\Section", "top"));
}

TEST_F(TMyRegIniFileTest, ReadIntegerTakesDecimalAndHexText) {
  const struct {
    const char* text;
    int32_t expected;  // -99 is the default
  } cases[] = {
      {"0xFF", 255},
      {"0XfF", 255},
      {"0x0", 0},
      {"0xFFFFFFFF", -1},
      {"42", 42},
      {"-7", -7},
      {"+8", 8},
      {"2147483647", 2147483647},
      {"12a", -99},
      {"0x", -99},
      {"", -99},
      {"0x1G", -99},
      {"0x-1", -99},
      {"99999999999", -99},
      {"0x100000000", -99},
      {"+-1", -99},
      {"abc", -99},
  };
  TMyRegIniFile ini(filePath);
  for (const auto& c : cases) {
    ini.WriteString("Numbers", "n", c.text);
    EXPECT_EQ(ini.ReadInteger("Numbers", "n", -99), c.expected) << '"' << c.text << '"';
  }
  EXPECT_EQ(ini.ReadInteger("Numbers", "missing", -99), -99);
}

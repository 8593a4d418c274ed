#include "core/Formatting.h"

#include <gtest/gtest.h>

TEST(Formatting, SizesAndAttributes) {
  EXPECT_EQ(FormatThousands(0), "0");
  EXPECT_EQ(FormatThousands(999), "999");
  EXPECT_EQ(FormatThousands(1000), "1,000");
  EXPECT_EQ(FormatThousands(705032704), "705,032,704");
  EXPECT_EQ(FormatThousands(1234567, '.'), "1.234.567");
  EXPECT_EQ(FormatAttributes(0x27), "ARSH");
  EXPECT_EQ(FormatAttributes(0x06), "SH");
  EXPECT_EQ(FormatAttributes(0x10), "");
}

TEST(Formatting, RegistryValuesByCode) {
  using namespace std::string_literals;
  struct Case {
    int code;
    std::string data;
    std::string expected;
  };
  const Case cases[] = {
      {1, "C:\\A\0"s, "\"C:\\A\""},
      {2, "ab\0cd\0"s, "\"ab\""},
      {1, ""s, "\"(value not set)\""},
      {3, "\xFF\x00\x00\x00"s, "$000000FF   (255)"},
      {3, "\xFF\xFF\xFF\xFF"s, "$FFFFFFFF   (-1)"},
      {4, "\x01\xAB"s, "Binary(4), 2 bytes: 01 AB "},
      {7, "a\0b\0\0"s, "Binary(7), 5 bytes: 61 00 62 00 00 "},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatRegistryValue(c.code, c.data, "(value not set)"), c.expected) << c.expected;

  std::string text = FormatRegistryValue(4, std::string(300, '\x04'), "");
  EXPECT_EQ(text.rfind("Binary(4), 300 bytes: ", 0), 0u);
  EXPECT_EQ(text.size(), std::string("Binary(4), 300 bytes: ").size() + 201 * 3) << "at most 201 bytes shown";
}

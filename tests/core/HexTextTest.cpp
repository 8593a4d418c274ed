#include "core/HexText.h"

#include <gtest/gtest.h>

#include "core/Errors.h"

TEST(HexText, DigitsOfEitherCaseWithBlanksAndADollar) {
  const std::pair<const char*, uint32_t> cases[] = {
      {"00000409", 0x409}, {"  $1a2B  ", 0x1A2B}, {"\tff\t", 0xFF}, {"0000000FFFFFFFF", 0xFFFFFFFF}, {"$0", 0},
  };
  for (const auto& [text, number] : cases) EXPECT_EQ(HexTextToNumber(text), number) << text;
}

TEST(HexText, AnythingElseIsAConvertError) {
  for (const char* text : {"", "   ", "$", " $ ", "12G4", "0x10", "$$1", "1 2", "100000000", "-1"}) {
    SCOPED_TRACE(text);
    try {
      HexTextToNumber(text);
      ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Kind(), ErrorKind::EConvertError);
      EXPECT_EQ(e.Message(), "Error while converting String to Hex");
    }
  }
}

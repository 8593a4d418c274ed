#include <gtest/gtest.h>

#include "platform/PathText.h"

TEST(PathText, TrailingBackslashAddedOnceAndRemovedWhole) {
  struct Case {
    std::string path;
    std::string with;
    std::string without;
  };
  const Case cases[] = {
      {"", "", ""},  // an empty folder never becomes the drive root
      {"C:", "C:\\", "C:"},
      {"C:\\", "C:\\", "C:"},
      {"C:\\APP", "C:\\APP\\", "C:\\APP"},
      {"C:\\APP\\\\", "C:\\APP\\\\", "C:\\APP"},
      {"\\", "\\", ""},
      {"\\\\SERVER\\SHARE", "\\\\SERVER\\SHARE\\", "\\\\SERVER\\SHARE"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WithTrailingBackslash(c.path), c.with) << c.path;
    EXPECT_EQ(WithoutTrailingBackslashes(c.path), c.without) << c.path;
  }
}

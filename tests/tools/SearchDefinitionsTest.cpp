#include "tools/SearchDefinitions.h"

#include <gtest/gtest.h>

#include "platform/TMyRegIniFile.h"
#include "tests/capture/TestRegistryKey.h"

namespace {

constexpr const char* kSection = "fTempfiles";

class SearchDefinitionsTest : public ::testing::Test {
 protected:
  TestRegistryKey key;
  TMyRegIniFile ini{key.Path()};
};

TEST_F(SearchDefinitionsTest, RoundTripKeepsOrderAndStoresTheNamedValues) {
  const std::vector<SearchDefinition> stored = {
      {"Temp", "C:\\TEMP\\", false, "*.*"}, {"", "D:", true, "*.BAK"}, {"Logs", "C:\\LOGS", true, "~*.LOG"}};
  SaveSearchDefinitions(ini, kSection, stored);

  EXPECT_EQ(LoadSearchDefinitions(ini, kSection), stored);
  EXPECT_EQ(ini.ReadString(kSection, "CountSI", ""), "3");
  EXPECT_EQ(ini.ReadString(kSection, "SI1Path", ""), "D:");
  EXPECT_EQ(ini.ReadString(kSection, "SI1Recurse", ""), "1");
  EXPECT_EQ(ini.ReadString(kSection, "SI0Recurse", ""), "0");
  EXPECT_EQ(ini.ReadString(kSection, "SI2Mask", ""), "~*.LOG");
  EXPECT_EQ(ini.ReadString(kSection, "SI0Desc", "-"), "Temp");
}

TEST_F(SearchDefinitionsTest, AShorterListLeavesOldValuesStoredButUnread) {
  SaveSearchDefinitions(ini, kSection, {{"a", "C:\\A", false, "*.A"}, {"b", "C:\\B", false, "*.B"}});
  SaveSearchDefinitions(ini, kSection, {{"c", "C:\\C", true, "*.C"}});

  EXPECT_EQ(LoadSearchDefinitions(ini, kSection), (std::vector<SearchDefinition>{{"c", "C:\\C", true, "*.C"}}));
  EXPECT_EQ(ini.ReadString(kSection, "SI1Path", ""), "C:\\B");
}

TEST_F(SearchDefinitionsTest, DefinitionsWithoutFolderOrMaskAreSkipped) {
  ini.WriteInteger(kSection, "CountSI", 4);
  const char* const rows[][2] = {{"", "*.TMP"}, {"C:\\X", ""}, {"C:\\KEEP", "*.K"}, {"", ""}};
  for (int i = 0; i < 4; ++i) {
    ini.WriteString(kSection, "SI" + std::to_string(i) + "Path", rows[i][0]);
    ini.WriteString(kSection, "SI" + std::to_string(i) + "Mask", rows[i][1]);
  }
  // No Desc and no Recurse stored: the defaults, an empty text and "No".
  EXPECT_EQ(LoadSearchDefinitions(ini, kSection), (std::vector<SearchDefinition>{{"", "C:\\KEEP", false, "*.K"}}));
}

TEST_F(SearchDefinitionsTest, NothingStoredGivesNothingAndTheDefaultsNameTheTempFolderAndItsDrive) {
  EXPECT_TRUE(LoadSearchDefinitions(ini, kSection).empty());
  EXPECT_EQ(DefaultTempDefinitions("C:\\WINDOWS\\TEMP\\"),
            (std::vector<SearchDefinition>{{"Folder of temporary files", "C:\\WINDOWS\\TEMP\\", false, "*.*"},
                                           {"Temporary files", "C:", true, "*.TMP"}}));
  EXPECT_EQ(SystemTempFolder().back(), '\\');
}

}  // namespace

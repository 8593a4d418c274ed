#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "capture/OwnPlaces.h"

TEST(OwnPlaces, QueriesIgnoreCaseAndMatchWholeNames) {
  const OwnPlaces own = BuildOwnPlaces("C:\\Tools\\Quorvel\\Quorvel.exe", "C:\\Tools\\Quorvel\\", "D:\\Backups",
                                       "C:\\Tools\\Quorvel\\DLLBackup\\", "Software\\VXN\\Quorvel\\1.0");
  struct Case {
    const char* path;
    bool folder, file, key;
  };
  const std::vector<Case> cases = {
      {"C:\\Tools\\Quorvel\\", true, false, false},
      {"c:\\tools\\QUORVEL", true, false, false},
      {"C:\\Tools\\Quorvel\\Last.SXS", true, true, false},
      {"C:\\Tools\\Quorvel\\DLLBackup\\x\\a.dll", true, true, false},
      {"C:\\Tools\\", false, false, false},
      {"C:\\Tools\\Quorvel2\\a.txt", false, false, false},
      {"D:\\Backups\\setup\\a.dll", true, true, false},
      {"D:\\BackupsOld\\a.dll", false, false, false},
      {"HKEY_CURRENT_USER\\Software\\VXN\\Quorvel\\1.0", false, false, true},
      {"hkey_current_user\\software\\vxn\\quorvel\\1.0\\Forms", false, false, true},
      {"HKEY_CURRENT_USER\\Software\\VXN\\Quorvel", false, false, false},
      {"HKEY_CURRENT_USER\\Software\\VXN\\Quorvel\\1.01", false, false, false},
      {"HKEY_LOCAL_MACHINE\\Software\\VXN\\Quorvel\\1.0", false, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(own.HoldsFolder(c.path), c.folder) << c.path;
    EXPECT_EQ(own.HoldsFile(c.path), c.file) << c.path;
    EXPECT_EQ(own.HoldsKey(c.path), c.key) << c.path;
  }
}

// A program in a drive root shares it: only its own files there are its.
TEST(OwnPlaces, AProgramInADriveRootOwnsOnlyItsFilesThere) {
  const OwnPlaces own = BuildOwnPlaces("Q:\\Quorvel.exe", "Q:\\", "Q:\\", "Q:\\DLLBackup\\", "");
  struct Case {
    const char* path;
    bool file;
  };
  for (const Case& c : {Case{"Q:\\Quorvel.exe", true}, Case{"Q:\\oldcfg.sxd", true}, Case{"Q:\\OldCFG.BAK", true},
                        Case{"Q:\\NewCFG.SXD.tmp", true}, Case{"Q:\\Last.SXS", true}, Case{"Q:\\setup.SXL", true},
                        Case{"Q:\\DLLBackup\\a.dll", true}, Case{"Q:\\notes.txt", false}, Case{"Q:\\Sub\\x.SXL", false},
                        Case{"Q:\\SXL", false}, Case{"Q:\\Other.exe", false}})
    EXPECT_EQ(own.HoldsFile(c.path), c.file) << c.path;
  EXPECT_FALSE(own.HoldsFolder("Q:\\"));
  EXPECT_FALSE(own.HoldsFolder("Q:\\Sub"));
  EXPECT_TRUE(own.Keys().empty());
}

TEST(OwnPlaces, TheSettingsKeyIsOwnUnderItsHkeyUsersAliasToo) {
  const OwnPlaces own = BuildOwnPlaces("C:\\Q\\Quorvel.exe", "C:\\Q\\", "", "", "Software\\VXN\\Quorvel\\1.0");
  // The key as HKEY_USERS shows it: found by opening HKEY_CURRENT_USER's twin there.
  std::string alias;
  for (const std::string& key : own.Keys())
    if (key.rfind("HKEY_USERS\\", 0) == 0) alias = key;
  ASSERT_FALSE(alias.empty());
  const std::string sid = alias.substr(11, alias.find('\\', 11) - 11);
  HKEY created = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\QuorvelTests\\AliasProbe", 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &created, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(created);
  HKEY opened = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_USERS, (sid + "\\Software\\QuorvelTests\\AliasProbe").c_str(), 0, KEY_READ, &opened),
            ERROR_SUCCESS)
      << sid;
  if (opened) RegCloseKey(opened);
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QuorvelTests\\AliasProbe");
  EXPECT_TRUE(own.HoldsKey("HKEY_USERS\\" + sid + "\\Software\\VXN\\Quorvel\\1.0\\Forms"));
}

#include <gtest/gtest.h>

#include "app/Settings.h"
#include "platform/SettingsAccess.h"
#include "platform/TMyRegistry.h"
#include "tests/capture/TestRegistryKey.h"

namespace {

const char kFolder[] = "C:\\Prog\\";

std::string Sz(const std::string& text) { return text + '\0'; }
std::string Dword(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), sizeof value); }

// The fifteen values a first start writes, with their registry types.
struct StoredValue {
  const char* name;
  DWORD type;
  std::string bytes;
};
const StoredValue kFirstStart[] = {
    {"PathToSystemFiles", REG_SZ, Sz("C:\\")},
    {"DefaultText", REG_SZ, Sz("(default)")},
    {"EmptyText", REG_SZ, Sz("(value not set)")},
    {"ShowHints", REG_DWORD, Dword(1)},
    {"HintColor", REG_DWORD, Dword(0x80000018)},
    {"CaptionColor", REG_DWORD, Dword(kDefaultCaptionColor)},
    {"CaptionTextActive", REG_DWORD, Dword(kDefaultCaptionTextActive)},
    {"CaptionTextInActive", REG_DWORD, Dword(kDefaultCaptionTextInActive)},
    {"UseRecycleBin", REG_DWORD, Dword(1)},
    {"BackupFiles", REG_DWORD, Dword(0)},
    {"BackupDir", REG_SZ, Sz("C:\\Prog\\")},
    {"HandleSharedDLLs", REG_DWORD, Dword(0)},
    {"MakeDLLBackup", REG_DWORD, Dword(0)},
    {"DLLBackupPath", REG_SZ, Sz("C:\\Prog\\DLLBackup\\")},
    {"UseDLLBackupRestore", REG_DWORD, Dword(1)},
};

class SettingsTest : public ::testing::Test {
 protected:
  void ExpectStored(const StoredValue& expected) {
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(key.GetRaw("Settings", expected.name, type, bytes)) << expected.name;
    EXPECT_EQ(type, expected.type) << expected.name;
    EXPECT_EQ(bytes, expected.bytes) << expected.name;
  }

  TestRegistryKey key;
  std::string settingsPath = key.Sub("Settings");
};

}  // namespace

TEST(SettingsPaths, FollowTheExeName) {
  const struct {
    const char* exe;
    const char* keyPath;
    const char* folder;
    const char* helpFile;
  } cases[] = {
      {"C:\\x\\SNAP.EXE", "Software\\VXN\\SNAP\\1.0", "C:\\x\\", "C:\\x\\SNAP.HLP"},
      {"C:\\a.b\\Quorvel.test.exe", "Software\\VXN\\Quorvel\\1.0", "C:\\a.b\\", "C:\\a.b\\Quorvel.test.HLP"},
      {"Prog.exe", "Software\\VXN\\Prog\\1.0", "", "Prog.HLP"},
      {"C:\\Tools\\NoDot", "Software\\VXN\\NoDot\\1.0", "C:\\Tools\\", "C:\\Tools\\N.HLP"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SettingsKeyPath(c.exe), c.keyPath) << c.exe;
    EXPECT_EQ(ProgramFolderOf(c.exe), c.folder) << c.exe;
    EXPECT_EQ(HelpFilePath(c.exe), c.helpFile) << c.exe;
  }
}

TEST(SettingsDefaults, BackupFoldersFollowTheProgramFolder) {
  Settings settings = DefaultSettings("D:\\Apps\\Snap\\");
  EXPECT_EQ(settings.backupDir, "D:\\Apps\\Snap\\");
  EXPECT_EQ(settings.dllBackupPath, "D:\\Apps\\Snap\\DLLBackup\\");
}

TEST_F(SettingsTest, FirstStartWritesEveryDefault) {
  ASSERT_FALSE(key.ExistsRaw("Settings"));
  {
    StaticRegScope scope(settingsPath, kFolder);
    EXPECT_EQ(StaticReg(), &scope.Reg());
    EXPECT_EQ(scope.Reg().CurrentPath(), settingsPath);
    for (const StoredValue& expected : kFirstStart) ExpectStored(expected);
    EXPECT_EQ(ReadRequiredText("DLLBackupPath"), "C:\\Prog\\DLLBackup\\");
    EXPECT_TRUE(ReadRequiredBool("UseRecycleBin"));
  }
  EXPECT_EQ(StaticReg(), nullptr);
  std::vector<std::string> names;
  TMyRegistry reg;
  ASSERT_TRUE(reg.OpenKey(settingsPath, false));
  reg.GetValueNames(names);
  EXPECT_EQ(names.size(), std::size(kFirstStart));
}

TEST_F(SettingsTest, StartKeepsStoredValues) {
  key.SetRawDword("Settings", "ShowHints", 0);
  key.SetRaw("Settings", "DefaultText", REG_SZ, Sz("<std>"));
  key.SetRawDword("Settings", "HandleSharedDLLs", 2);
  key.SetRawDword("Settings", "DontShowWelcome", 1);  // not one of the fifteen: left alone
  StaticRegScope scope(settingsPath, kFolder);
  ExpectStored({"ShowHints", REG_DWORD, Dword(0)});
  ExpectStored({"DefaultText", REG_SZ, Sz("<std>")});
  ExpectStored({"HandleSharedDLLs", REG_DWORD, Dword(2)});
  ExpectStored({"DontShowWelcome", REG_DWORD, Dword(1)});
  ExpectStored({"EmptyText", REG_SZ, Sz("(value not set)")});
}

TEST_F(SettingsTest, SaveAndLoadEveryField) {
  Settings saved;
  saved.pathToSystemFiles = "D:\\";
  saved.defaultText = "dflt";
  saved.emptyText = "";
  saved.showHints = false;
  saved.hintColor = 0x00123456;
  saved.captionColor = 0x80000002;
  saved.captionTextActive = 1;
  saved.captionTextInActive = 2;
  saved.useRecycleBin = false;
  saved.backupFiles = true;
  saved.backupDir = "E:\\Backup\\";
  saved.handleSharedDLLs = 2;
  saved.makeDLLBackup = true;
  saved.dllBackupPath = "F:\\Dll\\";
  saved.useDLLBackupRestore = false;

  TMyRegistry reg(HKEY_CURRENT_USER, kRegAccessFull);
  ASSERT_TRUE(reg.OpenKey(settingsPath, true));
  SaveSettings(reg, saved);
  ExpectStored({"HandleSharedDLLs", REG_DWORD, Dword(2)});
  ExpectStored({"CaptionColor", REG_DWORD, Dword(0x80000002)});
  ExpectStored({"EmptyText", REG_SZ, Sz("")});

  Settings loaded = LoadSettings(reg, kFolder);
  EXPECT_EQ(loaded.pathToSystemFiles, saved.pathToSystemFiles);
  EXPECT_EQ(loaded.defaultText, saved.defaultText);
  EXPECT_EQ(loaded.emptyText, saved.emptyText);
  EXPECT_EQ(loaded.showHints, saved.showHints);
  EXPECT_EQ(loaded.hintColor, saved.hintColor);
  EXPECT_EQ(loaded.captionColor, saved.captionColor);
  EXPECT_EQ(loaded.captionTextActive, saved.captionTextActive);
  EXPECT_EQ(loaded.captionTextInActive, saved.captionTextInActive);
  EXPECT_EQ(loaded.useRecycleBin, saved.useRecycleBin);
  EXPECT_EQ(loaded.backupFiles, saved.backupFiles);
  EXPECT_EQ(loaded.backupDir, saved.backupDir);
  EXPECT_EQ(loaded.handleSharedDLLs, saved.handleSharedDLLs);
  EXPECT_EQ(loaded.makeDLLBackup, saved.makeDLLBackup);
  EXPECT_EQ(loaded.dllBackupPath, saved.dllBackupPath);
  EXPECT_EQ(loaded.useDLLBackupRestore, saved.useDLLBackupRestore);
}

TEST_F(SettingsTest, BooleanReadsAnyNonZeroAsTrue) {
  key.SetRawDword("Settings", "BackupFiles", 5);
  TMyRegistry reg;
  ASSERT_TRUE(reg.OpenKey(settingsPath, false));
  EXPECT_TRUE(LoadSettings(reg, kFolder).backupFiles);
}

TEST_F(SettingsTest, ValuesOfOtherTypesRaise) {
  StaticRegScope scope(settingsPath, kFolder);
  key.SetRaw("Settings", "CaptionColor", REG_BINARY, Dword(0));
  ExpectRaises([] { ReadRequiredSetting("CaptionColor"); }, ErrorKind::Exception,
               "Unknown variable type while reading registry.");
  ExpectRaises([] { ReadSetting("CaptionColor", 0); }, ErrorKind::Exception,
               "Unknown variable type while reading registry.");
}

TEST_F(SettingsTest, StartWithABinarySettingRaisesAndInstallsNothing) {
  key.SetRaw("Settings", "HintColor", REG_BINARY, Dword(0));
  ExpectRaises([&] { StaticRegScope scope(settingsPath, kFolder); }, ErrorKind::Exception,
               "Unknown variable type while reading registry.");
  EXPECT_EQ(StaticReg(), nullptr);
}

TEST_F(SettingsTest, RemovedValueIsReportedByName) {
  StaticRegScope scope(settingsPath, kFolder);
  ASSERT_EQ(RegDeleteKeyValueA(HKEY_CURRENT_USER, settingsPath.c_str(), "BackupDir"), ERROR_SUCCESS);
  ExpectRaises([] { ReadRequiredSetting("BackupDir"); }, ErrorKind::EMyRegistryException,
               "Values have not been initialized - Value: BackupDir");
  EXPECT_EQ(ReadSetting("BackupDir", "fallback"), SettingValue(std::string("fallback")));
}

TEST_F(SettingsTest, KeyThatCannotBeCreatedRaises) {
  // A volatile key takes no lasting subkeys.
  HKEY volatileKey = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.Sub("Volatile").c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &volatileKey, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(volatileKey);
  std::string path = key.Sub("Volatile\\Settings");
  ExpectRaises([&] { StaticRegScope scope(path, kFolder); }, ErrorKind::EMyRegistryException,
               "Failed to create key " + path);
  EXPECT_EQ(StaticReg(), nullptr);
}

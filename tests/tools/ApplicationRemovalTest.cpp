#include "tools/ApplicationRemoval.h"

#include <gtest/gtest.h>

#include "core/ScriptedInteraction.h"
#include "restore/ShellFileOperations.h"
#include "tests/capture/TestFolder.h"
#include "tests/capture/TestRegistryKey.h"

namespace {

class NamedFolder : public TestFolder {
 public:
  explicit NamedFolder(const std::string& tag) : TestFolder("QR_" + tag + "_" + CurrentTestName()) {}
};

class ApplicationRemovalTest : public ::testing::Test {
 protected:
  RemovalEnvironment Environment() {
    return {deletion, {true, false}, backup.Path().substr(0, backup.Path().size() - 1), {}, ui};
  }

  NamedFolder programs{"programs"};
  NamedFolder backup{"backup"};
  TestRegistryKey key;
  FileDeletionState deletion;
  ScriptedInteraction ui;
};

// Folders go into the backup folder, keys are saved to a .REG file there before they go; a
// row that fails says why and the next row still runs; a row without a tick is left as it is.
TEST_F(ApplicationRemovalTest, EachTickedRowRunsAloneAndEndsWithItsStatus) {
  programs.Folder("Acme");
  programs.Folder("Acme\\bin");
  programs.File("Acme\\bin\\acme.dll", "code");
  programs.Folder("Kept");
  key.SetRaw("Acme\\Settings", "Window", REG_SZ, std::string("max", 4));
  const std::string keyPath = "HKEY_CURRENT_USER\\" + key.Sub("Acme");
  deletion.askWriteProtected = false;

  std::vector<RemovalAction> actions = {
      {RemovalKind::Folder, programs / "Missing"},
      {RemovalKind::RegistryKey, "HKEY_CURRENT_USER\\" + key.Sub("Missing")},
      {RemovalKind::Folder, programs / "Acme"},
      {RemovalKind::RegistryKey, keyPath},
      {RemovalKind::Folder, programs / "Kept", false},
  };
  DoAllCheckedActions(actions, Environment());

  EXPECT_EQ(actions[0].status, "File not found!");
  EXPECT_EQ(actions[1].status, "Not done. Error:");
  EXPECT_EQ(actions[2].status, "OK, Done");
  EXPECT_EQ(actions[3].status, "OK, Done");
  EXPECT_EQ(actions[4].status, "To Do");
  EXPECT_TRUE(actions[1].savedAs.empty()) << "nothing to save, nothing named";

  EXPECT_FALSE(TestFolder::Exists(programs / "Acme"));
  EXPECT_EQ(TestFolder::Read(BackupTargetOf(backup.Path(), programs / "Acme") + "\\bin\\acme.dll"), "code");
  EXPECT_TRUE(TestFolder::Exists(programs / "Kept"));
  EXPECT_TRUE(deletion.askWriteProtected) << "every run asks again";
  EXPECT_EQ(deletion.backupFolder, backup.Path());

  EXPECT_FALSE(key.ExistsRaw("Acme"));
  EXPECT_EQ(actions[3].savedAs.rfind(backup.Path(), 0), 0u) << actions[3].savedAs;
  const std::string saved = TestFolder::Read(actions[3].savedAs);
  EXPECT_NE(saved.find("[" + keyPath + "\\Settings]\r\n\"Window\"=\"max\""), std::string::npos) << saved;
}

TEST_F(ApplicationRemovalTest, RefusedRowsDeleteNothingWhateverIsTicked) {
  programs.Folder("Own");
  key.CreateRaw("Own");
  RemovalEnvironment environment = Environment();
  environment.protectedPlaces = {{}, {programs / "Own"}, {"HKEY_CURRENT_USER\\" + key.Sub("Own")}};
  std::vector<RemovalAction> actions = {
      {RemovalKind::RegistryKey, "HKEY_CURRENT_USER"},
      {RemovalKind::RegistryKey, "HKEY_CURRENT_USER\\Software"},
      {RemovalKind::RegistryKey, "HKEY_CURRENT_USER\\" + key.Sub("Own")},
      {RemovalKind::Folder, "C:\\"},
      {RemovalKind::Folder, programs / "Own"},
  };
  DoAllCheckedActions(actions, environment);

  for (const RemovalAction& action : actions) {
    EXPECT_EQ(action.status.rfind("Not done: ", 0), 0u) << action.path << ": " << action.status;
    EXPECT_TRUE(action.savedAs.empty());
  }
  EXPECT_TRUE(key.ExistsRaw("Own"));
  EXPECT_TRUE(TestFolder::Exists(programs / "Own"));
  EXPECT_EQ(CountFolderEntries(backup.Path()), 0u);
}

}  // namespace

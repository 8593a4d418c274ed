#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>

#include "capture/SaveConfiguration.h"
#include "core/Errors.h"
#include "core/ScriptedInteraction.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

using namespace std::string_literals;

class SaveConfigurationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder =
        std::string(temp) + "QuorvelSave_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* name : {"OldCFG.SXD", "OldCFG.BAK", "OldCFG.SXD.tmp", "x.SXD"})
      DeleteFileA((folder + name).c_str());
  }
  void TearDown() override {
    for (const char* name : {"OldCFG.SXD", "OldCFG.BAK", "OldCFG.SXD.tmp", "x.SXD"})
      DeleteFileA((folder + name).c_str());
    RemoveDirectoryA(folder.c_str());
  }

  void SaveCurrent() {
    SaveCurrentConfiguration(folder, trees, calls, ui, [] {});
  }

  std::string folder;
  TreeModel registry, drives, systemFiles;
  SelectionTrees trees{registry, drives, systemFiles};
  MainThreadCalls calls;
  ScriptedInteraction ui;
};

const std::string kEmptyConfiguration = "\x06\x36* THIS IS A SNAPTRACE REGISTRATION DATAFILE Ver 4/97 *\x01\x00"s +
                                        "\x06\x27* THIS IS A SNAPTRACE DRIVES DATAFILE *\x01\x00"s +
                                        "\x06\x2C* THIS IS A SNAPTRACE SYSTEMFILES DATAFILE *\x01\x00"s;

}  // namespace

TEST_F(SaveConfigurationTest, NothingSelectedWritesTheThreeEmptySections) {
  WriteConfigurationFile(folder + "x.SXD", trees, calls, ui);
  std::string bytes = ReadAll(folder + "x.SXD");
  EXPECT_EQ(bytes.size(), 149u);
  EXPECT_EQ(bytes, kEmptyConfiguration);
  EXPECT_FALSE(ui.secondaryVisible) << "the second status line shows only during a save";
}

TEST_F(SaveConfigurationTest, EachSaveKeepsExactlyThePreviousSnapshot) {
  WriteAll(folder + "OldCFG.BAK", "oldest");
  WriteAll(folder + "OldCFG.SXD", "previous");
  SaveCurrent();
  EXPECT_EQ(ReadAll(folder + "OldCFG.BAK"), "previous");
  EXPECT_EQ(ReadAll(folder + "OldCFG.SXD"), kEmptyConfiguration);
  SaveCurrent();
  EXPECT_EQ(ReadAll(folder + "OldCFG.BAK"), kEmptyConfiguration);
  for (const char* left : {"OldCFG.SXD.tmp", "OldCFG.SXD.registry.tmp", "OldCFG.SXD.drives.tmp"})
    EXPECT_FALSE(Exists(folder + left)) << left;
  EXPECT_EQ(ui.waitDepth, 0);
}

// The sections are captured into files beside the target: one that cannot be made fails the save
// before anything is captured, and the snapshots stay as they were.
TEST_F(SaveConfigurationTest, ASectionFileThatCannotBeMadeFailsTheSaveAndKeepsBothSnapshots) {
  WriteAll(folder + "OldCFG.BAK", "backup");
  WriteAll(folder + "OldCFG.SXD", "current");
  const std::string blocker = folder + "OldCFG.SXD.drives.tmp";
  ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));
  EXPECT_THROW(SaveCurrent(), Exception);
  RemoveDirectoryA(blocker.c_str());
  EXPECT_EQ(ReadAll(folder + "OldCFG.BAK"), "backup");
  EXPECT_EQ(ReadAll(folder + "OldCFG.SXD"), "current");
  EXPECT_FALSE(Exists(folder + "OldCFG.SXD.registry.tmp"));
  EXPECT_FALSE(ui.secondaryVisible);
}

TEST_F(SaveConfigurationTest, DeclinedValidationTouchesNoFile) {
  WriteAll(folder + "OldCFG.BAK", "backup");
  WriteAll(folder + "OldCFG.SXD", "current");
  EXPECT_THROW(SaveCurrentConfiguration(folder, trees, calls, ui, [] { RaiseAbort(); }), EMyAbort);
  EXPECT_EQ(ReadAll(folder + "OldCFG.BAK"), "backup");
  EXPECT_EQ(ReadAll(folder + "OldCFG.SXD"), "current");
  EXPECT_EQ(ui.waitDepth, 0);
}

TEST_F(SaveConfigurationTest, AFailedCaptureWritesNothingAndKeepsBothSnapshots) {
  WriteAll(folder + "OldCFG.BAK", "backup");
  WriteAll(folder + "OldCFG.SXD", "current");
  // A selected root that names no root key cannot be captured.
  TreeNode* top = registry.Add(nullptr, "My Computer");
  registry.Add(top, {.text = "HKEY_NOT_A_ROOT", .stateIndex = 4});
  try {
    SaveCurrent();
    FAIL() << "the save must fail";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find("The capture of the registry failed; the configuration file was not written."),
              std::string::npos)
        << e.Message();
  }
  EXPECT_EQ(ReadAll(folder + "OldCFG.BAK"), "backup");
  EXPECT_EQ(ReadAll(folder + "OldCFG.SXD"), "current");
  for (const char* left : {"OldCFG.SXD.tmp", "OldCFG.SXD.registry.tmp", "OldCFG.SXD.drives.tmp"})
    EXPECT_FALSE(Exists(folder + left)) << left;
  EXPECT_FALSE(ui.secondaryVisible);
}

TEST_F(SaveConfigurationTest, SaveAsAsksForTheFileAndLeavesTheFixedFilesAlone) {
  WriteAll(folder + "OldCFG.SXD", "current");
  ui.fileChoices = {""};
  EXPECT_FALSE(SaveConfigurationAs(folder, trees, calls, ui));
  EXPECT_FALSE(Exists(folder + "x.SXD"));

  ui.fileChoices = {folder + "x.SXD"};
  EXPECT_TRUE(SaveConfigurationAs(folder, trees, calls, ui));
  EXPECT_EQ(ReadAll(folder + "x.SXD"), kEmptyConfiguration);
  EXPECT_EQ(ReadAll(folder + "OldCFG.SXD"), "current");
  ASSERT_EQ(ui.fileDialogs.size(), 2u);
  EXPECT_EQ(ui.fileDialogs[0].title, "Save Configuration File");
  EXPECT_EQ(ui.fileDialogs[0].filter, "Configuration file (*.SXD)|*.SXD");
  EXPECT_TRUE(ui.fileDialogs[0].promptOverwrite);
}

// A drive that cannot be read is recorded empty, as the file needs its record, and the save
// says so on the status line, which batch mode writes to standard error.
TEST_F(SaveConfigurationTest, WhatCouldNotBeReadIsReportedAndTheSaveSucceeds) {
  char letter = 0;
  const DWORD used = GetLogicalDrives();
  for (char l = 'Y'; l >= 'D' && !letter; --l)
    if (!(used & (1u << (l - 'A')))) letter = l;
  ASSERT_NE(letter, 0);
  TreeNode* top = drives.Add(nullptr, "Drives");
  drives.Add(top, {.text = std::string(1, letter) + ": Gone", .stateIndex = 4});
  WriteConfigurationFile(folder + "x.SXD", trees, calls, ui);
  EXPECT_TRUE(Exists(folder + "x.SXD"));
  const std::vector<std::string>& status = ui.statusTexts[static_cast<int>(StatusChannel::Main)];
  ASSERT_FALSE(status.empty());
  EXPECT_EQ(status.back(),
            "Status: 1 folder or file could not be read and is not in the configuration:\r"s + letter + ":\\");
}

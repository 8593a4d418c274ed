#include "tools/FontDeletion.h"

#include <gtest/gtest.h>

#include "core/ScriptedInteraction.h"
#include "tests/capture/TestFolder.h"
#include "tests/tools/FontMachineKey.h"

namespace {

class FontDeletionTest : public ::testing::Test {
 protected:
  // Fonts A, B and C registered with bare names in the test folder, their files there.
  void SetUp() override {
    for (const char* name : {"A", "B", "C"}) {
      fonts.File(std::string(name) + ".TTF", name);
      key.Set(std::string(name) + " (TrueType)", std::string(name) + ".TTF");
      rows.push_back({std::string(name) + " (TrueType)", fonts / (std::string(name) + ".TTF")});
    }
    fonts.Folder("backup");
  }

  FontDeletionContext Context(bool backups = true) {
    return {key.Path(),
            fonts / "backup",
            &state,
            {backups, false},
            &ui,
            [this](const std::string& path) {
              unloaded.push_back(path);
              return path != inUse;
            },
            [this](const std::string& path) { reloaded.push_back(path); },
            [this] { ++reactions; }};
  }

  TestFolder fonts;
  FontMachineKey key;
  std::vector<FontToDelete> rows;
  FileDeletionState state;
  ScriptedInteraction ui;
  std::string inUse;  // the font that cannot be unloaded
  std::vector<std::string> unloaded, reloaded;
  int reactions = 0;
};

TEST_F(FontDeletionTest, NothingHappensWithoutASelectionOrAYes) {
  EXPECT_FALSE(ConfirmFontDeletion(0, ui));
  ui.answers = {MsgAnswer::No, MsgAnswer::Yes};
  EXPECT_FALSE(ConfirmFontDeletion(3, ui));
  EXPECT_TRUE(ConfirmFontDeletion(1, ui));
  ASSERT_EQ(ui.messages.size(), 3u);
  EXPECT_EQ(ui.messages[0].text, "Please select fonts first!");
  EXPECT_EQ(ui.messages[0].type, MsgType::Information);
  EXPECT_EQ(ui.messages[1].text, "Really delete 3 fonts?");
  EXPECT_EQ(ui.messages[1].type, MsgType::Confirmation);
  EXPECT_EQ(ui.messages[2].text, "Really delete 1 fonts?");
}

TEST_F(FontDeletionTest, EachChosenFontIsUnloadedBackedUpAndUnregisteredLastRowFirst) {
  state.askWriteProtected = false;
  EXPECT_EQ(DeleteFonts(rows, {0, 2}, Context()), (std::vector<size_t>{2, 0}));
  EXPECT_EQ(unloaded, (std::vector<std::string>{rows[2].path, rows[0].path}));
  EXPECT_EQ(reactions, 2);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(state.backupFolder, fonts / "backup\\FONTS\\");
  EXPECT_TRUE(state.askWriteProtected) << "asked again in every run";
  for (size_t row : {0, 2}) {
    EXPECT_FALSE(TestFolder::Exists(rows[row].path));
    EXPECT_EQ(TestFolder::Read(BackupTargetOf(state.backupFolder, rows[row].path)), row == 0 ? "A" : "C");
    EXPECT_FALSE(key.Has(rows[row].displayName));
  }
  EXPECT_TRUE(TestFolder::Exists(rows[1].path));
  EXPECT_TRUE(key.Has(rows[1].displayName));
}

TEST_F(FontDeletionTest, AMissingFileIsReportedAndCancelThereEndsTheRun) {
  rows[2].path = fonts / "MISSING.TTF";
  ui.answers = {MsgAnswer::Ok};
  EXPECT_EQ(DeleteFonts(rows, {1, 2}, Context()), std::vector<size_t>{1});
  EXPECT_EQ(ui.Texts(), std::vector<std::string>{"File not found:\r" + rows[2].path + "!"});
  EXPECT_EQ(ui.messages[0].buttons, MsgButtons::OkCancel);
  EXPECT_TRUE(key.Has(rows[2].displayName)) << "the row stays";

  ui.answers = {MsgAnswer::Cancel};
  EXPECT_TRUE(DeleteFonts(rows, {0, 2}, Context()).empty());
  EXPECT_TRUE(TestFolder::Exists(rows[0].path));
}

TEST_F(FontDeletionTest, AFontThatCannotGoStaysLoadedRegisteredAndInPlace) {
  struct Case {
    const char* why;
    bool inUse;           // the system will not unload it
    bool writeProtected;  // and the write-protect question is answered No
    bool reloaded;
  };
  const Case cases[] = {{"in use", true, false, false}, {"deletion refused", false, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    ui = ScriptedInteraction();
    unloaded.clear(), reloaded.clear();
    inUse = c.inUse ? rows[1].path : "";
    if (c.writeProtected) SetFileAttributesA(rows[1].path.c_str(), FILE_ATTRIBUTE_READONLY);
    ui.answers = c.writeProtected ? std::deque<MsgAnswer>{MsgAnswer::No, MsgAnswer::Ok} : std::deque{MsgAnswer::Ok};
    EXPECT_TRUE(DeleteFonts(rows, {1}, Context(false)).empty());
    EXPECT_EQ(ui.Texts().back(), "Could not delete file:\r" + rows[1].path + "!");
    EXPECT_EQ(ui.messages.back().type, MsgType::Error);
    EXPECT_EQ(TestFolder::Read(rows[1].path), "B");
    EXPECT_TRUE(key.Has(rows[1].displayName));
    EXPECT_EQ(reloaded, c.reloaded ? std::vector<std::string>{rows[1].path} : std::vector<std::string>{});
    SetFileAttributesA(rows[1].path.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  // Cancel at the error leaves the rows before it untouched.
  inUse = rows[2].path;
  ui.answers = {MsgAnswer::Cancel};
  EXPECT_TRUE(DeleteFonts(rows, {0, 2}, Context()).empty());
  EXPECT_EQ(unloaded.back(), rows[2].path);
  EXPECT_TRUE(TestFolder::Exists(rows[0].path));
}

}  // namespace

#include "tools/FileBackup.h"

#include <gtest/gtest.h>

#include "core/ScriptedInteraction.h"
#include "platform/TMyRegIniFile.h"
#include "tests/capture/TestFolder.h"
#include "tests/capture/TestRegistryKey.h"
#include "tests/tools/RecordingProgress.h"

namespace {

class ScopedFolder : public TestFolder {
 public:
  explicit ScopedFolder(const std::string& tag) : TestFolder("QB_" + tag + "_" + CurrentTestName()) {}
};

// Gives a file a last-write time of its own, so that a copy made earlier differs in time.
void SetWriteTime(const std::string& path, int minutes) {
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  SYSTEMTIME time{2020, 5, 0, 4, 10, static_cast<WORD>(minutes), 0, 0};
  FILETIME written;
  SystemTimeToFileTime(&time, &written);
  SetFileTime(file, nullptr, nullptr, &written);
  CloseHandle(file);
}

class FileBackupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"sub", ".dot"}) source.Folder(folder);
    for (const char* file : {"A.DLL", "B.TXT", "sub\\C.DLL", ".dot\\D.DLL"}) source.File(file, file);
  }

  std::string Copy(const std::string& relative) { return MirrorPath(backup.Path(), source / relative); }

  ScopedFolder source{"src"};
  ScopedFolder backup{"dst"};
  RecordingProgress progress;
  ScriptedInteraction ui;
  FileBackup run{progress, ui};
};

TEST(FileBackupPaths, TheMirrorTreeStartsWithTheDriveLetter) {
  EXPECT_EQ(MirrorPath("E:\\BAK\\", "C:\\WINDOWS\\X.DLL"), "E:\\BAK\\C\\WINDOWS\\X.DLL");
  EXPECT_EQ(MirrorPath("E:\\BAK\\", "D:\\X.DLL"), "E:\\BAK\\D\\X.DLL");
}

TEST(FileBackupDefinitions, StoredWithoutDescriptionAndTheSystemFolderByDefault) {
  TestRegistryKey key;
  TMyRegIniFile ini(key.Path());
  const std::vector<SearchDefinition> stored = {{"", "C:\\A", true, "*.DLL"}, {"", "D:", false, "*.*"}};
  SaveSearchDefinitions(ini, "DLLBackUpFRM", stored, DefinitionFields::WithoutDescription);
  EXPECT_EQ(LoadSearchDefinitions(ini, "DLLBackUpFRM", DefinitionFields::WithoutDescription), stored);
  EXPECT_EQ(ini.ReadString("DLLBackUpFRM", "SI0Desc", "<none>"), "<none>");
  EXPECT_EQ(ini.ReadString("DLLBackUpFRM", "SI0Recurse", ""), "1");

  const std::vector<SearchDefinition> defaults = DefaultBackupDefinitions(SystemFolder());
  ASSERT_EQ(defaults.size(), 1u);
  EXPECT_EQ(_stricmp(defaults[0].folder.c_str(), "C:\\windows\\system32"), 0) << defaults[0].folder;
  EXPECT_FALSE(defaults[0].recurse);
  EXPECT_EQ(defaults[0].mask, "*.*");
}

TEST_F(FileBackupTest, CopiesIntoTheMirrorTreeAndSkipsIdenticalCopiesTheNextTime) {
  const std::string root = source.Path().substr(0, source.Path().size() - 1);  // as a user types it
  ASSERT_TRUE(run.Run({{"", root, true, "*.DLL"}, {"", source.Path(), false, "B.TXT"}}, backup.Path()));

  for (const char* file : {"A.DLL", "B.TXT", "sub\\C.DLL"}) EXPECT_EQ(TestFolder::Read(Copy(file)), file);
  EXPECT_FALSE(TestFolder::Exists(Copy(".dot\\D.DLL"))) << "folders beginning with \".\" are not entered";
  EXPECT_EQ(CompareWithCopy(source / "A.DLL", Copy("A.DLL")), CopyState::Identical) << "the copy keeps the time";
  EXPECT_EQ(run.Found(), (std::vector<uint64_t>{2, 1}));
  EXPECT_EQ(progress.counters.files, 3u);
  EXPECT_EQ(progress.counters.folders, 3u);  // root and sub, then root again
  EXPECT_EQ(progress.statuses.front(), "Search in:" + source.Path());
  EXPECT_EQ(progress.statuses.back(), "Bacup completed successfully.");
  EXPECT_EQ(ui.waitDepth, 0);

  // Unchanged files are neither copied nor asked about, yet still counted.
  TestFolder::WriteFile(Copy("A.DLL"), "A.DL!");  // same size, same time after the next line
  SetWriteTime(Copy("A.DLL"), 0);
  SetWriteTime(source / "A.DLL", 0);
  ASSERT_TRUE(run.Run({{"", root, true, "*.DLL"}}, backup.Path()));
  EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
  EXPECT_EQ(TestFolder::Read(Copy("A.DLL")), "A.DL!");
  EXPECT_EQ(run.Found(), std::vector<uint64_t>{2});
  EXPECT_TRUE(progress.errors.empty()) << progress.errors.front();
}

TEST_F(FileBackupTest, CompareWithCopyTellsTimeBeforeSize) {
  source.File("copy", "A.DLL");
  const std::string one = source / "A.DLL", other = source / "copy";
  SetWriteTime(one, 1);
  SetWriteTime(other, 1);
  EXPECT_EQ(CompareWithCopy(one, other), CopyState::Identical);
  source.File("copy", "longer");
  SetWriteTime(other, 1);
  EXPECT_EQ(CompareWithCopy(one, other), CopyState::SizeDiffers);
  SetWriteTime(other, 2);
  EXPECT_EQ(CompareWithCopy(one, other), CopyState::TimeDiffers);
  EXPECT_EQ(CompareWithCopy(one, source / "none"), CopyState::Missing);
}

struct OverwriteCase {
  const char* name;
  std::vector<MsgAnswer> answers;
  size_t questions;
  std::vector<std::string> copies;  // of 1.BIN, 2.BIN (first row) and 3.BIN (second row)
  std::vector<std::string> errors;
  std::vector<uint64_t> found;  // declined files count as well
};

TEST_F(FileBackupTest, TheOverwriteQuestionKeepsToAllForTheRunAndCancelEndsOnlyItsRow) {
  const std::vector<OverwriteCase> cases = {
      {"Yes to All reaches the next row", {MsgAnswer::YesToAll}, 1, {"new1", "new2", "new3"}, {}, {2, 1}},
      {"No to All", {MsgAnswer::NoToAll}, 1, {"old1", "old2", "old3"}, {}, {2, 1}},
      {"each asked", {MsgAnswer::No, MsgAnswer::No, MsgAnswer::Yes}, 3, {"old1", "old2", "new3"}, {}, {2, 1}},
      {"Cancel ends the row",
       {MsgAnswer::Cancel, MsgAnswer::Yes},
       2,
       {"old1", "old2", "new3"},
       {"Operation aborted!"},
       {0, 1}},
  };
  source.Folder("two");
  const std::vector<SearchDefinition> rows = {{"", source.Path(), false, "*.BIN"},
                                              {"", source / "two", false, "*.BIN"}};
  const char* const files[] = {"1.BIN", "2.BIN", "two\\3.BIN"};
  for (const OverwriteCase& c : cases) {
    for (int i = 0; i < 3; ++i) {
      TestFolder::WriteFile(source / files[i], "old" + std::to_string(i + 1));
      SetWriteTime(source / files[i], 1);
    }
    ASSERT_TRUE(run.Run(rows, backup.Path()));
    for (int i = 0; i < 3; ++i) {
      TestFolder::WriteFile(source / files[i], "new" + std::to_string(i + 1));
      SetWriteTime(source / files[i], 2);
    }
    ui.messages.clear();
    progress.errors.clear();
    ui.answers.assign(c.answers.begin(), c.answers.end());
    ASSERT_TRUE(run.Run(rows, backup.Path()));
    EXPECT_EQ(ui.messages.size(), c.questions) << c.name;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(TestFolder::Read(Copy(files[i])), c.copies[i]) << c.name << " " << i;
    EXPECT_EQ(progress.errors, c.errors) << c.name;
    EXPECT_EQ(run.Found(), c.found) << c.name;
  }
  // The question of the last case names the source, which has no version resource; the
  // folder's first file is asked about first, whichever the enumeration gives.
  const ScriptedInteraction::Message& asked = ui.messages[0];
  EXPECT_EQ(asked.type, MsgType::Confirmation);
  EXPECT_EQ(asked.buttons, MsgButtons::YesNoCancelAll);
  const std::string lead = "File already exists in destination folder.\r" + source.Path();
  EXPECT_EQ(asked.text.rfind(lead, 0), 0u) << asked.text;
  EXPECT_EQ(asked.text.find(".BIN\r\rSource: 4 bytes, Date "), lead.size() + 1) << asked.text;
  EXPECT_NE(asked.text.find("\rDest.: 4 bytes, Date "), std::string::npos) << asked.text;
  EXPECT_EQ(asked.text.find("Ver:"), std::string::npos) << asked.text;
  const std::string tail = "\r\rOverwrite existing file ?";
  EXPECT_EQ(asked.text.substr(asked.text.size() - tail.size()), tail) << asked.text;
}

TEST_F(FileBackupTest, AFileInUseIsReportedAndLeavesNoHalfCopyWhileTheOthersAreCopied) {
  HANDLE locked = CreateFileA((source / "A.DLL").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  ui.answers = {MsgAnswer::Ok};
  ASSERT_TRUE(run.Run({{"", source.Path(), true, "*.DLL"}}, backup.Path()));
  CloseHandle(locked);

  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Error copying:\rFile: " + (source / "A.DLL") + "\rError:Cannot copy file!");
  EXPECT_EQ(ui.messages[0].buttons, MsgButtons::OkCancel);
  EXPECT_FALSE(TestFolder::Exists(Copy("A.DLL")));
  EXPECT_FALSE(TestFolder::Exists(Copy("A.DLL") + ".partial~"));
  EXPECT_EQ(TestFolder::Read(Copy("sub\\C.DLL")), "sub\\C.DLL") << "OK goes on with the next file";
  EXPECT_EQ(run.Found(), std::vector<uint64_t>{2});
}

TEST_F(FileBackupTest, ADestinationThatCannotBeCreatedAsksAndCancelEndsTheRowOnly) {
  backup.File("blocked", "a file where the mirror tree would start");
  ui.answers = {MsgAnswer::Cancel};
  ASSERT_TRUE(run.Run({{"", source.Path(), false, "*.DLL"}, {"", source / "sub", false, "*.DLL"}}, backup / "blocked"));
  ASSERT_EQ(ui.messages.size(), 2u) << "the second row still runs";
  const std::string folder = MirrorPath(backup / "blocked\\", source.Path());
  EXPECT_EQ(ui.messages[0].text,
            "Error copying:\rFile: " + (source / "A.DLL") + "\rError:Cannot create folder " + folder + ".");
  EXPECT_EQ(progress.errors, std::vector<std::string>{"Operation aborted!"});
  EXPECT_EQ(progress.statuses.back(), "Bacup completed successfully.");
}

TEST_F(FileBackupTest, NoDefinitionsSaySoAndABackupFolderInsideTheWalkIsNotBackedUp) {
  EXPECT_FALSE(run.Run({}, backup.Path()));
  EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Please select folders first!"});

  source.Folder("BAK");
  ASSERT_TRUE(run.Run({{"", source.Path(), true, "*.*"}}, source / "BAK"));
  ASSERT_TRUE(run.Run({{"", source.Path(), true, "*.*"}}, source / "BAK"));
  EXPECT_EQ(run.Found(), std::vector<uint64_t>{3}) << "A.DLL, B.TXT and sub\\C.DLL, never the copies";
  EXPECT_EQ(TestFolder::Read(MirrorPath(source / "BAK\\", source / "sub\\C.DLL")), "sub\\C.DLL");
}

TEST_F(FileBackupTest, CancelStopsTheRunningDefinitionAtItsNextFolder) {
  bool cancelled = false;
  progress.onMessages = [&] {
    // Once, in the sub-folder of the first row.
    if (progress.statuses.size() == 2 && !cancelled) {
      cancelled = true;
      run.Cancel();
    }
  };
  ASSERT_TRUE(run.Run({{"", source.Path(), true, "*.DLL"}, {"", source.Path(), false, "B.TXT"}}, backup.Path()));
  EXPECT_EQ(progress.errors, std::vector<std::string>{"Operation aborted!"});
  EXPECT_TRUE(TestFolder::Exists(Copy("A.DLL")));
  EXPECT_FALSE(TestFolder::Exists(Copy("sub\\C.DLL")));
  EXPECT_TRUE(TestFolder::Exists(Copy("B.TXT"))) << "the next row still runs";
}

}  // namespace

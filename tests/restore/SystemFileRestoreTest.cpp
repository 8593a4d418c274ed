#include "compare/ResultRecords.h"
#include "compare/UpperCase.h"
#include "core/CheckStates.h"
#include "core/Errors.h"
#include "restore/SystemFileRestore.h"
#include "restore/UserSystemFiles.h"
#include "tests/core/ExpectRaisesText.h"
#include "tests/restore/RestoreFixture.h"

namespace {

class SystemFileRestoreTest : public RestoreFixture {
 protected:
  void SetUp() override {
    ini = data / "app.ini";
    text = data / "notes.txt";
    places.iniFiles = {ini};
  }

  std::vector<ToDoItem> Run(bool executing, TreeNode* root = nullptr) {
    return RestoreFixture::Run(RestoreSystemFiles, systemResult, executing, kRestoreDefault, nullptr, root);
  }
  // The compare shows system files by their names in capitals.
  TreeNode* FileNode(const std::string& path, const char* marker) {
    return Node(systemResult, {UpperCaseLocale(path) + marker});
  }
  TreeNode* Section(const std::string& section) {
    return Node(systemResult, {UpperCaseLocale(ini) + "(INI)", section});
  }
  std::vector<std::string> EntryKinds(const std::string& section) {
    std::vector<ResultRow> rows;
    ReadSystemFileRows(*Section(section), logFile, positions, 0, rows);
    std::vector<std::string> kinds;
    for (const ResultRow& row : rows) kinds.push_back(row.caption + " " + std::to_string(row.kind));
    return kinds;
  }

  ScratchFolder data{"data"};
  std::string ini;
  std::string text;
};

TEST_F(SystemFileRestoreTest, EntriesAndSectionsAreRestoredEntriesBeforeTheirSection) {
  ScratchFolder::WriteFile(ini, "[keep]\r\na=1\r\n[chg]\r\nx=old\r\ny=gone\r\n");
  Record(
      [&] { ScratchFolder::WriteFile(ini, "[keep]\r\na=1\r\nb=new\r\n[chg]\r\nx=new\r\n[added]\r\np=1\r\nq=2\r\n"); });
  const std::vector<std::string> expected = {
      "Delete Value | APP.INI [added] | p | 1 | To Do",
      "Delete Value | APP.INI [added] | q | 2 | To Do",
      "Delete Key | APP.INI | [added] |  | To Do",
      "Changed, restore old value. | APP.INI [chg] | x | old | To Do",
      "Restore Deleted Value | APP.INI [chg] | y | gone | To Do",
      "Delete Value | APP.INI [keep] | b | new | To Do",
  };
  EXPECT_EQ(Rows(Run(false)), expected);

  const std::vector<ToDoItem> done = Run(true);
  ASSERT_EQ(done.size(), expected.size());
  for (const ToDoItem& item : done) EXPECT_EQ(item.status, kStatusDone) << RowText(item);
  ExpectBackToBefore();
  EXPECT_EQ(Section("[added]")->StateIndex(), kKindNew | kRestoredBit);
  EXPECT_TRUE(Section("[added]")->Cut());
  EXPECT_EQ(EntryKinds("[chg]"), (std::vector<std::string>{"x 27", "x 28", "y 26"}));
  EXPECT_TRUE(Run(false).empty());
}

TEST_F(SystemFileRestoreTest, AnEntryThatCannotBeWrittenOrIsGoneEndsOnlyItsItem) {
  ScratchFolder::WriteFile(ini, "[s]\r\nx=old\r\n");
  Record([&] { ScratchFolder::WriteFile(ini, "[s]\r\nx=new\r\nadded=1\r\n"); });
  ScratchFolder::WriteFile(ini, "[s]\r\nx=new\r\n");  // the added entry is gone already
  // Another program holds the file open, so it cannot be written.
  HANDLE locked = CreateFileA(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  const std::vector<ToDoItem> items = Run(true);
  CloseHandle(locked);

  const std::string path = UpperCaseLocale(ini);
  EXPECT_EQ(
      Rows(items),
      (std::vector<std::string>{
          "Changed, restore old value. | APP.INI [s] | x | old | Not done. Error:Error writing the file " + path + ".",
          "Delete Value | APP.INI [s] | added | 1 | Not done. Error:Value not found."}));
  EXPECT_EQ(FileBytes(ini), "[s]\r\nx=new\r\n");
  EXPECT_EQ(EntryKinds("[s]"), (std::vector<std::string>{"x 11", "x 12", "added 9"}))
      << "failed entries keep their kinds, and so does the new side of a change that was not undone";
}

TEST_F(SystemFileRestoreTest, RestoreAllLeavesTextFilesAndTheirNodesAlone) {
  places.textFiles = {text};
  ScratchFolder::WriteFile(ini, "[s]\r\nx=1\r\n");
  ScratchFolder::WriteFile(text, "line one\r\n");
  Record([&] {
    ScratchFolder::WriteFile(ini, "[s]\r\nx=2\r\n");
    ScratchFolder::WriteFile(text, "line one\r\nline two\r\n");
  });
  TreeNode* textNode = FileNode(text, "(TXT)");
  ASSERT_NE(textNode, nullptr);
  ASSERT_EQ(textNode->StateIndex() & 15, kKindChanged);

  EXPECT_EQ(RowsWithoutValues(Run(true)),
            (std::vector<std::string>{"Changed, restore old value. | APP.INI [s] | x | OK, Done"}));
  EXPECT_EQ(FileBytes(text), "line one\r\nline two\r\n");
  EXPECT_EQ(textNode->StateIndex(), kKindChanged);
  EXPECT_FALSE(textNode->Cut());
  ExpectRaisesText([&] { RefuseTextFileRestore(textNode); },
                   "Automatic restore is not possible for text files.\rPlease restore the changes manually!");
  RefuseTextFileRestore(Section("[s]"));
  RefuseTextFileRestore(FileNode(ini, "(INI)"));
}

TEST(UserSystemFiles, AddedFilesAreMarkedByTypeAndOnlyThoseCanBeDeleted) {
  struct Case {
    int topState;
    bool iniFile;
    std::string text;
    int state;
    bool hasChildren;
  };
  const std::vector<Case> cases = {{kStateChecked, true, "C:\\APP\\APP.INI(INI)", kStateChecked, true},
                                   {kStateUnchecked, false, "C:\\APP\\APP.INI(TXT)", kStateUnchecked, false},
                                   {kStatePartlyChecked, true, "C:\\APP\\APP.INI(INI)", kStateChecked, true}};
  for (const Case& c : cases) {
    TreeModel tree;
    TreeNode* top = tree.Add(nullptr, {.text = "System Files", .stateIndex = c.topState});
    TreeNode* winIni = tree.Add(top, "WIN.INI");
    TreeNode* added = AddUserDefinedFile(tree, "C:\\APP\\APP.INI", c.iniFile, 12);
    EXPECT_EQ(added->Text(), c.text);
    EXPECT_EQ(added->StateIndex(), c.state);
    EXPECT_EQ(added->HasChildren(), c.hasChildren);
    EXPECT_EQ(added->ImageIndex(), 12);
    EXPECT_EQ(added->Index(), 1u);

    ExpectRaisesText([&] { DeleteUserDefinedFile(tree, winIni); }, "This entry cannot be deleted.");
    ExpectRaisesText([&] { DeleteUserDefinedFile(tree, top); }, "This entry cannot be deleted.");
    DeleteUserDefinedFile(tree, nullptr);
    DeleteUserDefinedFile(tree, added);
    EXPECT_EQ(top->Count(), 1u);
  }
}

TEST(UserSystemFiles, AFileNameWithoutFolderIsLookedForInTheCurrentFolder) {
  ScratchFolder folder("user");
  folder.File("x.ini", "");
  EXPECT_EQ(CheckUserFileName("x.ini", folder.Path()), folder / "x.ini");
  EXPECT_EQ(CheckUserFileName(folder / "x.ini", "C:\\elsewhere"), folder / "x.ini");
  ExpectRaisesText([&] { CheckUserFileName("y.ini", folder.Path()); },
                   "Error:  File " + folder.Path() + "y.ini not found!");
}

}  // namespace

#include "app/SelectionCommands.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <fstream>
#include <iterator>

#include "app/ErrorReporting.h"
#include "app/MainWindow.h"
#include "core/CheckStates.h"
#include "core/ScriptedInteraction.h"
#include "tests/app/AppTestSupport.h"
#include "tests/core/ExpectRaisesText.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const char kKeepQuestion[] = "Save the current selection as the default\rto be used next time you start the program?";

class SelectionCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitControlsForTests();
    app.programFolder =
        TestFolder(std::string("QuorvelSelection_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    last = app.programFolder + "Last.SXS";
    other = app.programFolder + "Other.SXS";
    window = std::make_unique<MainWindow>(session, [](HWND, const ErrorSource&, std::exception_ptr) {});
    ASSERT_NE(window->Create(), nullptr);
    session.BuildSelection();
  }
  void TearDown() override {
    window.reset();
    DrainQuitMessages();
    DeleteFileA(last.c_str());
    DeleteFileA(other.c_str());
    RemoveDirectoryA(app.programFolder.c_str());
  }

  TreeNode* Root(const char* name) { return FindTreeNode({"My Computer", name}, session.Selection().registry); }

  Session session;
  AppState& app = session.State();
  std::string last, other;
  ScriptedInteraction ui;
  std::unique_ptr<MainWindow> window;
};

}  // namespace

TEST_F(SelectionCommandsTest, ClosingKeepsAChangedSelectionAsAsked) {
  EXPECT_TRUE(OfferToKeepSelection(session, ui)) << "nothing changed";
  EXPECT_EQ(GetFileAttributesA(last.c_str()), INVALID_FILE_ATTRIBUTES);

  app.selectionChanged = true;
  EXPECT_TRUE(OfferToKeepSelection(session, ui));
  EXPECT_TRUE(ui.messages.empty()) << "without Last.SXS it is written without asking";
  std::string written = ReadAll(last);
  ASSERT_FALSE(written.empty());

  SetNodeChecked(*Root("HKEY_CLASSES_ROOT"), true);
  struct Case {
    MsgAnswer answer;
    bool closes;
    bool rewritten;
  };
  for (Case c :
       {Case{MsgAnswer::Cancel, false, false}, Case{MsgAnswer::No, true, false}, Case{MsgAnswer::Yes, true, true}}) {
    ui.messages.clear();
    ui.answers = {c.answer};
    EXPECT_EQ(OfferToKeepSelection(session, ui), c.closes);
    ASSERT_EQ(ui.Texts(), std::vector<std::string>{kKeepQuestion});
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(ReadAll(last) != written, c.rewritten);
  }
}

TEST_F(SelectionCommandsTest, LoadingLastSelectionLeavesTheChangedFlagClear) {
  SetNodeChecked(*Root("HKEY_CLASSES_ROOT"), true);
  ui.fileChoices = {other};
  SaveSelectionCommand(session, ui);
  ui.fileChoices = {last};
  SaveSelectionCommand(session, ui);
  EXPECT_FALSE(app.selectionChanged);
  EXPECT_EQ(ui.fileDialogs[0].title, "Save Selection File");
  EXPECT_EQ(ui.fileDialogs[0].filter, "Selection file (*.SXS)|*.SXS");

  ResetSelectionsCommand(session, ui);
  EXPECT_EQ(Root("HKEY_CLASSES_ROOT")->StateIndex(), kStateUnchecked);

  ui.fileChoices = {last};
  LoadSelectionCommand(session, ui);
  EXPECT_FALSE(app.selectionChanged);
  EXPECT_EQ(Root("HKEY_CLASSES_ROOT")->StateIndex(), kStateChecked) << "the saved selection is back";

  ui.fileChoices = {other};
  LoadSelectionCommand(session, ui);
  EXPECT_TRUE(app.selectionChanged);
  EXPECT_EQ(ui.fileDialogs.back().title, "Load Selection File");
  EXPECT_TRUE(ui.fileDialogs.back().fileMustExist);
}

TEST_F(SelectionCommandsTest, UserFilesJoinTheSystemSelectionAndTravelWithTheSelectionFile) {
  const std::string userFile = app.programFolder + "APP.INI";
  WritePrivateProfileStringA("Main", "Key", "1", userFile.c_str());
  TreeModel& tree = session.Selection().systemFiles;
  TreeNode* top = tree.FirstTop();
  const size_t fixedFiles = top->Count();

  bool asked = false;
  AddUserFileCommand(window->Pages(), [&](UserFileChoice&) { return asked = true, false; });
  EXPECT_TRUE(asked);
  EXPECT_EQ(top->Count(), fixedFiles) << "a cancelled dialog adds nothing";

  AddUserFileCommand(window->Pages(), [&](UserFileChoice& choice) {
    choice = {userFile, true};
    return true;
  });
  ASSERT_EQ(top->Count(), fixedFiles + 1);
  TreeNode* added = top->Child(fixedFiles);
  EXPECT_EQ(added->Text(), userFile + "(INI)");
  EXPECT_TRUE(added->HasChildren());
  EXPECT_GE(added->ImageIndex(), 0) << "the file's shell icon";
  EXPECT_TRUE(app.selectionChanged);
  EXPECT_EQ(SendMessageA(window->Control("SystemSelect"), TVM_GETCOUNT, 0, 0), static_cast<LRESULT>(top->Count() + 1));

  // The added file is selected: it can be deleted, and then the node selected in its place cannot.
  app.selectionChanged = false;
  window->Pages().DeleteSelectedUserFile();
  EXPECT_EQ(top->Count(), fixedFiles);
  EXPECT_TRUE(app.selectionChanged);
  ExpectRaisesText([&] { window->Pages().DeleteSelectedUserFile(); }, "This entry cannot be deleted.");
  EXPECT_EQ(top->Count(), fixedFiles);

  window->Pages().AddUserFile(userFile, false);
  ui.fileChoices = {other};
  SaveSelectionCommand(session, ui);
  ResetSelectionsCommand(session, ui);
  ASSERT_EQ(tree.FirstTop()->Count(), fixedFiles);
  ui.fileChoices = {other};
  LoadSelectionCommand(session, ui);
  ASSERT_EQ(tree.FirstTop()->Count(), fixedFiles + 1) << "the user file comes back with the selection";
  EXPECT_EQ(tree.FirstTop()->Child(fixedFiles)->Text(), userFile + "(TXT)");
  DeleteFileA(userFile.c_str());
}

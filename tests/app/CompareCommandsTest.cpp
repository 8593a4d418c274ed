#include "app/CompareCommands.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include "app/CompareDialogIds.h"
#include "app/ErrorReporting.h"
#include "app/MainWindow.h"
#include "capture/SaveConfiguration.h"
#include "capture/SettingsAccess.h"
#include "app/Settings.h"
#include "compare/LogFile.h"
#include "core/CheckStates.h"
#include "core/Errors.h"
#include "core/ScriptedInteraction.h"
#include "res/resource.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ModalWatcher.h"
#include "ui/Controls.h"

namespace {

constexpr char kTestKey[] = "Software\\QuorvelCompareCommand";

class CompareCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitControlsForTests();
    app.programFolder = TestFolder("QuorvelCompareCommand");
    settings = std::make_unique<StaticRegScope>("Software\\QuorvelTests\\CompareCommand", app.programFolder);
    window = std::make_unique<MainWindow>(app, [](HWND, const ErrorSource&, std::exception_ptr) {});
    ASSERT_NE(window->Create(), nullptr);
    window->Pages().Build();
    // Only the small HKEY_CURRENT_CONFIG root: drives and system files stay out.
    SelectionTrees trees = window->Trees();
    for (TreeModel* tree : {&trees.registry, &trees.drives, &trees.systemFiles}) SetNodeChecked(*tree->FirstTop(), false);
    SetNodeChecked(*FindTreeNode({"My Computer", "HKEY_CURRENT_CONFIG"}, trees.registry), true);
    RegDeleteKeyA(HKEY_CURRENT_CONFIG, kTestKey);
  }
  void TearDown() override {
    window.reset();
    DrainQuitMessages();
    settings.reset();
    RegDeleteKeyA(HKEY_CURRENT_CONFIG, kTestKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QuorvelTests\\CompareCommand");
    for (const char* name : {"OldCFG.SXD", "OldCFG.BAK", "NewCFG.SXD", "run.SXL", "before.SXD", "after.SXD"})
      DeleteFileA((app.programFolder + name).c_str());
    RemoveDirectoryA(app.programFolder.c_str());
  }

  CompareCommandContext Context() {
    return {app, ui, window->Calls(), window->Pages(), window->Results(), [this] { ++resultsShown; }};
  }

  AppState app;
  std::unique_ptr<StaticRegScope> settings;
  ScriptedInteraction ui;
  std::unique_ptr<MainWindow> window;
  int resultsShown = 0;
};

TreeNode* FindChild(TreeNode* node, const std::string& text) {
  for (size_t i = 0; node && i < node->Count(); ++i)
    if (_stricmp(node->Child(i)->text.c_str(), text.c_str()) == 0) return node->Child(i);
  return nullptr;
}

}  // namespace

TEST_F(CompareCommandsTest, WithoutABaselineTheCompareAsksForOne) {
  auto context = Context();
  try {
    CompareCommand(context, false);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Please save your current configuration first\rwith `Save Current Configuration` -- see Help for details!");
  }
}

TEST_F(CompareCommandsTest, ANewKeyIsLoggedShownAndLoadedAgain) {
  ui.answers = {MsgAnswer::Yes};  // "No drives selected!"
  SaveCurrentConfiguration(app.programFolder, window->Trees(), window->Calls(), ui,
                           [&] { ValidateSelection(window->Trees().registry, window->Trees().drives, ui); });
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_CONFIG, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "Added", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
  RegCloseKey(key);

  std::string log = app.programFolder + "run.SXL";
  ui.answers = {MsgAnswer::Yes};
  ui.fileChoices = {log};
  auto context = Context();
  CompareCommand(context, false);
  EXPECT_EQ(app.currentLogFile, log);
  EXPECT_EQ(resultsShown, 1);
  EXPECT_EQ(ui.fileDialogs.back().title, "Save a log file.");

  auto findNewKey = [&] {
    TreeNode* root = FindChild(window->Results().Trees().registry.FirstTop(), "HKEY_CURRENT_CONFIG");
    return FindChild(FindChild(root, "Software"), "QuorvelCompareCommand");
  };
  TreeNode* added = findNewKey();
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->stateIndex & kNodeKindMask, kKindNew);

  window->Results().ShowNoLog();
  app.currentLogFile.clear();
  ui.fileChoices = {log};
  LoadLogFileCommand(context);
  EXPECT_EQ(app.currentLogFile, log);
  EXPECT_TRUE(app.selectionChanged);
  ASSERT_NE(findNewKey(), nullptr);
  EXPECT_EQ(resultsShown, 2);
}

TEST_F(CompareCommandsTest, CompareConfigurationsComparesTheFilesChosenInItsDialog) {
  const std::string before = app.programFolder + "before.SXD";
  const std::string after = app.programFolder + "after.SXD";
  const std::string log = app.programFolder + "run.SXL";
  WriteConfigurationFile(before, window->Trees(), window->Calls(), ui);
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_CONFIG, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  WriteConfigurationFile(after, window->Trees(), window->Calls(), ui);

  std::vector<std::string> dialogErrors;
  SetDialogErrorHook(
      [&](const Dialog&, std::exception_ptr error) { dialogErrors.push_back(DescribeError(error).message); });
  const std::string title = GetWindowTextString(window->Handle());
  std::vector<std::string> questions;
  ModalWatcher watcher([&](HWND dialog) {
    if (WindowText(dialog) != "Quorvel - Compare Two Configurations") {
      std::vector<std::string> texts = ChildTexts(dialog);
      questions.insert(questions.end(), texts.begin(), texts.end());
      PressDialogButton(dialog, IDYES);
      return;
    }
    SetDlgItemTextA(dialog, IDC_COMPARE_OLD, before.c_str());
    SetDlgItemTextA(dialog, IDC_COMPARE_NEW, after.c_str());
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);  // no log file yet
    EXPECT_TRUE(IsWindowVisible(dialog));
    SetDlgItemTextA(dialog, IDC_COMPARE_LOG, log.c_str());
    PressDialogButton(dialog, IDOK);
  });
  window->RunCommand(IDM_COMPARE_CONFIGURATIONS);
  SetDialogErrorHook(nullptr);

  EXPECT_EQ(watcher.Seen(), 2);
  EXPECT_NE(std::find(questions.begin(), questions.end(), "No drives selected!\rContinue anyway?"), questions.end());
  EXPECT_EQ(dialogErrors, std::vector<std::string>{"Choose file for log file."});
  EXPECT_EQ(app.currentLogFile, log);
  EXPECT_EQ(GetWindowTextString(window->Handle()), title) << "the title keeps naming the application's log";
  EXPECT_EQ(TabCtrl_GetCurSel(window->Control("PageControl")), 1) << "the result pages show";
  TreeNode* root = FindChild(window->Results().Trees().registry.FirstTop(), "HKEY_CURRENT_CONFIG");
  TreeNode* added = FindChild(FindChild(root, "Software"), "QuorvelCompareCommand");
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->stateIndex & kNodeKindMask, kKindNew);
  for (const char* untouched : {"OldCFG.SXD", "NewCFG.SXD"})
    EXPECT_EQ(GetFileAttributesA((app.programFolder + untouched).c_str()), INVALID_FILE_ATTRIBUTES) << untouched;
}

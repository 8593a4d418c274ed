#include "app/CompareCommands.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <fstream>
#include <iterator>

#include "app/CompareDialogIds.h"
#include "app/ErrorReporting.h"
#include "app/MainWindow.h"
#include "capture/SaveConfiguration.h"
#include "platform/SettingsAccess.h"
#include "app/Settings.h"
#include "app/Workflows.h"
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
    window = std::make_unique<MainWindow>(session, [](HWND, const ErrorSource&, std::exception_ptr) {});
    ASSERT_NE(window->Create(), nullptr);
    session.BuildSelection();
    SelectOnlyCurrentConfig(session);
    RegDeleteKeyA(HKEY_CURRENT_CONFIG, kTestKey);
  }
  void TearDown() override {
    window.reset();
    DrainQuitMessages();
    settings.reset();
    RegDeleteKeyA(HKEY_CURRENT_CONFIG, kTestKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QuorvelTests\\CompareCommand");
    for (const char* name :
         {"OldCFG.SXD", "OldCFG.BAK", "NewCFG.SXD", "run.SXL", "run2.SXL", "before.SXD", "after.SXD"})
      DeleteFileA((app.programFolder + name).c_str());
    RemoveDirectoryA(app.programFolder.c_str());
  }

  // Compare Two Configurations as the user runs it: the menu command, "Yes" to "No drives
  // selected!", the three names in the dialog and OK; a dialog the compare leaves open is
  // cancelled. Returns the errors the dialog reported.
  std::vector<std::string> CompareInDialog(const std::string& oldFile, const std::string& newFile,
                                           const std::string& logFile) {
    std::vector<std::string> errors;
    SetHandlerErrorHook(
        [&](const HandlerSource&, std::exception_ptr error) { errors.push_back(DescribeError(error).message); });
    ModalWatcher watcher([&](HWND dialog) {
      if (WindowText(dialog) != "Quorvel - Compare Two Configurations") {
        PressDialogButton(dialog, IDYES);
        return;
      }
      SetDlgItemTextA(dialog, IDC_COMPARE_OLD, oldFile.c_str());
      SetDlgItemTextA(dialog, IDC_COMPARE_NEW, newFile.c_str());
      SetDlgItemTextA(dialog, IDC_COMPARE_LOG, logFile.c_str());
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      if (IsWindowVisible(dialog)) PressDialogButton(dialog, IDCANCEL);
    });
    window->RunCommand(IDM_COMPARE_CONFIGURATIONS);
    SetHandlerErrorHook(nullptr);
    return errors;
  }

  CommandEnvironment Environment() { return EnvironmentWith(*window, ui); }

  // The result pages show, and the title names the log; put back to the selection pages and the
  // plain title for the next check.
  void ExpectResultsShownFor(const std::string& log) {
    HWND pages = window->Control("PageControl");
    EXPECT_EQ(TabCtrl_GetCurSel(pages), 1) << "the result pages show";
    EXPECT_EQ(GetWindowTextString(window->Handle()), "Quorvel - " + log);
    TabCtrl_SetCurSel(pages, 0);
    SetWindowTextA(window->Handle(), "Quorvel");
  }

  Session session;
  AppState& app = session.State();
  std::unique_ptr<StaticRegScope> settings;
  ScriptedInteraction ui;
  std::unique_ptr<MainWindow> window;
};

std::string ScratchRead(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void ScratchWrite(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

TreeNode* FindChild(TreeNode* node, const std::string& text) {
  for (size_t i = 0; node && i < node->Count(); ++i)
    if (_stricmp(node->Child(i)->Text().c_str(), text.c_str()) == 0) return node->Child(i);
  return nullptr;
}

}  // namespace

TEST_F(CompareCommandsTest, WithoutABaselineTheCompareAsksForOne) {
  auto environment = Environment();
  try {
    CompareCommand(environment, false);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(
        e.Message(),
        "Please save your current configuration first\rwith `Save Current Configuration` -- see Help for details!");
  }
}

TEST_F(CompareCommandsTest, ANewKeyIsLoggedShownAndLoadedAgain) {
  ui.answers = {MsgAnswer::Yes};  // "No drives selected!"
  SaveCurrentConfiguration(session, window->Calls(), ui);
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_CONFIG, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "Added", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
  RegCloseKey(key);

  std::string log = app.programFolder + "run.SXL";
  ui.answers = {MsgAnswer::Yes};
  ui.fileChoices = {log};
  auto environment = Environment();
  CompareCommand(environment, false);
  EXPECT_EQ(app.currentLogFile, log);
  ExpectResultsShownFor(log);
  EXPECT_EQ(ui.fileDialogs.back().title, "Save a log file.");

  auto findNewKey = [&] {
    TreeNode* root = FindChild(session.Results().registry.FirstTop(), "HKEY_CURRENT_CONFIG");
    return FindChild(FindChild(root, "Software"), "QuorvelCompareCommand");
  };
  TreeNode* added = findNewKey();
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->StateIndex() & kNodeKindMask, kKindNew);

  session.ForgetLog();
  ui.fileChoices = {log};
  LoadLogFileCommand(environment);
  EXPECT_EQ(app.currentLogFile, log);
  EXPECT_TRUE(app.selectionChanged);
  ASSERT_NE(findNewKey(), nullptr);
  ExpectResultsShownFor(log);
}

TEST_F(CompareCommandsTest, CompareConfigurationsComparesTheFilesChosenInItsDialog) {
  const std::string before = app.programFolder + "before.SXD";
  const std::string after = app.programFolder + "after.SXD";
  const std::string log = app.programFolder + "run.SXL";
  WriteConfigurationFile(before, session.Selection(), window->Calls(), ui);
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_CONFIG, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  WriteConfigurationFile(after, session.Selection(), window->Calls(), ui);

  std::vector<std::string> dialogErrors;
  SetHandlerErrorHook(
      [&](const HandlerSource&, std::exception_ptr error) { dialogErrors.push_back(DescribeError(error).message); });
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
  SetHandlerErrorHook(nullptr);

  EXPECT_EQ(watcher.Seen(), 2);
  EXPECT_NE(std::find(questions.begin(), questions.end(), "No drives selected!\rContinue anyway?"), questions.end());
  EXPECT_EQ(dialogErrors, std::vector<std::string>{"Choose file for log file."});
  EXPECT_EQ(app.currentLogFile, log);
  EXPECT_EQ(GetWindowTextString(window->Handle()), title) << "the title keeps naming the application's log";
  EXPECT_EQ(TabCtrl_GetCurSel(window->Control("PageControl")), 1) << "the result pages show";
  TreeNode* root = FindChild(session.Results().registry.FirstTop(), "HKEY_CURRENT_CONFIG");
  TreeNode* added = FindChild(FindChild(root, "Software"), "QuorvelCompareCommand");
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->StateIndex() & kNodeKindMask, kKindNew);
  for (const char* untouched : {"OldCFG.SXD", "NewCFG.SXD"})
    EXPECT_EQ(GetFileAttributesA((app.programFolder + untouched).c_str()), INVALID_FILE_ATTRIBUTES) << untouched;
}

// A compare that fails after a good log was current: the trees, the current log, the caption
// and Restore All no longer offer the old log at the new positions, and the new log's partial
// file is gone. A log that fails to load leaves no half-filled tree either.
TEST_F(CompareCommandsTest, AFailedCompareOrLoadLeavesNoLogBehind) {
  const std::string before = app.programFolder + "before.SXD";
  const std::string after = app.programFolder + "after.SXD";
  const std::string log = app.programFolder + "run.SXL";
  const std::string failedLog = app.programFolder + "run2.SXL";
  WriteConfigurationFile(before, session.Selection(), window->Calls(), ui);
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_CONFIG, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  WriteConfigurationFile(after, session.Selection(), window->Calls(), ui);
  ASSERT_TRUE(CompareInDialog(before, after, log).empty());
  window->ShowResults();
  ASSERT_EQ(app.currentLogFile, log);
  ASSERT_TRUE(window->IsCommandEnabled(IDM_RESTORE_ALL));

  // The drive section's header damaged: the registry section was written when it fails.
  std::string bytes = ScratchRead(after);
  bytes.replace(bytes.find("DRIVES"), 6, "DRIVEZ");
  ScratchWrite(after, bytes);
  EXPECT_EQ(CompareInDialog(before, after, failedLog),
            std::vector<std::string>{"Error: " + after + "\rNot a file-structure file: NewFile"});
  const auto expectNoLog = [&](const char* what) {
    EXPECT_TRUE(app.currentLogFile.empty()) << what;
    ResultTrees results = session.Results();
    for (TreeModel* tree : {&results.registry, &results.drives, &results.systemFiles}) {
      ASSERT_EQ(tree->TopCount(), 1u) << what;
      EXPECT_EQ(tree->FirstTop()->Text(), "<No log file loaded>") << what;
    }
    EXPECT_FALSE(window->IsCommandEnabled(IDM_RESTORE_ALL)) << what;
  };
  expectNoLog("compare");
  EXPECT_EQ(GetWindowTextString(window->Handle()), "Quorvel") << "the caption names no log";
  EXPECT_EQ(GetFileAttributesA(failedLog.c_str()), INVALID_FILE_ATTRIBUTES) << "no partial log";

  // The good log cut off in its drive section.
  std::string logBytes = ScratchRead(log);
  ScratchWrite(log, logBytes.substr(0, logBytes.size() - 200));
  try {
    OpenLog(session, ui, log);
    ADD_FAILURE() << "a cut-off log was loaded";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message().rfind("ERROR: " + log + "\r", 0), 0u) << e.Message();
  }
  expectNoLog("load");
}

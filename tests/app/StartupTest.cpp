#include "app/Startup.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "app/CommandLine.h"
#include "app/ErrorReporting.h"
#include "app/Settings.h"
#include "core/CheckStates.h"
#include "core/Errors.h"
#include "datafiles/SelectionFile.h"
#include "res/resource.h"
#include "tests/app/AppTestSupport.h"
#include "tests/compare/LogBuilder.h"
#include "tests/compare/SampleLog.h"

namespace {

constexpr char kSettingsKey[] = "Software\\QuorvelTests\\Startup";

// The program's start with a file named on the command line, as a relative name from the
// program folder (the current folder of a double click in Explorer).
class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitControlsForTests();
    app.programFolder = TestFolder("QuorvelStartup");
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    settings = std::make_unique<StaticRegScope>(kSettingsKey, app.programFolder);
    GetCurrentDirectoryA(MAX_PATH, previousFolder);
    SetCurrentDirectoryA(app.programFolder.c_str());
  }
  void TearDown() override {
    window.reset();
    DrainQuitMessages();
    settings.reset();
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    SetCurrentDirectoryA(previousFolder);
    for (const char* name : {"Start.SXS", "Start.SXL"}) DeleteFileA((app.programFolder + name).c_str());
    RemoveDirectoryA(app.programFolder.c_str());
  }

  void Start(CommandLineAction action, const std::string& argument) {
    statuses.clear();
    window = std::make_unique<MainWindow>(session, [this](HWND, const ErrorSource&, std::exception_ptr error) {
      errors.push_back(DescribeError(error).message);
    });
    ASSERT_NE(window->Create(), nullptr);
    StartMainWindow({action, argument}, session, *window, [this](const char* text) { statuses.push_back(text); });
  }

  TreeNode* RegistryNode(std::vector<std::string> names) {
    names.insert(names.begin(), {"My Computer", "HKEY_LOCAL_MACHINE"});
    return FindTreeNode(names, session.Selection().registry);
  }

  int ActivePage() { return TabCtrl_GetCurSel(window->Control("PageControl")); }

  Session session;
  AppState& app = session.State();
  std::unique_ptr<StaticRegScope> settings;
  std::unique_ptr<MainWindow> window;
  std::vector<std::string> errors;
  std::vector<std::string> statuses;
  char previousFolder[MAX_PATH] = "";
};

}  // namespace

// A selection file that watches the whole of HKEY_LOCAL_MACHINE\SYSTEM still leaves the
// ControlSet keys out: the rule holds after the command-line file, not only after "Last.SXS".
TEST_F(StartupTest, ASelectionFileOnTheCommandLineKeepsTheControlSetsOutAndCountsAsUnchanged) {
  Start(CommandLineAction::None, "");
  TreeNode* system = RegistryNode({"SYSTEM"});
  ASSERT_NE(system, nullptr);
  SetNodeChecked(*system, true);
  SelectionTrees trees = session.Selection();
  SaveSelections(app.programFolder + "Start.SXS", trees.registry, trees.drives, trees.systemFiles, app.excludeList);
  window.reset();

  Start(CommandLineAction::SelectionFile, "Start.SXS");
  EXPECT_TRUE(errors.empty()) << errors.front();
  EXPECT_EQ(statuses, (std::vector<std::string>{"Status: Loading selections.", "Status: Refreshing view."}));
  TreeNode* controlSet = RegistryNode({"SYSTEM", "CurrentControlSet"});
  ASSERT_NE(controlSet, nullptr);
  EXPECT_EQ(controlSet->StateIndex(), kStateUnchecked);
  EXPECT_EQ(RegistryNode({"SYSTEM"})->StateIndex(), kStatePartlyChecked) << "the rest of SYSTEM stays watched";
  EXPECT_FALSE(app.selectionChanged);
  EXPECT_EQ(ActivePage(), 0);
}

// A log file named on the command line fills the result trees and names its full path in the
// caption; the selection it brings counts as unchanged and the selection pages stay in front.
TEST_F(StartupTest, ALogFileOnTheCommandLineIsOpenedByItsFullName) {
  WriteFileBytes(app.programFolder + "Start.SXL", SampleLog().bytes);
  Start(CommandLineAction::LogFile, "Start.SXL");
  EXPECT_TRUE(errors.empty()) << errors.front();
  const std::string fullName = app.programFolder + "Start.SXL";
  EXPECT_EQ(app.currentLogFile, fullName);
  char caption[MAX_PATH * 2] = "";
  GetWindowTextA(window->Handle(), caption, sizeof caption);
  EXPECT_EQ(std::string(caption), "Quorvel - " + fullName);
  EXPECT_FALSE(app.selectionChanged);
  EXPECT_EQ(ActivePage(), 0);
  EXPECT_TRUE(window->IsCommandEnabled(IDM_RESTORE_ALL));
  ASSERT_NE(session.Results().registry.FirstTop(), nullptr);
  EXPECT_EQ(session.Results().registry.FirstTop()->Text(), "My Computer");
}

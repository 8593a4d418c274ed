#include "app/BatchMode.h"

#include <gtest/gtest.h>

#include "tests/app/AppTestSupport.h"

#include <memory>

#include "app/CommandLine.h"
#include "app/SelectionTreeBuilder.h"
#include "app/Settings.h"
#include "platform/FileSystem.h"
#include "core/CheckStates.h"
#include "core/ScriptedInteraction.h"

namespace {

bool Exists(const std::string&) { return true; }
bool Missing(const std::string&) { return false; }

std::string CurrentFolder() {
  char folder[MAX_PATH];
  DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
  std::string path(folder, length);
  return path.back() == '\\' ? path : path + "\\";
}

}  // namespace

TEST(CommandLine, KeywordsNeedTheirExactArgumentCountAndFilesMustExist) {
  struct Case {
    std::vector<std::string> arguments;
    bool (*fileExists)(const std::string&);
    CommandLineAction action;
    std::string argument;
  };
  const Case cases[] = {
      {{}, Exists, CommandLineAction::None, ""},
      {{"?"}, Exists, CommandLineAction::Help, ""},
      {{"/?"}, Exists, CommandLineAction::Help, ""},
      {{"/storeconfig"}, Exists, CommandLineAction::Store, ""},
      {{"StoreConfig"}, Exists, CommandLineAction::Store, ""},
      {{"STORECONFIG", "extra"}, Exists, CommandLineAction::None, ""},
      {{"compare", "C:\\LOGS\\RUN1"}, Exists, CommandLineAction::Compare, "C:\\LOGS\\RUN1"},
      {{"/COMPARE"}, Exists, CommandLineAction::None, ""},
      {{"UNINSTALL", "x.sxl"}, Missing, CommandLineAction::Uninstall, "x.sxl"},
      {{"UNINSTALL", "a", "b"}, Exists, CommandLineAction::None, ""},
      {{"C:\\my.dir\\Setup.sxs"}, Exists, CommandLineAction::SelectionFile, "C:\\my.dir\\Setup.sxs"},
      {{"C:\\Setup.SXS"}, Missing, CommandLineAction::None, ""},
      {{"run1.Sxl"}, Exists, CommandLineAction::LogFile, "run1.Sxl"},
      {{"run1.SXL", "more"}, Exists, CommandLineAction::None, ""},
      {{"C:\\x.sxl\\notes.txt"}, Exists, CommandLineAction::None, ""},
  };
  for (const Case& c : cases) {
    CommandLineRequest request = ParseCommandLine(c.arguments, c.fileExists);
    std::string shown = c.arguments.empty() ? "(none)" : c.arguments[0];
    EXPECT_EQ(request.action, c.action) << shown;
    EXPECT_EQ(request.argument, c.argument) << shown;
  }
}

TEST(CommandLine, BatchLogFileNames) {
  const std::string here = CurrentFolder();
  EXPECT_EQ(BatchLogFileName("C:\\LOGS\\RUN1"), "C:\\LOGS\\RUN1.SXL");
  EXPECT_EQ(BatchLogFileName("run1.txt"), here + "run1.SXL");
  EXPECT_EQ(BatchLogFileName("X.SXL"), "X.SXL");
  EXPECT_EQ(BatchLogFileName("x.sxl.old"), "x.sxl.old");
  EXPECT_EQ(BatchLogFileName("C:\\my.dir\\run"), "C:\\my.dir\\run.SXL");
}

namespace {

constexpr char kTestKey[] = "Software\\QuorvelBatchMode";

// Counts the result pages a window would show.
class CountingView : public SessionView {
 public:
  void ResultsShown(bool named) override { shown.push_back(named); }
  std::vector<bool> shown;
};

class BatchModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.programFolder = TestFolder("QuorvelBatchMode");
    settings = std::make_unique<StaticRegScope>("Software\\QuorvelTests\\BatchMode", app.programFolder);
    // Only the small HKEY_CURRENT_CONFIG root: drives and system files stay out.
    SelectionTrees trees = session.Selection();
    BuildRegistrySelectionTree(trees.registry);
    trees.drives.Add(nullptr, "Drives");
    trees.systemFiles.Add(nullptr, "System Files");
    SetNodeChecked(*trees.registry.FirstTop(), false);
    SetNodeChecked(*FindTreeNode({"My Computer", "HKEY_CURRENT_CONFIG"}, trees.registry), true);
    RegDeleteKeyA(HKEY_CURRENT_CONFIG, kTestKey);
    session.SetView(&view);
  }
  void TearDown() override {
    session.SetView(nullptr);
    settings.reset();
    RegDeleteKeyA(HKEY_CURRENT_CONFIG, kTestKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QuorvelTests\\BatchMode");
    for (const char* name : {"OldCFG.SXD", "NewCFG.SXD", "run.SXL"}) DeleteFileA((app.programFolder + name).c_str());
    RemoveDirectoryA(app.programFolder.c_str());
  }

  void Run(CommandLineAction action, const std::string& argument = "") {
    RunBatch({action, argument}, session, ui, calls,
             {[this](const std::string& status) { statuses.push_back(status); },
              [this](const std::string& line) { written.push_back(line); }});
  }

  Session session;
  AppState& app = session.State();
  CountingView view;
  std::unique_ptr<StaticRegScope> settings;
  ScriptedInteraction ui;
  MainThreadCalls calls;
  std::vector<std::string> statuses;
  std::vector<std::string> written;
};

}  // namespace

// STORECONFIG, a change, COMPARE into a name without extension, UNINSTALL of that log: the
// change is undone, and each step shows its status texts.
TEST_F(BatchModeTest, StoreCompareAndUninstallUndoAChange) {
  Run(CommandLineAction::Store);
  EXPECT_TRUE(FileExists(app.programFolder + "OldCFG.SXD"));
  EXPECT_EQ(statuses, std::vector<std::string>{"Status: Saving current configuration."});

  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_CONFIG, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "Installed", 0, REG_SZ, reinterpret_cast<const BYTE*>("yes"), 4);
  RegCloseKey(key);

  statuses.clear();
  Run(CommandLineAction::Compare, app.programFolder + "run");
  const std::string log = app.programFolder + "run.SXL";
  EXPECT_TRUE(FileExists(log));
  EXPECT_EQ(app.currentLogFile, log);
  EXPECT_EQ(view.shown, std::vector<bool>{true}) << "the log is shown as the application's";
  EXPECT_EQ(statuses,
            (std::vector<std::string>{"Status: Saving current configuration.", "Status: Creating log file."}));

  statuses.clear();
  Run(CommandLineAction::Uninstall, log);
  EXPECT_EQ(statuses, (std::vector<std::string>{"Status: Loading log file.", "Status: Restoring registry.",
                                                "Status: Restoring files.", "Status: Restoring system files."}));
  HKEY gone = nullptr;
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_CONFIG, kTestKey, 0, KEY_READ, &gone), ERROR_SUCCESS) << "key left behind";
  if (gone) RegCloseKey(gone);
}

// A log that does not exist: the three passes run on empty trees and restore nothing.
TEST_F(BatchModeTest, UninstallOfAMissingLogRestoresNothing) {
  Run(CommandLineAction::Uninstall, app.programFolder + "missing.SXL");
  EXPECT_TRUE(app.currentLogFile.empty());
  EXPECT_TRUE(view.shown.empty());
  EXPECT_EQ(statuses.size(), 4u);
}

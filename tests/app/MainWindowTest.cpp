#include "app/MainWindow.h"

#include <gtest/gtest.h>

#include "tests/app/AppTestSupport.h"

#include <commctrl.h>

#include "app/CompareDialog.h"
#include "app/CompareDialogIds.h"
#include "app/ErrorReporting.h"
#include "core/CheckStates.h"
#include "core/Errors.h"
#include "res/resource.h"
#include "tests/app/ModalWatcher.h"
#include "ui/Controls.h"

namespace {

std::string MenuText(HMENU menu, UINT item, UINT flag) {
  char text[128] = {};
  GetMenuStringA(menu, item, text, sizeof text, flag);
  return text;
}

void TestFileWrite(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

bool MenuEnabled(HMENU menu, UINT id) { return !(GetMenuState(menu, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)); }

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitControlsForTests();
    app.programFolder = "C:\\";
    window = std::make_unique<MainWindow>(session, [this](HWND, const ErrorSource& source, std::exception_ptr error) {
      errors.push_back(DescribeError(error).message);
      sources.push_back(source.ownerPath);
    });
    ASSERT_NE(window->Create(), nullptr);
  }
  void TearDown() override {
    window.reset();
    // The destroyed main window posted the quit of its message loop; no later test has one.
    DrainQuitMessages();
  }

  Session session;
  AppState& app = session.State();
  std::vector<std::string> errors;
  std::vector<std::string> sources;
  std::unique_ptr<MainWindow> window;
};

}  // namespace

TEST_F(MainWindowTest, MenusCarryTheCommandsAndOnlyFinishedOnesAreEnabled) {
  HMENU menu = GetMenu(window->Handle());
  ASSERT_NE(menu, nullptr);
  const char* expectedMenus[] = {"&File", "&Wizards", "&Action", "&Options", "&Help"};
  ASSERT_EQ(GetMenuItemCount(menu), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(MenuText(menu, i, MF_BYPOSITION), expectedMenus[i]);

  SendMessageA(window->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(menu, 2)), 2);
  EXPECT_EQ(MenuText(menu, IDM_SAVE_CURRENT_CONFIG, MF_BYCOMMAND), "&Save Current Configuration");
  EXPECT_TRUE(MenuEnabled(menu, IDM_SAVE_CURRENT_CONFIG));
  EXPECT_TRUE(MenuEnabled(menu, IDM_SAVE_CONFIG_AS));
  EXPECT_TRUE(MenuEnabled(menu, IDM_SETTINGS));
  EXPECT_FALSE(MenuEnabled(menu, IDM_RESTORE_ALL)) << "no log is loaded";
  EXPECT_TRUE(MenuEnabled(menu, IDM_REMOVE_APPLICATION));
  EXPECT_TRUE(MenuEnabled(menu, IDM_DELETE_FONTS));
  EXPECT_TRUE(MenuEnabled(menu, IDM_DELETE_APPLICATIONS));
  EXPECT_EQ(MenuText(menu, IDM_CREATE_INSTALL_FILES, MF_BYCOMMAND), "Create Install Files");
  EXPECT_FALSE(MenuEnabled(menu, IDM_CREATE_INSTALL_FILES)) << "no log is loaded";
}

// A folder adds its commands as rows of the table: the menus and the toolbar follow the rows,
// the window runs them and names them in their errors.
TEST_F(MainWindowTest, RowsAddedToTheCommandTableAreEnabledRunAndNamed) {
  // Two menu items of a new folder, without rows yet.
  constexpr int kPlain = 9001, kNeedsLog = 9002;
  HMENU menu = GetMenu(window->Handle());
  AppendMenuA(GetSubMenu(menu, 1), MF_STRING, kPlain, "Plain");
  AppendMenuA(GetSubMenu(menu, 1), MF_STRING, kNeedsLog, "Needs a log");
  SendMessageA(window->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(menu, 1)), 1);
  EXPECT_FALSE(MenuEnabled(menu, kPlain)) << "no row, no command";
  int ran = 0;
  window->Commands().Add({kPlain, "ApplicationsMNU", false, [&](CommandEnvironment& environment) {
                            ++ran;
                            EXPECT_EQ(environment.owner, window->Handle());
                            throw Exception("no applications today");
                          }});
  window->Commands().Add({kNeedsLog, "WizardMNU", true, [&](CommandEnvironment&) { ++ran; }});
  EXPECT_ANY_THROW(window->Commands().Add({kPlain, "Again", false, nullptr})) << "one row per command";

  SendMessageA(window->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(menu, 1)), 1);
  SendMessageA(window->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(menu, 2)), 2);
  EXPECT_TRUE(MenuEnabled(menu, kPlain));
  EXPECT_FALSE(MenuEnabled(menu, kNeedsLog)) << "it needs a log";
  HWND toolbar = window->Control("Toolbar");
  EXPECT_TRUE(SendMessageA(toolbar, TB_ISBUTTONENABLED, IDM_COMPARE, 0));
  EXPECT_FALSE(SendMessageA(toolbar, TB_ISBUTTONENABLED, IDM_RESTORE_ALL, 0)) << "no log is loaded";

  window->RunCommand(kNeedsLog);
  window->RunCommand(kPlain);
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(errors, std::vector<std::string>{"no applications today"});
  EXPECT_EQ(sources, std::vector<std::string>{"MainForm\\ApplicationsMNU"});
}

TEST_F(MainWindowTest, StatusLineRestsWithTheSecondLabelHidden) {
  EXPECT_EQ(GetWindowTextString(window->Control("Statuspanel")), " Status");
  EXPECT_FALSE(IsWindowVisible(window->Control("StatusLBL2")));
  EXPECT_FALSE(IsWindowVisible(window->Control("ProgressBar2")));
  EXPECT_EQ(SendMessageA(window->Control("ListView2"), LVM_GETITEMCOUNT, 0, 0), 11);
  for (const char* name :
       {"RegView", "ListView1", "DriveSel", "DriveSelFiles", "SystemSelect", "SystemselectValues", "NoCheck",
        "ResultView", "ResultValues", "DriveResult", "ResultDriveFiles", "SystemResult", "SystemResultValues"})
    EXPECT_NE(window->Control(name), nullptr) << name;
}

TEST_F(MainWindowTest, ResizingPutsTheSecondLabelAtHalfThePanel) {
  SetWindowPos(window->Handle(), nullptr, 0, 0, 1000, 700, SWP_NOZORDER | SWP_NOMOVE);
  RECT panel, label;
  GetWindowRect(window->Control("Statuspanel"), &panel);
  GetWindowRect(window->Control("StatusLBL2"), &label);
  EXPECT_EQ(label.left, panel.left + (panel.right - panel.left) / 2);
}

TEST_F(MainWindowTest, ADisabledCommandDoesNothingAndAnUnknownOneReachesNoHandler) {
  window->RunCommand(IDM_RESTORE_ALL);
  window->RunCommand(9999);
  EXPECT_TRUE(errors.empty());
}

// "Last.SXS" that cannot be written: the user learns why once per close and may close anyway;
// the window never refuses every close.
TEST_F(MainWindowTest, AnUnwritableLastSelectionStillLetsTheWindowClose) {
  app.programFolder = TestFolder("QuorvelCloseTest");
  const std::string last = app.programFolder + "Last.SXS";
  TestFileWrite(last, "an older selection");
  // Held open without sharing, as another program may hold it (a read-only attribute does not
  // stop a test that runs as the superuser).
  HANDLE held = CreateFileA(last.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  app.selectionChanged = true;

  std::vector<std::string> questions;
  MsgAnswer closeAnyway = MsgAnswer::No;
  ModalWatcher watcher([&](HWND box) {
    const std::vector<std::string> texts = ChildTexts(box);
    for (const std::string& text : texts)
      if (text.find('?') != std::string::npos) questions.push_back(text);
    const bool failed = !questions.empty() && questions.back().find("Close anyway?") != std::string::npos;
    PressDialogButton(box, failed && closeAnyway == MsgAnswer::No ? IDNO : IDYES);
  });
  SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(window->Handle())) << "No keeps the window open";
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_EQ(questions[1].rfind("The selection could not be saved: ", 0), 0u) << questions[1];
  EXPECT_NE(questions[1].find(last), std::string::npos) << "the reason names the file";

  closeAnyway = MsgAnswer::Yes;
  SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(window->Handle(), nullptr) << "closed anyway";
  EXPECT_EQ(questions.size(), 4u);
  EXPECT_TRUE(errors.empty()) << "the failure was told in the question, not again";

  CloseHandle(held);
  DeleteFileA(last.c_str());
  RemoveDirectoryA(app.programFolder.c_str());
}

// While a command runs (a save's threads read the trees and the window lets messages run),
// the selection trees refuse the user's expansions; afterwards they take them again.
TEST_F(MainWindowTest, SelectionTreesRefuseExpansionWhileLocked) {
  session.BuildSelection();
  TreeModel& registry = session.Selection().registry;
  registry.Expand(registry.FirstTop());
  TreeNode* node = FindTreeNode({"My Computer", "HKEY_CURRENT_USER"}, registry);
  ASSERT_NE(node, nullptr);
  ASSERT_FALSE(node->Expanded());
  HWND view = window->Control("RegView");
  const auto expandFromView = [&] {
    NMTREEVIEWA info{};
    info.hdr = {view, static_cast<UINT_PTR>(GetDlgCtrlID(view)), TVN_ITEMEXPANDINGA};
    info.action = TVE_EXPAND;
    info.itemNew.lParam = reinterpret_cast<LPARAM>(node);
    return SendMessageA(window->Handle(), WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
  };
  window->Pages().LockInput(true);
  EXPECT_EQ(expandFromView(), TRUE) << "refused";
  EXPECT_FALSE(node->Expanded());
  window->Pages().LockInput(false);
  EXPECT_EQ(expandFromView(), FALSE);
  EXPECT_TRUE(node->Expanded());
}

// A command run from a dialog's OK (Compare Configurations) tells its failure in a message box
// that belongs to the dialog, so the box comes up above the dialog, not behind it; a box while
// no dialog is open belongs to the main window.
TEST_F(MainWindowTest, MessageBoxesBelongToTheDialogTheUserIsLookingAt) {
  HWND compareDialog = nullptr;
  std::vector<HWND> boxOwners;
  ModalWatcher watcher([&](HWND dialog) {
    if (!compareDialog) {
      compareDialog = dialog;
      for (int field : {IDC_COMPARE_OLD, IDC_COMPARE_NEW, IDC_COMPARE_LOG})
        SetDlgItemTextA(dialog, field, "C:\\missing.SXD");
      PressDialogButton(dialog, IDOK);
      return;
    }
    boxOwners.push_back(GetWindow(dialog, GW_OWNER));
    PressDialogButton(dialog, IDOK);
  });
  RunCompareDialog(window->Handle(),
                   [&](const ConfigurationFiles&) { window->Ui().Tell(MsgType::Error, "The compare failed."); });
  ASSERT_NE(compareDialog, nullptr);
  ASSERT_EQ(boxOwners.size(), 1u);
  EXPECT_EQ(boxOwners[0], compareDialog);

  window->Ui().Tell(MsgType::Information, "No dialog open.");
  ASSERT_EQ(boxOwners.size(), 2u);
  EXPECT_EQ(boxOwners[1], window->Handle());
}

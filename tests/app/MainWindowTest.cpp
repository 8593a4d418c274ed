#include "app/MainWindow.h"

#include <gtest/gtest.h>

#include "tests/app/AppTestSupport.h"

#include <commctrl.h>

#include "app/ErrorReporting.h"
#include "core/Errors.h"
#include "res/resource.h"
#include "ui/Controls.h"

namespace {

std::string MenuText(HMENU menu, UINT item, UINT flag) {
  char text[128] = {};
  GetMenuStringA(menu, item, text, sizeof text, flag);
  return text;
}

bool MenuEnabled(HMENU menu, UINT id) {
  return !(GetMenuState(menu, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitControlsForTests();
    app.programFolder = "C:\\";
    window = std::make_unique<MainWindow>(app, [this](HWND, const ErrorSource&, std::exception_ptr error) {
      errors.push_back(DescribeError(error).message);
    });
    ASSERT_NE(window->Create(), nullptr);
  }
  void TearDown() override {
    window.reset();
    // The destroyed main window posted the quit of its message loop; no later test has one.
    DrainQuitMessages();
  }

  AppState app;
  std::vector<std::string> errors;
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
  EXPECT_FALSE(MenuEnabled(menu, IDM_FIND_DUPLICATES));
  EXPECT_EQ(GetMenuState(menu, IDM_CREATE_INSTALL_FILES, MF_BYCOMMAND), static_cast<UINT>(-1)) << "hidden";
}

TEST_F(MainWindowTest, StatusLineRestsWithTheSecondLabelHidden) {
  EXPECT_EQ(GetWindowTextString(window->Control("Statuspanel")), " Status");
  EXPECT_FALSE(IsWindowVisible(window->Control("StatusLBL2")));
  EXPECT_FALSE(IsWindowVisible(window->Control("ProgressBar2")));
  EXPECT_EQ(SendMessageA(window->Control("ListView2"), LVM_GETITEMCOUNT, 0, 0), 11);
  for (const char* name : {"RegView", "ListView1", "DriveSel", "DriveSelFiles", "SystemSelect", "SystemselectValues",
                           "NoCheck", "ResultView", "ResultValues", "DriveResult", "ResultDriveFiles", "SystemResult",
                           "SystemResultValues"})
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
  window->RunCommand(IDM_FIND_DUPLICATES);
  window->RunCommand(9999);
  EXPECT_TRUE(errors.empty());
}

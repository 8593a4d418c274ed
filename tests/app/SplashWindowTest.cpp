#include "app/SplashWindow.h"

#include <gtest/gtest.h>

#include "tests/app/ModalWatcher.h"

// An error box of the start-up comes up while the splash window is still there: the splash gets
// out of its way before the box is drawn, and stays away after the box closed.
TEST(SplashWindow, GetsOutOfTheWayOfAMessageBox) {
  SplashWindow splash;
  ASSERT_TRUE(IsWindowVisible(splash.Handle()));
  std::vector<bool> splashVisible;
  ModalWatcher watcher([&](HWND box) {
    splashVisible.push_back(IsWindowVisible(splash.Handle()) != FALSE);
    PressDialogButton(box, IDOK);
  });
  MessageBoxA(nullptr, "The selection could not be loaded.", "Quorvel", MB_OK | MB_ICONERROR);
  ASSERT_EQ(splashVisible, std::vector<bool>{false});
  EXPECT_FALSE(IsWindowVisible(splash.Handle()));
}

#include "tools/DuplicatesWindow.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/TMyRegIniFile.h"
#include "res/resource.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ModalWatcher.h"
#include "tests/app/ToolWindowTestSupport.h"
#include "tests/capture/TestFolder.h"
#include "tools/DuplicatesWindowIds.h"

namespace {

class DuplicatesWindowTest : public ToolWindowTest {};

TEST_F(DuplicatesWindowTest, OpenedFromTheMenuItFindsTheGroupsOfTickedFoldersAndWarnsBeforeDeletingEveryCopy) {
  class TestFolder fixture;
  for (const char* folder : {"a", "b", "c"}) fixture.Folder(folder);
  fixture.File("a\\SETUP.INI", "same");
  fixture.File("b\\setup.ini", "same");
  fixture.File("c\\SETUP.INI", "diff");
  fixture.File("a\\ONLY.TXT", "1");
  fixture.File("c\\ONLY.TXT", "22");

  Session session;
  session.State().exePath = kToolExePath;
  session.State().programFolder = fixture.Path();
  MainWindow window(session, [](HWND, const ErrorSource&, std::exception_ptr) {});
  ASSERT_NE(window.Create(), nullptr);
  ASSERT_TRUE(window.IsCommandEnabled(IDM_FIND_DUPLICATES));

  HWND tool = nullptr;
  std::string caption, question, duplicates;
  std::vector<std::string> group, paths;
  ModalWatcher watcher([&](HWND dialog) {
    if (!tool) {
      tool = dialog;
      caption = WindowText(dialog);
      auto* form = static_cast<TfDouble*>(reinterpret_cast<Dialog*>(GetWindowLongPtrA(dialog, DWLP_USER)));
      ASSERT_NE(form, nullptr);
      TickFolder(*form, fixture.Path());
      SendMessageA(GetDlgItem(dialog, IDC_DOUBLE_BY_CONTENT), BM_CLICK, 0, 0);
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_DOUBLE_START, BN_CLICKED), 0);
      const HWND master = GetDlgItem(dialog, IDC_DOUBLE_MASTER);
      const HWND detail = GetDlgItem(dialog, IDC_DOUBLE_DETAIL);
      for (int column = 0; column < 3; ++column) group.push_back(ListText(master, 0, column));
      EXPECT_EQ(ListView_GetItemCount(master), 1);
      ListView_SetItemState(master, 0, LVIS_SELECTED, LVIS_SELECTED);
      for (int row = 0; row < ListView_GetItemCount(detail); ++row) paths.push_back(ListText(detail, row, 0));
      duplicates = WindowText(GetDlgItem(dialog, IDC_DOUBLE_DUPLICATES));
      ListView_SetItemState(detail, -1, LVIS_SELECTED, LVIS_SELECTED);
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDM_DOUBLE_DELETE, 0), 0);
      return;
    }
    for (const std::string& text : ChildTexts(dialog))
      if (text.rfind("Really", 0) == 0) question = text;
    PressDialogButton(dialog, IDCANCEL);
    PostMessageA(tool, WM_COMMAND, MAKEWPARAM(IDC_DOUBLE_CLOSE, BN_CLICKED), 0);
  });
  window.RunCommand(IDM_FIND_DUPLICATES);

  EXPECT_EQ(caption, "Quorvel - Find Duplicate Files");
  EXPECT_EQ(group[1], "4");
  EXPECT_EQ(group[2], "2");
  std::sort(paths.begin(), paths.end());
  EXPECT_EQ(paths, (std::vector<std::string>{fixture / "a\\SETUP.INI", fixture / "b\\setup.ini"}));
  EXPECT_EQ(duplicates, "Duplicates: 1");
  EXPECT_EQ(question, "Really delete all files?\rThis will delete both the duplicate AND the original file!");
  EXPECT_TRUE(TestFolder::Exists(fixture / "a\\SETUP.INI")) << "Cancel deletes nothing";
  EXPECT_TRUE(errors.empty()) << errors.front();
}

}  // namespace

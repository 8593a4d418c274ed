#include "tools/FileBackupWindow.h"

#include <gtest/gtest.h>

#include "app/Settings.h"
#include "core/CheckStates.h"
#include "platform/TMyRegIniFile.h"
#include "res/resource.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ModalWatcher.h"
#include "tests/app/ToolWindowTestSupport.h"
#include "tests/capture/TestFolder.h"
#include "tools/FileBackupWindowIds.h"
#include "tools/SearchDefinitionDialog.h"
#include "tools/SearchDefinitionDialogIds.h"

namespace {

class FileBackupWindowTest : public ToolWindowTest {
 protected:
  void SetUp() override {
    ToolWindowTest::SetUp();
    fixture.Folder("sub");
    fixture.File("A.DLL", "a");
    fixture.File("sub\\B.DLL", "b");
    fixture.File("C.TXT", "c");
    TMyRegIniFile ini(kToolSettingsPath);
    SaveSearchDefinitions(ini, TDLLBackUpFRM::kSection, {{"", fixture.Path(), true, "*.DLL"}},
                          DefinitionFields::WithoutDescription);
    session.State().exePath = kToolExePath;
    // The backup folder is the program folder's "DLLBackup", inside the walked folder: never
    // walked itself.
    session.State().programFolder = fixture.Path();
  }
  std::string Mirror(const std::string& relative) {
    std::string path = fixture / relative;
    path.erase(1, 1);
    return fixture.Path() + "DLLBackup\\" + path;
  }

  class TestFolder fixture;
  Session session;
};

TEST_F(FileBackupWindowTest, OpenedFromTheMenuItBacksUpItsDefinitionsAndKeepsListAndLayout) {
  MainWindow window(session, [](HWND, const ErrorSource&, std::exception_ptr) {});
  ASSERT_NE(window.Create(), nullptr);
  ASSERT_TRUE(window.IsCommandEnabled(IDM_FILE_BACKUP));

  std::string caption, status, files;
  std::vector<std::string> row;
  ModalWatcher watcher([&](HWND dialog) {
    caption = WindowText(dialog);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_BACKUP_START, BN_CLICKED), 0);
    const HWND list = GetDlgItem(dialog, IDC_BACKUP_MASTER);
    for (int column = 0; column < 4; ++column) row.push_back(ListText(list, 0, column));
    status = WindowText(GetDlgItem(dialog, IDC_BACKUP_STATUS));
    files = WindowText(GetDlgItem(dialog, IDC_BACKUP_FILES));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_BACKUP_CLOSE, BN_CLICKED), 0);
  });
  window.RunCommand(IDM_FILE_BACKUP);

  EXPECT_EQ(caption, "Quorvel - File Backup");
  EXPECT_EQ(row, (std::vector<std::string>{fixture.Path(), "Yes", "*.DLL", "2"}));
  EXPECT_EQ(status, "Bacup completed successfully.");
  EXPECT_EQ(files, "Files: 2");
  EXPECT_EQ(TestFolder::Read(Mirror("A.DLL")), "a");
  EXPECT_EQ(TestFolder::Read(Mirror("sub\\B.DLL")), "b");
  EXPECT_FALSE(TestFolder::Exists(Mirror("C.TXT")));
  EXPECT_TRUE(errors.empty()) << errors.front();
  TMyRegIniFile ini(kToolSettingsPath);
  EXPECT_GT(ini.ReadInteger(TDLLBackUpFRM::kSection, "Width", 0), 0);
  EXPECT_EQ(ini.ReadInteger(TDLLBackUpFRM::kSection, "MasterViewColumnCount", 0), 4);
  EXPECT_EQ(ini.ReadString(TDLLBackUpFRM::kSection, "SI0Mask", ""), "*.DLL");
}

TEST_F(FileBackupWindowTest, AfterASaveTheBackupRunsUnattendedOnlyWhenTheSettingAsksForIt) {
  StaticRegScope settings(kToolSettingsPath, session.State().programFolder);
  MainWindow window(session, [](HWND, const ErrorSource&, std::exception_ptr) {});
  ASSERT_NE(window.Create(), nullptr);
  for (const bool makeBackup : {false, true}) {
    const DWORD value = makeBackup ? 1 : 0;
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kToolSettingsPath, "MakeDLLBackup", REG_DWORD, &value, sizeof value),
              ERROR_SUCCESS);
    BackUpFilesAfterSave(window.Handle(), {kToolSettingsPath, session.State().programFolder});
    EXPECT_EQ(TestFolder::Exists(Mirror("sub\\B.DLL")), makeBackup);
    EXPECT_FALSE(TestFolder::Exists(Mirror("C.TXT")));
    // The window kept its layout as it was freed.
    EXPECT_EQ(TMyRegIniFile(kToolSettingsPath).ReadInteger(TDLLBackUpFRM::kSection, "Width", 0) > 0, makeBackup);
    EXPECT_TRUE(ModalWatcher::VisibleDialogs().empty()) << "the tool is freed after its run";
  }
  EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(FileBackupWindowTest, SaveCurrentConfigurationFromTheMenuSavesThenBacksUp) {
  StaticRegScope settings(kToolSettingsPath, session.State().programFolder);
  const DWORD one = 1;
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kToolSettingsPath, "MakeDLLBackup", REG_DWORD, &one, sizeof one),
            ERROR_SUCCESS);
  MainWindow window(session, [](HWND, const ErrorSource&, std::exception_ptr) {});
  ASSERT_NE(window.Create(), nullptr);
  session.BuildSelection();
  SelectOnlyCurrentConfig(session);

  std::vector<std::string> questions;
  ModalWatcher watcher([&](HWND dialog) {
    // The backup's own window passes by while it runs; only the question is answered.
    for (const std::string& text : ChildTexts(dialog))
      if (text.rfind("No drives selected!", 0) == 0) {
        questions.push_back(text);
        PressDialogButton(dialog, IDYES);
      }
  });
  window.RunCommand(IDM_SAVE_CURRENT_CONFIG);

  EXPECT_EQ(questions, std::vector<std::string>{"No drives selected!\rContinue anyway?"});
  EXPECT_TRUE(TestFolder::Exists(fixture / "OldCFG.SXD")) << "the configuration is saved";
  EXPECT_EQ(TestFolder::Read(Mirror("A.DLL")), "a");
  EXPECT_EQ(TestFolder::Read(Mirror("sub\\B.DLL")), "b");
  EXPECT_TRUE(ModalWatcher::VisibleDialogs().empty()) << "the tool is freed after its run";
  EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(FileBackupWindowTest, TheUnattendedFormShowsTheListAloneAcrossTheWindow) {
  TDLLBackUpFRM form({kToolSettingsPath, fixture.Path()});
  ASSERT_TRUE(form.Create(nullptr));
  form.Show();
  EXPECT_TRUE(IsWindowVisible(form.Item(IDC_BACKUP_START)));
  const int listWidth = form.MasterView().ClientRect().right;
  form.HideButtons();
  for (int id :
       {IDC_BACKUP_NEW, IDC_BACKUP_EDIT, IDC_BACKUP_DELETE, IDC_BACKUP_START, IDC_BACKUP_CANCEL, IDC_BACKUP_CLOSE})
    EXPECT_FALSE(IsWindowVisible(form.Item(id))) << id;
  EXPECT_GT(form.MasterView().ClientRect().right, listWidth);
}

TEST_F(FileBackupWindowTest, TheDefinitionDialogWithoutDescriptionClosesTheGapItLeaves) {
  TTempfiles2FRM full, bare;
  bare.fields = DefinitionFields::WithoutDescription;
  ASSERT_TRUE(full.Create(nullptr));
  ASSERT_TRUE(bare.Create(nullptr));
  EXPECT_TRUE(GetWindowLongA(full.Item(IDC_DEFINITION_DESCRIPTION), GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(GetWindowLongA(bare.Item(IDC_DEFINITION_DESCRIPTION), GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(bare.Item(IDC_DEFINITION_PATH_LABEL).RectIn(bare).top,
            full.Item(IDC_DEFINITION_DESCRIPTION_LABEL).RectIn(full).top);
  EXPECT_LT(bare.Height(), full.Height());
}

}  // namespace

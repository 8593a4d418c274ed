#include "tools/TempFilesWindow.h"

#include <gtest/gtest.h>

#include "platform/TMyRegIniFile.h"
#include "res/resource.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ModalWatcher.h"
#include "tests/app/ToolWindowTestSupport.h"
#include "tests/capture/TestFolder.h"
#include "tools/SearchDefinitionDialog.h"
#include "tools/SearchDefinitionDialogIds.h"
#include "tools/TempFilesWindowIds.h"

namespace {

constexpr int kManyFiles = 1003;  // beyond the lower list's 1000 rows

void ClickColumn(HWND dialog, int listId, int column) {
  NMLISTVIEW click{};
  click.hdr = {GetDlgItem(dialog, listId), static_cast<UINT_PTR>(listId), LVN_COLUMNCLICK};
  click.iSubItem = column;
  SendMessageA(dialog, WM_NOTIFY, listId, reinterpret_cast<LPARAM>(&click));
}

class TempFilesWindowTest : public ToolWindowTest {};

TEST_F(TempFilesWindowTest, OpenedFromTheMenuItSearchesShowsAThousandRowsSortsAndDeletes) {
  // The class, not the helper of the app tests that names a folder.
  class TestFolder fixture;
  fixture.Folder("sub");
  for (int i = 0; i < kManyFiles; ++i) fixture.File("sub\\F" + std::to_string(i) + ".TMP", std::string(i % 7, 'x'));
  fixture.File("LAST.TMP", std::string(5000, 'y'));
  fixture.File("KEEP.TXT", "keep");
  {
    TMyRegIniFile ini(kToolSettingsPath);
    SaveSearchDefinitions(ini, "fTempfiles", {{"fixture", fixture.Path(), true, "*.TMP"}});
  }

  Session session;
  session.State().exePath = kToolExePath;
  session.State().programFolder = fixture.Path();
  MainWindow window(session, [](HWND, const ErrorSource&, std::exception_ptr) {});
  ASSERT_NE(window.Create(), nullptr);
  ASSERT_TRUE(window.IsCommandEnabled(IDM_FIND_TEMP_FILES));

  HWND tool = nullptr;
  std::string caption, question, status, firstSorted;
  std::vector<std::string> master;
  int detailRows = -1;
  ModalWatcher watcher([&](HWND dialog) {
    if (!tool) {
      tool = dialog;
      caption = WindowText(dialog);
      const HWND masterList = GetDlgItem(dialog, IDC_TEMP_MASTER);
      const HWND detailList = GetDlgItem(dialog, IDC_TEMP_DETAIL);
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_TEMP_START, BN_CLICKED), 0);
      for (int column = 0; column < 5; ++column) master.push_back(ListText(masterList, 0, column));
      detailRows = ListView_GetItemCount(detailList);
      status = WindowText(GetDlgItem(dialog, IDC_TEMP_STATUS));
      // Twice on "Size": descending, the largest file first.
      ClickColumn(dialog, IDC_TEMP_DETAIL, 1);
      ClickColumn(dialog, IDC_TEMP_DETAIL, 1);
      firstSorted = ListText(detailList, 0, 0);
      ListView_SetItemState(detailList, -1, 0, LVIS_SELECTED);
      ListView_SetItemState(detailList, 0, LVIS_SELECTED, LVIS_SELECTED);
      // The question is a modal box: asked once this handler has returned.
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDM_TEMP_DETAIL_DELETE, 0), 0);
      return;
    }
    for (const std::string& text : ChildTexts(dialog))
      if (text.rfind("Delete file", 0) == 0) question = text;
    PressDialogButton(dialog, IDOK);
    PostMessageA(tool, WM_COMMAND, MAKEWPARAM(IDC_TEMP_CLOSE, BN_CLICKED), 0);
  });
  window.RunCommand(IDM_FIND_TEMP_FILES);

  EXPECT_EQ(caption, "Quorvel - Find and Delete Temporary Files");
  EXPECT_EQ(master,
            (std::vector<std::string>{"fixture", fixture.Path(), "Yes", "*.TMP", std::to_string(kManyFiles + 1)}));
  EXPECT_EQ(detailRows, 1000);
  EXPECT_EQ(status, "Search completed.");
  EXPECT_EQ(firstSorted, fixture / "LAST.TMP");
  EXPECT_EQ(question, "Delete file " + (fixture / "LAST.TMP") + "?");
  EXPECT_FALSE(TestFolder::Exists(fixture / "LAST.TMP"));
  EXPECT_TRUE(TestFolder::Exists(fixture / "KEEP.TXT"));
  EXPECT_TRUE(errors.empty()) << errors.front();
  // The window's size and columns are kept for the next time.
  TMyRegIniFile ini(kToolSettingsPath);
  EXPECT_GT(ini.ReadInteger("fTempfiles", "Width", 0), 0);
  EXPECT_EQ(ini.ReadInteger("fTempfiles", "DetailViewColumnCount", 0), 4);
  EXPECT_EQ(session.State().deletion.backupFolder, fixture.Path() + "TEMPFILES\\");
}

TEST_F(TempFilesWindowTest, EmptyStoredListShowsTheTwoDefaultsAndNewEntryIsSaved) {
  TfTempfiles form({kToolSettingsPath, "C:\\", nullptr});
  ASSERT_TRUE(form.Create(nullptr));
  ASSERT_EQ(form.Definitions().size(), 2u);
  EXPECT_EQ(ListText(form.MasterView(), 0, 0), "Folder of temporary files");
  EXPECT_EQ(ListText(form.MasterView(), 1, 2), "Yes");
  EXPECT_EQ(form.MasterView().SelectedOwners(), std::vector<size_t>{0});

  ModalWatcher watcher([](HWND dialog) {
    SetDlgItemTextA(dialog, IDC_DEFINITION_PATH, "D:\\LOGS");
    PressDialogButton(dialog, IDOK);
  });
  form.NewEntry();
  ASSERT_EQ(form.Definitions().size(), 3u);
  EXPECT_EQ(form.Definitions()[2].mask, "*.TMP");
  TMyRegIniFile ini(kToolSettingsPath);
  EXPECT_EQ(ini.ReadInteger("fTempfiles", "CountSI", 0), 3);
  EXPECT_EQ(ini.ReadString("fTempfiles", "SI2Path", ""), "D:\\LOGS");
}

TEST_F(TempFilesWindowTest, DefinitionDialogKeepsItsFieldsOnlyWithAPathAndASearchText) {
  TTempfiles2FRM form;
  form.definition = {"old", "C:\\OLD", true, "*.OLD"};
  std::vector<FolderBrowseSpec> browsed;
  form.browseFolder = [&](const FolderBrowseSpec& spec, std::string& folder) {
    browsed.push_back(spec);
    EXPECT_EQ(folder, "C:\\OLD");
    folder = "E:\\PICKED";
    return true;
  };
  ASSERT_TRUE(form.Create(nullptr));
  EXPECT_EQ(form.Text(), "Quorvel - Define search criteria:");
  EXPECT_TRUE(form.Item(IDC_DEFINITION_RECURSE).IsChecked());

  form.Item(IDC_DEFINITION_MASK).SetText("   ");
  form.Send(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(form.Item(IDOK).Handle()));
  EXPECT_EQ(errors, std::vector<std::string>{"Please enter path and search text (wildcards allowed)."});
  EXPECT_TRUE(form.Exists());

  form.Send(WM_COMMAND, MAKEWPARAM(IDC_DEFINITION_BROWSE, BN_CLICKED), 0);
  ASSERT_EQ(browsed.size(), 1u);
  EXPECT_EQ(browsed[0].title, "Select folder.");
  EXPECT_EQ(browsed[0].statusText, "Select folder to search.");
  form.Item(IDC_DEFINITION_MASK).SetText(" *.BAK ");
  form.Item(IDC_DEFINITION_DESCRIPTION).SetText("");
  form.Send(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(form.Item(IDOK).Handle()));
  EXPECT_FALSE(form.Exists());
  EXPECT_EQ(form.definition.folder, "E:\\PICKED");
  EXPECT_EQ(form.definition.mask, "*.BAK");
  EXPECT_EQ(form.definition.description, "");
}

}  // namespace

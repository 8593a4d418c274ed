#include "app/OptionsDialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "app/OptionsDialogIds.h"
#include "platform/TMyRegistry.h"
#include "tests/app/ModalWatcher.h"
#include "tests/capture/TestRegistryKey.h"

namespace {

enum Page { kGeneral, kDisplay, kDelete, kBackup };

const char* const kValueNames[] = {
    "PathToSystemFiles", "DefaultText",       "EmptyText",           "ShowHints",     "HintColor",
    "CaptionColor",      "CaptionTextActive", "CaptionTextInActive", "UseRecycleBin", "BackupFiles",
    "BackupDir",         "HandleSharedDLLs",  "MakeDLLBackup",       "DLLBackupPath", "UseDLLBackupRestore",
};

std::string TabText(HWND tabs, int index) {
  char text[64] = "";
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(tabs, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
  return text;
}

class OptionsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reg.SetRegAccess(kRegAccessFull);
    ASSERT_TRUE(reg.OpenKey("\\" + key.Path(), true));
  }

  // Opens the form on the test key as the menu command does, but modeless.
  void Open() {
    BindOptionsToRegistry(form, reg, kProgramFolder);
    ASSERT_TRUE(form.Create(nullptr));
    form.Show();
  }
  void Click(Page page, int id) {
    form.SelectPage(page);
    form.Control(id).Click();
  }
  bool Checked(int id) const { return form.Control(id).IsChecked(); }

  DWORD StoredDword(const std::string& name) const {
    DWORD type = 0;
    std::string bytes;
    EXPECT_TRUE(key.GetRaw("", name, type, bytes)) << name;
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << name;
    DWORD value = 0;
    if (bytes.size() == sizeof value) memcpy(&value, bytes.data(), sizeof value);
    return value;
  }
  std::string StoredString(const std::string& name) const {
    DWORD type = 0;
    std::string bytes;
    EXPECT_TRUE(key.GetRaw("", name, type, bytes)) << name;
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << name;
    return bytes.substr(0, bytes.find('\0'));
  }
  DWORD StoredValueCount() const {
    HKEY opened = nullptr;
    DWORD count = 0;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.Path().c_str(), 0, KEY_READ, &opened) == ERROR_SUCCESS) {
      RegQueryInfoKeyA(opened, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                       nullptr);
      RegCloseKey(opened);
    }
    return count;
  }

  const std::string kProgramFolder = "C:\\Quorvel\\";
  TestRegistryKey key;
  TMyRegistry reg;
  TfOptions form;
};

}  // namespace

TEST_F(OptionsDialogTest, OpensOnGeneralWithTheStoredSettingsAndDefaultsForMissingOnes) {
  key.SetRaw("", "PathToSystemFiles", REG_SZ, std::string("D:\\Sys\\", 8));
  key.SetRawDword("", "ShowHints", 0);
  key.SetRawDword("", "HintColor", 0x0000FF);
  key.SetRawDword("", "UseRecycleBin", 0);
  key.SetRawDword("", "BackupFiles", 1);
  key.SetRawDword("", "HandleSharedDLLs", 1);
  Open();

  Window tabs = form.Item(IDC_OPTIONS_TABS);
  ASSERT_EQ(tabs.Send(TCM_GETITEMCOUNT), 4);
  const char* const tabTexts[] = {"General", "Display", "Delete", "Backup"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(TabText(tabs, i), tabTexts[i]);
  EXPECT_EQ(form.CurrentPage(), kGeneral);
  EXPECT_TRUE(form.Control(IDC_PATH_TO_SYSTEM_FILES).Parent().IsVisible());
  EXPECT_FALSE(form.Control(IDC_SHOW_HINTS).Parent().IsVisible());
  EXPECT_EQ(form.Item(IDOK).Text(), "&OK");
  EXPECT_EQ(form.Item(IDCANCEL).Text(), "&Cancel");
  EXPECT_EQ(form.Item(IDC_OPTIONS_APPLY).Text(), "&Apply");

  EXPECT_EQ(form.Control(IDC_PATH_TO_SYSTEM_FILES).Text(), "D:\\Sys\\");
  EXPECT_EQ(form.Control(IDC_DEFAULT_TEXT).Text(), "(default)");
  EXPECT_FALSE(Checked(IDC_SHOW_HINTS));
  EXPECT_EQ(form.FieldColor(IDC_HINT_COLOR), 0x0000FFu);
  EXPECT_EQ(form.FieldColor(IDC_CAPTION_COLOR), kDefaultCaptionColor);
  EXPECT_FALSE(Checked(IDC_USE_RECYCLE_BIN));
  EXPECT_TRUE(Checked(IDC_BACKUP_FILES));
  EXPECT_EQ(form.Control(IDC_BACKUP_DIR).Text(), "C:\\Quorvel\\");
  EXPECT_EQ(form.Control(IDC_DLL_BACKUP_PATH).Text(), "C:\\Quorvel\\DLLBackup\\");
  EXPECT_FALSE(Checked(IDC_SHARED_DLLS_CONFIRM));
  EXPECT_TRUE(Checked(IDC_SHARED_DLLS_DELETE));
  EXPECT_FALSE(Checked(IDC_SHARED_DLLS_KEEP));
  EXPECT_TRUE(Checked(IDC_USE_DLL_BACKUP_RESTORE));
  EXPECT_EQ(StoredValueCount(), 6u) << "opening writes nothing";
}

TEST_F(OptionsDialogTest, EveryPageCarriesItsLabels) {
  Open();
  struct PageLabels {
    int anyControl;
    std::vector<std::string> texts;
  };
  const PageLabels pages[] = {
      {IDC_PATH_TO_SYSTEM_FILES,
       {"&Path to AUTOEXEC.BAT and CONFIG.SYS:", "&Text for default registry entries:", "&Empty registry value:"}},
      {IDC_SHOW_HINTS,
       {"&Show tooltips:", "Too&ltip color:", "Title &bar color:", "&Font color of title bar (active):",
        "Font color of title bar (&inactive):", "You must restart the program for some changes to take effect."}},
      {IDC_USE_RECYCLE_BIN,
       {"&Move deleted files to Recycle Bin.", "Back &up files to this folder:", "...", "Shared DLLs",
        "Co&nfirm each file (keep or delete).", "&Delete if counter is zero.", "&Keep all files (never delete)."}},
      {IDC_MAKE_DLL_BACKUP, {"Automatically &store folders in folder:", "...", "&Restore from backup files."}},
  };
  for (const PageLabels& page : pages)
    for (const std::string& text : page.texts)
      EXPECT_TRUE(HasChildText(form.Control(page.anyControl).Parent(), text)) << text;
}

TEST_F(OptionsDialogTest, WhereTheSystemCannotShowTitleBarColorsTheDisplayPageSaysSo) {
  Open();
  Window note = form.Control(IDC_CAPTION_COLOR_NOTE);
  ASSERT_TRUE(note.Exists());
  EXPECT_EQ(note.Parent(), form.Control(IDC_CAPTION_COLOR).Parent()) << "beside the colour fields";
  EXPECT_EQ(note.Text(), "This system does not show title bar colors; they take effect on Windows 11 and later.");
  // Wine has no caption colours of the window manager.
  EXPECT_FALSE(CaptionColorsSupported());
  EXPECT_TRUE(note.Style() & WS_VISIBLE);
  EXPECT_FALSE(ApplyCaptionColors(form, CaptionColors{0x0000FF, 0xFFFFFF, 0xC0C0C0}));
  // The note sits between the last colour field and the restart note, overlapping neither.
  RECT noteRect = note.RectIn(note.Parent());
  EXPECT_GE(noteRect.top, form.Control(IDC_CAPTION_TEXT_INACTIVE).RectIn(note.Parent()).bottom);
  EXPECT_LE(noteRect.bottom, form.Control(IDC_RESTART_NOTE).RectIn(note.Parent()).top);
}

TEST_F(OptionsDialogTest, ChangingTheTabShowsOnlyThatPage) {
  Open();
  Window tabs = form.Item(IDC_OPTIONS_TABS);
  tabs.Send(TCM_SETCURSEL, kDelete);
  NMHDR header{tabs, IDC_OPTIONS_TABS, static_cast<UINT>(TCN_SELCHANGE)};
  form.Send(WM_NOTIFY, IDC_OPTIONS_TABS, reinterpret_cast<LPARAM>(&header));
  EXPECT_TRUE(form.Control(IDC_USE_RECYCLE_BIN).Parent().IsVisible());
  EXPECT_FALSE(form.Control(IDC_PATH_TO_SYSTEM_FILES).Parent().IsVisible());
  EXPECT_FALSE(form.Control(IDC_MAKE_DLL_BACKUP).Parent().IsVisible());
}

TEST_F(OptionsDialogTest, RecycleBinAndBackupFolderExcludeEachOther) {
  struct Case {
    const char* name;
    bool recycle, backup;  // loaded
    Page page;
    int clicked;
    bool recycleAfter, backupAfter;
  };
  const Case cases[] = {
      {"check recycle bin", false, true, kDelete, IDC_USE_RECYCLE_BIN, true, false},
      {"check backup folder", true, false, kDelete, IDC_BACKUP_FILES, false, true},
      {"uncheck recycle bin: both off", true, false, kDelete, IDC_USE_RECYCLE_BIN, false, false},
      {"uncheck backup folder", true, true, kDelete, IDC_BACKUP_FILES, true, false},
      {"automatic backup with backup folder", true, true, kBackup, IDC_MAKE_DLL_BACKUP, false, true},
      {"restore from backup with backup folder", true, true, kBackup, IDC_USE_DLL_BACKUP_RESTORE, false, true},
      {"automatic backup without backup folder", true, false, kBackup, IDC_MAKE_DLL_BACKUP, true, false},
  };
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Settings shown = form.ReadControls();
    shown.useRecycleBin = c.recycle;
    shown.backupFiles = c.backup;
    form.ShowSettings(shown);
    Click(c.page, c.clicked);
    EXPECT_EQ(Checked(IDC_USE_RECYCLE_BIN), c.recycleAfter);
    EXPECT_EQ(Checked(IDC_BACKUP_FILES), c.backupAfter);
  }
}

TEST_F(OptionsDialogTest, ApplyStoresAllFifteenValuesAndTheThirdSharedDllChoiceAs2) {
  Open();
  Click(kDelete, IDC_SHARED_DLLS_KEEP);
  form.Control(IDC_EMPTY_TEXT).SetText("(nothing)");
  form.Item(IDC_OPTIONS_APPLY).Click();

  EXPECT_TRUE(form.Exists());
  EXPECT_EQ(StoredValueCount(), 15u);
  for (const char* name : kValueNames) EXPECT_TRUE(key.ValueExistsRaw("", name)) << name;
  EXPECT_EQ(StoredDword("HandleSharedDLLs"), 2u);
  EXPECT_EQ(StoredString("EmptyText"), "(nothing)");
  EXPECT_EQ(StoredString("DefaultText"), "(default)");
  EXPECT_EQ(StoredString("BackupDir"), "C:\\Quorvel\\");
  EXPECT_EQ(StoredDword("UseRecycleBin"), 1u);
  EXPECT_EQ(StoredDword("HintColor"), kDefaultHintColor);
}

TEST_F(OptionsDialogTest, CancelWritesNothing) {
  Open();
  form.Control(IDC_DEFAULT_TEXT).SetText("changed");
  Click(kDelete, IDC_SHARED_DLLS_KEEP);
  form.Item(IDCANCEL).Click();
  EXPECT_FALSE(form.Exists());
  EXPECT_EQ(form.Result(), IDCANCEL);
  EXPECT_EQ(StoredValueCount(), 0u);
}

TEST_F(OptionsDialogTest, OkSavesAndCloses) {
  Open();
  form.Control(IDC_PATH_TO_SYSTEM_FILES).SetText("E:\\");
  Click(kDisplay, IDC_SHOW_HINTS);
  form.Item(IDOK).Click();
  EXPECT_FALSE(form.Exists());
  EXPECT_EQ(form.Result(), IDOK);
  EXPECT_EQ(StoredString("PathToSystemFiles"), "E:\\");
  EXPECT_EQ(StoredDword("ShowHints"), 0u);
  EXPECT_EQ(form.settings.pathToSystemFiles, "E:\\");
}

TEST_F(OptionsDialogTest, ColorFieldOpensTheColorDialogPresetWithItsColor) {
  Open();
  for (int button : {IDCANCEL, IDOK}) {
    ModalWatcher watcher([&](HWND dialog) { PressDialogButton(dialog, button); });
    Click(kDisplay, IDC_HINT_COLOR);
    EXPECT_EQ(watcher.Seen(), 1);
  }
  // Cancelled first, then confirmed: the system colour became its plain RGB value.
  EXPECT_EQ(form.FieldColor(IDC_HINT_COLOR), GetSysColor(COLOR_INFOBK));
  form.Item(IDC_OPTIONS_APPLY).Click();
  EXPECT_EQ(StoredDword("HintColor"), GetSysColor(COLOR_INFOBK));
}

TEST_F(OptionsDialogTest, FolderButtonsBrowseFromTheEditsFolder) {
  struct Case {
    Page page;
    int button, edit;
    const char* statusText;
  };
  const Case cases[] = {{kDelete, IDC_BACKUP_DIR_BROWSE, IDC_BACKUP_DIR, "Folder"},
                        {kBackup, IDC_DLL_BACKUP_PATH_BROWSE, IDC_DLL_BACKUP_PATH, "Backup Folder:"}};
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.statusText);
    form.Control(c.edit).SetText("C:\\windows\\");
    bool statusShown = false;
    ModalWatcher watcher([&](HWND dialog) {
      statusShown = HasChildText(dialog, c.statusText);
      PressDialogButton(dialog, IDOK);
    });
    Click(c.page, c.button);
    EXPECT_EQ(watcher.Seen(), 1);
    EXPECT_TRUE(statusShown);
    EXPECT_EQ(form.Control(c.edit).Text(), "C:\\windows");
  }
}

TEST_F(OptionsDialogTest, RunOptionsDialogSavesOnlyOnOk) {
  for (int button : {IDCANCEL, IDOK}) {
    ModalWatcher watcher([&](HWND dialog) { PressDialogButton(dialog, button); });
    EXPECT_EQ(RunOptionsDialog(nullptr, reg, kProgramFolder), button == IDOK);
    EXPECT_EQ(watcher.Seen(), 1);
    EXPECT_EQ(StoredValueCount(), button == IDOK ? 15u : 0u);
  }
}

TEST(SettingColorToRGB, SystemColorsResolveAndPlainColorsStay) {
  EXPECT_EQ(SettingColorToRGB(0x80000018), GetSysColor(COLOR_INFOBK));
  EXPECT_EQ(SettingColorToRGB(0x80000002), GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_EQ(SettingColorToRGB(0x00123456), 0x00123456u);
}

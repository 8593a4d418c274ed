#include "tools/DeleteFontsWindow.h"

#include <gtest/gtest.h>

#include "app/ErrorReporting.h"
#include "app/Settings.h"
#include "platform/TMyRegIniFile.h"
#include "res/resource.h"
#include "restore/ShellFileOperations.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/KeyboardInput.h"
#include "tests/app/ModalWatcher.h"
#include "tests/capture/TestFolder.h"
#include "tests/fonts/TrueTypeBuilder.h"
#include "tools/DeleteFontsWindowIds.h"
#include "ui/Dpi.h"
#include "ui/HelpRequests.h"

namespace {

constexpr const char* kExePath = "C:\\QuorvelFontsTest.exe";
constexpr const char* kSettingsKey = "Software\\VXN\\QuorvelFontsTest";
constexpr const char* kSettingsPath = "Software\\VXN\\QuorvelFontsTest\\1.0";
// The system's registration key: the window lists what is there, so the test's fonts go there.
constexpr const char* kFontsKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
constexpr const char* kTestFont = "Quorvel Test Sans Bold (TrueType)";
constexpr const char* kMissingFont = "Quorvel Test Missing (TrueType)";

void Register(const std::string& name, const std::string& file) {
  ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, kFontsKey, name.c_str(), REG_SZ, file.c_str(),
                            static_cast<DWORD>(file.size() + 1)),
            ERROR_SUCCESS);
}

bool Registered(const std::string& name) {
  return RegGetValueA(HKEY_LOCAL_MACHINE, kFontsKey, name.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

void SetSetting(const char* name, DWORD type, const void* data, DWORD size) {
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsPath, name, type, data, size), ERROR_SUCCESS);
}

int RowOf(HWND list, const std::string& displayName) {
  for (int row = 0; row < ListView_GetItemCount(list); ++row)
    if (ListText(list, row, 0) == displayName) return row;
  return -1;
}

void SelectOnly(HWND list, const std::vector<int>& rows) {
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
  for (int row : rows) ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
}

LOGFONTA SampleFont(HWND tool) {
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendDlgItemMessageA(tool, IDC_FONTS_SAMPLE, WM_GETFONT, 0, 0)), sizeof font,
             &font);
  return font;
}

class DeleteFontsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitControlsForTests();
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    SetHandlerErrorHook(
        [this](const HandlerSource&, std::exception_ptr error) { errors.push_back(DescribeError(error).message); });
    SetHelpRequestHook([this](const std::string& section) { helpSections.push_back(section); });
    using truetype_test::TrueTypeBuilder;
    const truetype_test::Bytes font =
        TrueTypeBuilder().WindowsNames("Quorvel Test Sans", "Bold").Selection(0x20).Loadable().Build();
    fixture.File("QTSB.TTF", std::string(font.begin(), font.end()));
    fontPath = fixture / "QTSB.TTF";
    missingPath = fixture / "MISSING.TTF";
    Register(kTestFont, fontPath);
    Register(kMissingFont, missingPath);
    // Loaded as a registered font is at start-up, so the window can unload it.
    ASSERT_GT(AddFontResourceA(fontPath.c_str()), 0);
    session.State().exePath = kExePath;
    session.State().programFolder = fixture.Path();
  }
  void TearDown() override {
    RemoveFontResourceA(fontPath.c_str());
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kFontsKey, kTestFont);
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kFontsKey, kMissingFont);
    SetHelpRequestHook(nullptr);
    SetHandlerErrorHook(nullptr);
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    DrainQuitMessages();
  }

  class TestFolder fixture;
  std::string fontPath, missingPath;
  Session session;
  std::vector<std::string> errors, helpSections;
};

TEST_F(DeleteFontsWindowTest, OpenedFromTheMenuItShowsAGeneratedFontAndDeletesItIntoTheBackupFolder) {
  StaticRegScope settings(kSettingsPath, fixture.Path());
  const DWORD on = 1, off = 0;
  const std::string backupDir = fixture / "backup";
  SetSetting("BackupFiles", REG_DWORD, &on, sizeof on);
  SetSetting("UseRecycleBin", REG_DWORD, &off, sizeof off);
  SetSetting("BackupDir", REG_SZ, backupDir.c_str(), static_cast<DWORD>(backupDir.size() + 1));

  MainWindow window(session, [](HWND, const ErrorSource&, std::exception_ptr) {});
  ASSERT_NE(window.Create(), nullptr);
  ASSERT_TRUE(window.IsCommandEnabled(IDM_DELETE_FONTS));

  HWND tool = nullptr;
  std::string caption, fontName, info, question, notFound;
  std::vector<std::string> row;
  LOGFONTA sample{};
  ModalWatcher watcher([&](HWND dialog) {
    if (!tool) {
      tool = dialog;
      caption = WindowText(dialog);
      const HWND list = GetDlgItem(dialog, IDC_FONTS_LIST);
      const int test = RowOf(list, kTestFont);
      row = {ListText(list, test, 0), ListText(list, test, 1)};
      SelectOnly(list, {test});
      fontName = WindowText(GetDlgItem(dialog, IDC_FONTS_NAME));
      info = WindowText(GetDlgItem(dialog, IDC_FONTS_INFO));
      sample = SampleFont(dialog);
      SelectOnly(list, {test, RowOf(list, kMissingFont)});
      PressDialogButton(dialog, IDC_FONTS_DELETE);
      return;
    }
    const std::vector<std::string> texts = ChildTexts(dialog);
    if (HasChildText(dialog, "Really delete 2 fonts?")) {
      question = "Really delete 2 fonts?";
      PressDialogButton(dialog, IDYES);
      return;
    }
    for (const std::string& text : texts)
      if (text.rfind("File not found:", 0) == 0) notFound = text;
    PressDialogButton(dialog, IDOK);
    PostMessageA(tool, WM_COMMAND, MAKEWPARAM(IDC_FONTS_CLOSE, BN_CLICKED), 0);
  });
  window.RunCommand(IDM_DELETE_FONTS);

  EXPECT_EQ(caption, "Quorvel - Delete Fonts");
  EXPECT_EQ(row, (std::vector<std::string>{kTestFont, fontPath}));
  EXPECT_EQ(fontName, "Quorvel Test Sans");
  EXPECT_EQ(info,
            "FontName:  Quorvel Test Sans\r\nSubName:  Bold\r\nFullName:  Quorvel Test Sans Bold\r\n"
            "PostScriptName:  QuorvelTestSans-Bold\r\n");
  EXPECT_STREQ(sample.lfFaceName, "Quorvel Test Sans");
  EXPECT_EQ(sample.lfWeight, FW_BOLD);
  EXPECT_EQ(question, "Really delete 2 fonts?");
  EXPECT_EQ(notFound, "File not found:\r" + missingPath + "!");

  EXPECT_FALSE(TestFolder::Exists(fontPath));
  // Beyond MAX_PATH: reached by its short names.
  EXPECT_TRUE(TestFolder::Exists(AccessPath(BackupTargetOf(backupDir + "\\FONTS\\", fontPath))));
  EXPECT_FALSE(Registered(kTestFont));
  EXPECT_TRUE(Registered(kMissingFont)) << "a font whose file is missing stays";
  EXPECT_EQ(session.State().deletion.backupFolder, backupDir + "\\FONTS\\");
  EXPECT_TRUE(errors.empty()) << errors.front();
  TMyRegIniFile ini(kSettingsPath);
  EXPECT_GT(ini.ReadInteger(TDelFontsFRM::kSection, "Width", 0), 0);
  EXPECT_EQ(ini.ReadInteger(TDelFontsFRM::kSection, "FontViewColumnCount", 0), 2);
}

TEST_F(DeleteFontsWindowTest, TheSizeBoxSizesTheSampleAndTheKeyboardReachesEveryControl) {
  TDelFontsFRM form({kSettingsPath, fixture.Path(), &session.State().deletion});
  ASSERT_TRUE(form.Create(nullptr));
  form.Show();
  const HWND list = form.FontView();
  SelectOnly(list, {RowOf(list, kTestFont)});
  SetDlgItemTextA(form.Handle(), IDC_FONTS_SIZE, "24");
  const LOGFONTA sample = SampleFont(form.Handle());
  EXPECT_STREQ(sample.lfFaceName, "Quorvel Test Sans");
  EXPECT_EQ(sample.lfHeight, -MulDiv(24, static_cast<int>(WindowDpi(form.Handle())), 72));

  // Enter in the size box deletes nothing; F1 asks for the window's section; Escape closes it.
  ModalWatcher watcher([](HWND dialog) { PressDialogButton(dialog, IDNO); });
  SetFocus(form.Item(IDC_FONTS_SIZE));
  PressKey({VK_RETURN});
  EXPECT_EQ(watcher.Seen(), 0) << "no question was asked";
  PressKey({VK_F1});
  EXPECT_EQ(helpSections, std::vector<std::string>{"TDelFontsFRM"});
  // Tab walks every control once, the editable sample included, and comes back to the list.
  SetFocus(form.FontView());
  std::vector<int> walk;
  for (int i = 0; i < 6; ++i) {
    PressKey({VK_TAB});
    walk.push_back(GetDlgCtrlID(GetFocus()));
  }
  EXPECT_EQ(walk, (std::vector<int>{IDC_FONTS_SIZE, IDC_FONTS_SAMPLE, IDC_FONTS_INFO, IDC_FONTS_DELETE, IDC_FONTS_CLOSE,
                                    IDC_FONTS_LIST}));
  PressKey({VK_ESCAPE});
  EXPECT_FALSE(form.Exists());
  EXPECT_TRUE(Registered(kTestFont));
  EXPECT_TRUE(errors.empty()) << errors.front();
}

}  // namespace

#include "app/InstallFileCommands.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <fstream>
#include <sstream>

#include "app/ErrorReporting.h"
#include "app/FileNameInputIds.h"
#include "app/MainWindow.h"
#include "app/Settings.h"
#include "app/Workflows.h"
#include "core/Errors.h"
#include "res/resource.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ModalWatcher.h"
#include "tests/compare/LogBuilder.h"
#include "tests/compare/SampleLog.h"

namespace {

constexpr char kSettingsKey[] = "Software\\QuorvelTests\\InstallFiles";

std::string FileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void DeleteTree(const std::string& folder) {
  std::string from = folder + std::string(1, '\0');
  SHFILEOPSTRUCTA operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  SHFileOperationA(&operation);
}

// The sample log loaded in the main window, as the user has it before "Create Install Files".
class InstallFileCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitControlsForTests();
    folder = TestFolder("QuorvelInstallFiles");
    app.programFolder = folder;
    settings = std::make_unique<StaticRegScope>(kSettingsKey, folder);
    window = std::make_unique<MainWindow>(session, [this](HWND, const ErrorSource&, std::exception_ptr error) {
      errors.push_back(DescribeError(error).message);
    });
    ASSERT_NE(window->Create(), nullptr);
    WriteFileBytes(folder + "Install.SXL", SampleLog().bytes);
    OpenLog(session, window->Ui(), folder + "Install.SXL");
  }
  void TearDown() override {
    window.reset();
    DrainQuitMessages();
    settings.reset();
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    DeleteTree(folder.substr(0, folder.size() - 1));
  }

  std::string folder;
  Session session;
  AppState& app = session.State();
  std::unique_ptr<StaticRegScope> settings;
  std::unique_ptr<MainWindow> window;
  std::vector<std::string> errors;
};

}  // namespace

// The Action menu's command asks for the kinds, the file name and the copy folder, then writes
// the .REG and both .INF files under the name the user typed and copies the files that exist.
TEST_F(InstallFileCommandsTest, CreateInstallFilesWritesTheFilesUnderTheChosenName) {
  ASSERT_TRUE(window->IsCommandEnabled(IDM_CREATE_INSTALL_FILES));
  const std::string baseName = folder + "Undo";
  std::vector<std::string> titles;
  std::vector<std::string> messages;
  ModalWatcher watcher([&](HWND dialog) {
    titles.push_back(WindowText(dialog));
    if (titles.size() == 1) {  // the export selection dialog: every kind, as it comes
      PressDialogButton(dialog, IDOK);
      return;
    }
    if (HWND name = GetDlgItem(dialog, IDC_FILE_NAME_EDIT)) {
      EXPECT_EQ(WindowText(name), folder + "Install") << "the default: the log without its extension";
      EXPECT_TRUE(HasChildText(dialog, "Please enter filename (without extension)"));
      SetWindowTextA(name, baseName.c_str());
      PressDialogButton(dialog, IDOK);
      return;
    }
    for (const std::string& text : ChildTexts(dialog))
      if (text.find("created") != std::string::npos || text.find("folder") != std::string::npos ||
          text.find("not found") != std::string::npos || text.find("completed") != std::string::npos)
        messages.push_back(text);
    const std::string& last = messages.empty() ? std::string() : messages.back();
    // The default copy folder; each file the sample names but the disk lacks is passed over.
    PressDialogButton(dialog, last.rfind("Use default folder?", 0) == 0 ? IDYES : IDOK);
  });
  window->RunCommand(IDM_CREATE_INSTALL_FILES);
  EXPECT_TRUE(errors.empty()) << errors.front();
  ASSERT_GE(titles.size(), 2u);
  EXPECT_EQ(titles[1], "Quorvel - Choose filename");
  ASSERT_GE(messages.size(), 5u);
  EXPECT_EQ(messages[0], "Use default folder? :\r" + folder + "Install") << "asked before anything is written";
  EXPECT_EQ(messages[1].rfind("*.REG-File created, (", 0), 0u) << messages[1];
  EXPECT_EQ(messages[2].rfind("*.INF-file created, (", 0), 0u) << messages[2];
  EXPECT_EQ(messages[3].rfind("*.INF-file created, (", 0), 0u) << messages[3];
  EXPECT_EQ(messages.back(), "Export completed successfully!");

  const std::string reg = FileText(baseName + ".REG");
  EXPECT_EQ(reg.rfind("REGEDIT4\r\n\r\n", 0), 0u);
  EXPECT_NE(reg.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Changed]\r\n\"Path\"=\"new\"\r\n"), std::string::npos) << reg;
  EXPECT_NE(FileText(baseName + "_del.INF").find("HKLM,\"SOFTWARE\\Gone\""), std::string::npos);
  EXPECT_NE(FileText(baseName + "_add.INF").find("WIN.INI,\"WINDOWS\",\"load=a.exe\",\"load=b.exe\""),
            std::string::npos);
}

// The three result trees offer the command in their pop-up menus.
TEST_F(InstallFileCommandsTest, TheResultTreesPopupsCarryTheCommand) {
  HMENU menus = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_RESULT_POPUPS));
  ASSERT_NE(menus, nullptr);
  const int commands[] = {IDM_CREATE_INSTALL_FILES_REGISTRY, IDM_CREATE_INSTALL_FILES_DRIVE,
                          IDM_CREATE_INSTALL_FILES_SYSTEM};
  for (int tree = 0; tree < 3; ++tree) {
    char text[64] = "";
    GetMenuStringA(GetSubMenu(menus, tree), commands[tree], text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "Create Install Files") << tree;
    EXPECT_TRUE(window->IsCommandEnabled(commands[tree])) << tree;
  }
  DestroyMenu(menus);
}

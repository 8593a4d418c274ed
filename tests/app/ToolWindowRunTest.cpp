// Cancel and Close while a tool's run is on the stack: the clicks are posted before the run
// starts, so the run hears them at its first turn of messages, as it would hear a user.

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/TMyRegIniFile.h"
#include "tests/app/ModalWatcher.h"
#include "tests/app/ToolWindowTestSupport.h"
#include "tests/capture/TestFolder.h"
#include "tools/DuplicatesWindowIds.h"
#include "tools/FileBackupWindow.h"
#include "tools/FileBackupWindowIds.h"
#include "tools/SearchDefinitions.h"
#include "tools/TempFilesWindow.h"
#include "tools/TempFilesWindowIds.h"

namespace {

constexpr int kFolders = 4;
constexpr int kFilesPerFolder = 100;

struct RunningTool {
  const char* name;
  const char* section;
  std::function<std::unique_ptr<Dialog>()> make;
  std::function<void(Dialog&)> prepare;  // after the window is made, before the run
  int start, cancel, filesPanel;
};

class ToolWindowRunTest : public ToolWindowTest {
 protected:
  void SetUp() override {
    ToolWindowTest::SetUp();
    for (int folder = 0; folder < kFolders; ++folder) {
      const std::string name = "f" + std::to_string(folder);
      fixture.Folder(name);
      for (int file = 0; file < kFilesPerFolder; ++file)
        fixture.File(name + "\\F" + std::to_string(file) + ".DAT", "x");
    }
  }

  // The sections start afresh for every run: the definitions there, no layout yet.
  void FreshSections() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kToolSettingsPath);
    TMyRegIniFile ini(kToolSettingsPath);
    SaveSearchDefinitions(ini, TfTempfiles::kSection, {{"all", fixture.Path(), true, "*.*"}});
    SaveSearchDefinitions(ini, TDLLBackUpFRM::kSection, {{"", fixture.Path(), true, "*.*"}},
                          DefinitionFields::WithoutDescription);
  }

  std::vector<RunningTool> Tools() {
    return {
        {"temp files", TfTempfiles::kSection,
         [this] {
           return std::make_unique<TfTempfiles>(TempFilesContext{kToolSettingsPath, elsewhere.Path(), &deletion});
         },
         [](Dialog&) {}, IDC_TEMP_START, IDC_TEMP_CANCEL, IDC_TEMP_FILES},
        {"duplicates", TfDouble::kSection,
         [this] {
           return std::make_unique<TfDouble>(DuplicatesContext{kToolSettingsPath, elsewhere.Path(), &deletion});
         },
         [this](Dialog& form) { TickFolder(static_cast<TfDouble&>(form), fixture.Path()); }, IDC_DOUBLE_START,
         IDC_DOUBLE_CANCEL, IDC_DOUBLE_FILES},
        // The mirror goes into the program folder's "DLLBackup", outside the walked folder.
        {"file backup", TDLLBackUpFRM::kSection,
         [this] {
           return std::make_unique<TDLLBackUpFRM>(FileBackupContext{kToolSettingsPath, elsewhere.Path()});
         },
         [](Dialog&) {}, IDC_BACKUP_START, IDC_BACKUP_CANCEL, IDC_BACKUP_FILES},
    };
  }

  class TestFolder fixture;
  class TestFolder elsewhere;
  FileDeletionState deletion;
};

int FilesShown(HWND dialog, int panel) {
  const std::string text = WindowText(GetDlgItem(dialog, panel));
  return std::stoi(text.substr(text.find(':') + 1));
}

TEST_F(ToolWindowRunTest, CancelStopsTheRunEarlyAndCloseEndsTheWindowOnceTheRunHasStopped) {
  constexpr int kFiles = kFolders * kFilesPerFolder;
  for (const RunningTool& tool : Tools()) {
    SCOPED_TRACE(tool.name);
    for (const bool close : {false, true}) {
      FreshSections();
      std::unique_ptr<Dialog> form = tool.make();
      ASSERT_TRUE(form->Create(nullptr));
      tool.prepare(*form);
      const HWND dialog = form->Handle();
      PostMessageA(dialog, WM_COMMAND, close ? IDCANCEL : MAKEWPARAM(tool.cancel, BN_CLICKED), 0);
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(tool.start, BN_CLICKED), 0);
      if (close) {
        EXPECT_FALSE(form->Exists()) << "the window ends once its run has returned";
        EXPECT_GT(TMyRegIniFile(kToolSettingsPath).ReadInteger(tool.section, "Width", 0), 0) << "layout kept";
      } else {
        ASSERT_TRUE(form->Exists());
        EXPECT_LT(FilesShown(dialog, tool.filesPanel), kFiles);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, tool.start))) << "a new run can start";
      }
    }
  }
  // A Cancel is told as the notice of an abort; a Close needs none.
  EXPECT_EQ(errors, std::vector<std::string>(3, "Operation aborted!"));
}

}  // namespace

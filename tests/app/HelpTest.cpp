// The help: F1 and Help > Help ask for the section of the window in front (the main window's
// contents, a dialog's own section, a tab page's form), the built-in document has every section
// a dialog can ask for, the files a browser opens are written once per content with a redirect
// to the section, and failures name the file. No test starts a browser: requests are recorded
// at the hook and the launcher is a fake. About shows the program's version resource and build.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/AboutDialog.h"
#include "app/AddSystemFileDialog.h"
#include "app/CompareDialog.h"
#include "app/ConfirmDialog.h"
#include "app/ErrorDialog.h"
#include "app/ErrorReporting.h"
#include "app/ExportSelectionDialog.h"
#include "app/FileNameInput.h"
#include "app/HelpDocument.h"
#include "app/HelpViewer.h"
#include "app/MainWindow.h"
#include "app/OptionsDialog.h"
#include "app/RestoreAllDialog.h"
#include "app/SharedFileDialog.h"
#include "core/Errors.h"
#include "core/ScriptedInteraction.h"
#include "platform/NativeView.h"
#include "res/resource.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/KeyboardInput.h"
#include "tests/app/ModalWatcher.h"
#include "tools/DelExistingWindow.h"
#include "tools/DeleteFontsWindow.h"
#include "tools/DuplicatesWindow.h"
#include "tools/FileBackupWindow.h"
#include "tools/SearchDefinitionDialog.h"
#include "tools/TempFilesWindow.h"
#include "ui/HelpRequests.h"
#include "wizards/InstallWizardWindow.h"
#include "wizards/StepWizardWindow.h"
#include "wizards/WelcomeDialog.h"

namespace {

const KeyPress kF1{VK_F1};

// Every help request of the test, as the hook receives it.
class RecordedHelpRequests {
 public:
  RecordedHelpRequests() {
    SetHelpRequestHook([this](const std::string& section) { sections.push_back(section); });
  }
  ~RecordedHelpRequests() { SetHelpRequestHook(nullptr); }
  RecordedHelpRequests(const RecordedHelpRequests&) = delete;
  RecordedHelpRequests& operator=(const RecordedHelpRequests&) = delete;

  std::vector<std::string> sections;
};

// The first control a tab page of dialog can focus: F1 there is F1 in a page, not its form.
HWND FirstControlOfAPage(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char className[32] = "";
    GetClassNameA(child, className, sizeof className);
    if (std::string(className) == "#32770" && IsWindowVisible(child)) return GetNextDlgTabItem(child, nullptr, FALSE);
  }
  return nullptr;
}

std::string ReadWholeFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "(missing)";
  char buffer[4096];
  DWORD read = 0;
  ReadFile(file, buffer, sizeof buffer, &read, nullptr);
  CloseHandle(file);
  return std::string(buffer, read);
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileA(find, &found));
  FindClose(find);
  return names;
}

void EmptyFolder(const std::string& folder) {
  for (const std::string& name : FilesIn(folder)) DeleteFileA((folder + name).c_str());
}

FILETIME WriteTime(const std::string& path) {
  FILETIME time{};
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  GetFileTime(file, nullptr, nullptr, &time);
  CloseHandle(file);
  return time;
}

void SetOldWriteTime(const std::string& path) {
  SYSTEMTIME old{2001, 1, 1, 1, 0, 0, 0, 0};
  FILETIME time;
  SystemTimeToFileTime(&old, &time);
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  SetFileTime(file, nullptr, nullptr, &time);
  CloseHandle(file);
}

FILETIME OwnFileTime() {
  char path[MAX_PATH * 2] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  return WriteTime(path);
}

}  // namespace

class MainWindowHelpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitControlsForTests();
    session.State().programFolder = "C:\\";
    window = std::make_unique<MainWindow>(session, [this](HWND, const ErrorSource&, std::exception_ptr error) {
      errors.push_back(DescribeError(error).message);
    });
    ASSERT_NE(window->Create(), nullptr);
    session.BuildSelection();
    window->Show(SW_SHOW);
    MessagePump::RunPending();
  }
  void TearDown() override {
    window.reset();
    DrainQuitMessages();
    EXPECT_TRUE(errors.empty());
  }

  RecordedHelpRequests help;
  Session session;
  std::vector<std::string> errors;
  std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowHelpTest, F1AndTheHelpCommandOpenTheContents) {
  ASSERT_NE(GetFocus(), nullptr);
  PressKey(kF1);
  EXPECT_EQ(help.sections, std::vector<std::string>{kHelpContents});
  window->RunCommand(IDM_HELP);
  EXPECT_EQ(help.sections, (std::vector<std::string>{kHelpContents, kHelpContents}));
}

// A dialog open over the main window takes F1 before the window's accelerator does, also with
// the focus on a control of one of its tab pages.
TEST_F(MainWindowHelpTest, F1InTheSettingsOpensTheirSectionFromATabPage) {
  TfOptions form;
  bool focusInPage = false;
  ModalWatcher watcher([&](HWND dialog) {
    HWND control = FirstControlOfAPage(dialog);
    focusInPage = control != nullptr;
    if (control) SetFocus(control);
    PressKey(kF1);
    PressDialogButton(dialog, IDCANCEL);
  });
  form.DoModal(window->Handle());
  EXPECT_EQ(watcher.Seen(), 1);
  EXPECT_TRUE(focusInPage);
  EXPECT_EQ(help.sections, std::vector<std::string>{"TfOptions"});
}

TEST(HelpDocument, HasASectionForTheMainWindowAndEveryDialog) {
  const std::string document = EmbeddedHelpDocument();
  TfAbout about;
  TfAddSystemFile addSystemFile;
  TfCompare compare;
  TfConfirm confirm;
  TErrorFRM error(ErrorReport{});
  TfExpForm exportSelection;
  TfFileNameInput fileNameInput;
  TfOptions options;
  TfRestoreAll restoreAll;
  TfSharedFile sharedFile;
  FileDeletionState deletion;
  TfTempfiles tempFiles(TempFilesContext{"", "", &deletion});
  TTempfiles2FRM searchDefinition;
  TfDouble duplicates(DuplicatesContext{"", "", &deletion});
  TDLLBackUpFRM fileBackup(FileBackupContext{});
  TfWizard stepWizard(WizardHost{}, "");
  TWizard2FRM installWizard(WizardHost{}, "");
  TWelcomeFRM welcome("", nullptr);
  TDelExistingFRM remover(DelExistingContext{"", "", &deletion});
  TDelFontsFRM deleteFonts(DeleteFontsContext{"", "", &deletion});
  const Dialog* dialogs[] = {&about,           &addSystemFile,    &compare,       &confirm,    &error,
                             &exportSelection, &fileNameInput,    &options,       &restoreAll, &sharedFile,
                             &tempFiles,       &searchDefinition, &duplicates,    &fileBackup, &stepWizard,
                             &remover,         &deleteFonts,      &installWizard, &welcome};
  std::vector<std::string> sections{"TMainForm"};
  for (const Dialog* dialog : dialogs) sections.push_back(dialog->HelpSection());
  for (const std::string& section : sections)
    EXPECT_NE(document.find("id=\"" + section + "\""), std::string::npos) << section;
  // The pictures travel inside the document: a browser opens it from a temp folder alone.
  EXPECT_NE(document.find("src=\"data:image/png;base64,"), std::string::npos);
  EXPECT_EQ(document.find("src=\"images/"), std::string::npos);
}

TEST(HelpFiles, WrittenOnceEachWithARedirectToTheSection) {
  const std::string folder = TestFolder("HelpFilesTest");
  EmptyFolder(folder);
  const std::string documentPath = folder + kHelpFileName;

  EXPECT_EQ(WriteHelpFiles(folder, "<p>first</p>", kHelpContents), documentPath);
  const std::string page = WriteHelpFiles(folder, "<p>first</p>", "TfOptions");
  EXPECT_EQ(page, folder + "Quorvel-help-TfOptions.html");
  EXPECT_NE(ReadWholeFile(page).find("<meta http-equiv=\"refresh\" content=\"0; url=Quorvel-help.html#TfOptions\">"),
            std::string::npos)
      << ReadWholeFile(page);

  // The same content again: the file is left alone (its old time stays), no second copy appears.
  SetOldWriteTime(documentPath);
  const FILETIME before = WriteTime(documentPath);
  WriteHelpFiles(folder, "<p>first</p>", "TfOptions");
  const FILETIME after = WriteTime(documentPath);
  EXPECT_EQ(CompareFileTime(&before, &after), 0);
  EXPECT_EQ(FilesIn(folder).size(), 2u);

  // Another content (a newer program): rewritten, shorter than before.
  WriteHelpFiles(folder, "<p>2</p>", kHelpContents);
  EXPECT_EQ(ReadWholeFile(documentPath), "<p>2</p>");
  EXPECT_EQ(FilesIn(folder).size(), 2u);

  // A section is a class name, never a path.
  EXPECT_THROW(WriteHelpFiles(folder, "<p>2</p>", "..\\x"), Exception);
  EmptyFolder(folder);
}

TEST(HelpViewer, OpensTheFileOrNamesItInTheError) {
  const std::string folder = TestFolder("HelpViewerTest");
  EmptyFolder(folder);
  std::vector<std::string> opened;
  auto opens = [&](const std::string& path, std::string&) {
    opened.push_back(path);
    return true;
  };
  auto fails = [&](const std::string& path, std::string& reason) {
    opened.push_back(path);
    reason = "No web browser is set up to open HTML files.";
    return false;
  };

  ScriptedInteraction ui;
  ShowHelp("TfCompare", "<p>help</p>", folder, opens, ui);
  EXPECT_EQ(opened, std::vector<std::string>{folder + "Quorvel-help-TfCompare.html"});
  EXPECT_TRUE(ui.messages.empty());

  ShowHelp(kHelpContents, "<p>help</p>", folder, fails, ui);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].type, MsgType::Error);
  EXPECT_EQ(ui.messages[0].text,
            "The help could not be opened in a web browser.\rNo web browser is set up to open "
            "HTML files.\rOpen the file " +
                folder + kHelpFileName + " in a web browser by hand.");

  // A folder that cannot be made (a file is in the way): nothing is opened, the error names it.
  const std::string blocked = folder + "blocked";
  HANDLE file = CreateFileA(blocked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(file);
  opened.clear();
  ShowHelp(kHelpContents, "<p>help</p>", blocked + "\\", opens, ui);
  EXPECT_TRUE(opened.empty());
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_NE(ui.messages[1].text.find(blocked + "\\"), std::string::npos) << ui.messages[1].text;
  DeleteFileA(blocked.c_str());
  EmptyFolder(folder);
}

TEST(AboutDialog, ShowsTheVersionResourceAndTheBuildAndClosesByKeys) {
  InitControlsForTests();
  RecordedHelpRequests help;
  const char* architecture = sizeof(void*) == 8 ? "x64" : "x86";
  struct Case {
    const char* name;
    UINT key;
  };
  for (const Case& test : {Case{"Enter", VK_RETURN}, Case{"Escape", VK_ESCAPE}}) {
    std::vector<std::string> texts;
    bool closed = false;
    ModalWatcher watcher([&](HWND dialog) {
      texts = ChildTexts(dialog);
      PressKey(kF1);
      PressKey({test.key});
      closed = !IsWindowVisible(dialog);
      if (!closed) PressDialogButton(dialog, IDCANCEL);
    });
    RunAboutDialog(nullptr);
    EXPECT_EQ(watcher.Seen(), 1) << test.name;
    EXPECT_TRUE(closed) << test.name;
    auto has = [&](const std::string& text) { return std::find(texts.begin(), texts.end(), text) != texts.end(); };
    EXPECT_TRUE(has("Quorvel")) << test.name;
    // res/Quorvel.rc's FILEVERSION, read back from this test program's own resources.
    EXPECT_TRUE(has("Version 1.0.0.0")) << test.name;
    // The link date, which the program file's own time matches.
    EXPECT_TRUE(has("Built " + DateText(OwnFileTime()) + " for " + architecture)) << test.name;
    EXPECT_TRUE(has(std::string("Records: ") + RecordedView())) << test.name;
  }
  EXPECT_EQ(help.sections, (std::vector<std::string>{"TfAbout", "TfAbout"}));
}

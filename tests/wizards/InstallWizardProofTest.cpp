// The install wizard's whole cycle as a user goes through it at the screen: the wizard opened
// from the toolbar, its pages turned with the keyboard and its buttons clicked with the mouse,
// every question of the program read and answered with the keyboard (the log's name typed into
// the file dialog). An "installation" of registry keys and values, files and folders and
// WIN.INI entries happens where the user switches to the explorer; after the compare and the
// automatic deinstallation the machine must be as it was before. Once straight through, once
// with the program quit after the installation and started again, where the wizard must resume
// at the install step.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cctype>
#include <memory>

#include "app/ErrorReporting.h"
#include "app/MainWindow.h"
#include "app/Settings.h"
#include "core/CheckStates.h"
#include "platform/TMyRegistry.h"
#include "res/resource.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/KeyboardInput.h"
#include "tests/app/ModalWatcher.h"
#include "tests/capture/TestFolder.h"
#include "tests/roundtrip/MachineChanges.h"
#include "tests/roundtrip/MachineSnapshot.h"
#include "ui/MessagePump.h"
#include "wizards/InstallWizardPages.h"

namespace {

using namespace machine;

constexpr const char* kExePath = "C:\\QuorvelWizardProof.exe";
constexpr const char* kSettingsKey = "Software\\VXN\\QuorvelWizardProof";
constexpr const char* kSettingsPath = "Software\\VXN\\QuorvelWizardProof\\1.0";
constexpr const char* kKey = "QuorvelWizardProof";  // below HKEY_CURRENT_CONFIG
constexpr const char* kFolderName = "QuorvelWizardProof";
constexpr const char* kFolder = "C:\\QuorvelWizardProof\\";
constexpr const char* kSection = "QuorvelWizardProof";
constexpr const char* kNewSection = "QuorvelWizardProofNew";
constexpr const char* kLogName = "wizardproof";

// What the installation meets: values it changes and deletes, a file it changes and a folder it
// deletes, entries of WIN.INI it changes and deletes; and the copies of that file and folder
// in the program's file backup folder, from which the undo brings them back.
void PrepareMachine(const std::string& programFolder) {
  const std::string existing = std::string(kKey) + "\\Existing";
  SetText(HKEY_CURRENT_CONFIG, existing, "Changed", "before");
  SetText(HKEY_CURRENT_CONFIG, existing, "Deleted", "going");
  MakeFolder(kFolder);
  WriteFileText(std::string(kFolder) + "kept.txt", "stays as it is\r\n");
  WriteFileText(std::string(kFolder) + "changed.txt", "the original text\r\n");
  MakeFolder(std::string(kFolder) + "Emptied");
  std::string backup = programFolder + "DLLBackup\\";
  for (const char* part : {"", "C\\", "QuorvelWizardProof\\"}) MakeFolder(backup += part);
  MakeFolder(backup + "Emptied");
  Check(CopyFileA((std::string(kFolder) + "changed.txt").c_str(), (backup + "changed.txt").c_str(), FALSE) != FALSE,
        "backup copy");
  SetIniEntry(kSection, "Changed", "before");
  SetIniEntry(kSection, "Deleted", "going");
}

void Install() {
  const std::string fresh = std::string(kKey) + "\\Installed";
  SetText(HKEY_CURRENT_CONFIG, fresh, "", "unnamed value");
  SetDword(HKEY_CURRENT_CONFIG, fresh, "Number", 42);
  SetValue(HKEY_CURRENT_CONFIG, fresh, "Multi", REG_MULTI_SZ, std::string("one\0two\0\0", 9));
  SetText(HKEY_CURRENT_CONFIG, fresh + "\\Sub", "Deep", "below");
  const std::string existing = std::string(kKey) + "\\Existing";
  SetText(HKEY_CURRENT_CONFIG, existing, "Changed", "after");
  DeleteValue(HKEY_CURRENT_CONFIG, existing, "Deleted");

  const std::string folder = kFolder;
  MakeFolder(folder + "NewFolder");
  WriteFileText(folder + "NewFolder\\readme.txt", "installed\r\n");
  WriteFileText(folder + "program.exe", "MZ installed program");
  WriteFileText(folder + "changed.txt", "the installation's text, longer than before\r\n");
  Check(RemoveDirectoryA((folder + "Emptied").c_str()) != FALSE, "remove folder");

  SetIniEntry(kNewSection, "Entry", "new section");
  SetIniEntry(kSection, "New", "added");
  SetIniEntry(kSection, "Changed", "after");
  SetIniEntry(kSection, "Deleted", nullptr);
}

void CleanMachine() {
  RegDeleteTreeA(HKEY_CURRENT_CONFIG, kKey);
  for (const char* file : {"kept.txt", "changed.txt", "program.exe", "NewFolder\\readme.txt"})
    DeleteFileA((std::string(kFolder) + file).c_str());
  for (const char* folder : {"NewFolder", "Emptied", ""}) RemoveDirectoryA((std::string(kFolder) + folder).c_str());
  for (const char* section : {kSection, kNewSection})
    WritePrivateProfileStringA(section, nullptr, nullptr, WinIni().c_str());
}

std::string ReadWholeText(const std::string& path) {
  std::string text;
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
  CloseHandle(file);
  return text;
}

// The watched parts of the machine: the test key, the test folder and the whole of WIN.INI.
std::vector<std::string> MachineState() {
  std::vector<std::string> lines;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_CONFIG, kKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
    DumpKey(key, std::string("HKEY_CURRENT_CONFIG\\") + kKey, lines);
    RegCloseKey(key);
  }
  DumpFolder(kFolder, lines);
  std::sort(lines.begin(), lines.end());
  lines.push_back("WIN.INI:\n" + ReadWholeText(WinIni()));
  return lines;
}

// The selection a user would have made: HKEY_CURRENT_CONFIG, the test folder of drive C: and
// WIN.INI; kept as the default selection when the program closes.
void SelectWatchedParts(Session& session) {
  SelectOnlyCurrentConfig(session);
  SelectionTrees trees = session.Selection();
  TreeNode* drives = trees.drives.FirstTop();
  ASSERT_NE(drives, nullptr);
  TreeNode* driveC = nullptr;
  for (size_t i = 0; i < drives->Count(); ++i)
    if (drives->Child(i)->Text().rfind("C:", 0) == 0) driveC = drives->Child(i);
  ASSERT_NE(driveC, nullptr);
  trees.drives.Expand(driveC);
  TreeNode* folder = nullptr;
  for (size_t i = 0; i < driveC->Count(); ++i)
    if (_stricmp(driveC->Child(i)->Text().c_str(), kFolderName) == 0) folder = driveC->Child(i);
  ASSERT_NE(folder, nullptr);
  SetNodeChecked(*folder, true);
  UpdateAncestors(*folder);
  TreeNode* winIni = FindTreeNodeByPath("WIN.INI", trees.systemFiles, false);
  ASSERT_NE(winIni, nullptr);
  SetNodeChecked(*winIni, true);
  UpdateAncestors(*winIni);
  session.State().selectionChanged = true;
}

void PostKey(HWND target, UINT key) {
  const LPARAM down = 1 | static_cast<LPARAM>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16;
  PostMessageA(target, WM_KEYDOWN, key, down);
  PostMessageA(target, WM_KEYUP, key, down | LPARAM{3} << 30);
}

// The user at the screen while the program works: whenever one of its windows waits for an
// answer (a message box, a file dialog, a confirmation), the user reads it and answers with
// the keyboard. The keys are queued for the window's own modal loop, as the keyboard queues
// them. Every window read is kept as "caption: texts".
class ScreenUser {
 public:
  ScreenUser() {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 30, Tick);
  }
  ~ScreenUser() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  ScreenUser(const ScreenUser&) = delete;
  ScreenUser& operator=(const ScreenUser&) = delete;

  std::vector<std::string> seen;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (current_) current_->Look();
  }

  void Look() {
    HWND window = GetActiveWindow();
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (!window || std::string(className) != "#32770" || !IsWindowVisible(window)) return;
    const std::string caption = WindowText(window);
    // The wizards are no question; the user works them from the test's own steps.
    if (caption.find("Startpage") != std::string::npos) return;
    HWND focus = GetFocus();
    if (!focus || (focus != window && !IsChild(window, focus))) focus = window;
    HWND execute = FindButton(window, "&Execute");
    const std::string state =
        caption + (execute && IsWindowEnabled(execute) ? "|to execute" : "") + "|" + WindowText(focus);
    // Each look at a window's state answers once; the keys take a moment to arrive.
    if (window == answered_ && state == answeredState_) return;
    answered_ = window;
    answeredState_ = state;
    // The log's name typed into a file dialog; opening it, the user names the whole file.
    std::string name;
    if (caption.find("Save a log file.") != std::string::npos) name = kLogName;
    if (caption.find("Load Log File") != std::string::npos) name = std::string(kLogName) + ".sxl";
    const bool fileDialog = !name.empty();
    if (fileDialog && _stricmp(WindowText(focus).c_str(), name.c_str()) != 0) {
      // The name first; its characters are made from the keys when they arrive, so Enter
      // follows at the next look.
      seen.push_back(caption);
      SendMessageA(focus, EM_SETSEL, 0, -1);
      for (char letter : name) PostKey(focus, letter == '.' ? VK_OEM_PERIOD : static_cast<UINT>(toupper(letter)));
      return;
    }
    if (!fileDialog) {
      std::string texts;
      for (const std::string& text : ChildTexts(window))
        if (!text.empty()) texts += (texts.empty() ? "" : " / ") + text;
      seen.push_back(caption + ": " + texts);
    }
    // Enter takes the default button: OK, Yes, Save, Open, Execute, then Close once executed.
    PostKey(focus, VK_RETURN);
  }

  static HWND FindButton(HWND window, const char* caption) {
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (WindowText(child) == caption) return child;
    return nullptr;
  }

  static inline ScreenUser* current_ = nullptr;
  UINT_PTR timer_ = 0;
  HWND answered_ = nullptr;
  std::string answeredState_;
};

// A click of the left mouse button in the middle of a control, as the mouse driver queues it.
void ClickAt(HWND control, POINT point) {
  const LPARAM at = MAKELPARAM(point.x, point.y);
  PostMessageA(control, WM_MOUSEMOVE, 0, at);
  PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(control, WM_LBUTTONUP, 0, at);
  MessagePump::RunPending();
}

void Click(HWND button) {
  ASSERT_TRUE(IsWindowVisible(button) && IsWindowEnabled(button)) << WindowText(button);
  RECT rect;
  GetClientRect(button, &rect);
  ClickAt(button, {rect.right / 2, rect.bottom / 2});
}

void ClickToolButton(MainWindow& window, int command) {
  HWND toolbar = window.Control("Toolbar");
  RECT rect{};
  ASSERT_TRUE(SendMessageA(toolbar, TB_GETRECT, command, reinterpret_cast<LPARAM>(&rect)));
  ClickAt(toolbar, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

// One run of the program: its settings, its session and its main window, started as the program
// starts (the default selection of the last run loaded) and quit through the close query.
class Program {
 public:
  Program(const std::string& folder, std::vector<std::string>& errors) : settings_(kSettingsPath, folder) {
    session_.State().exePath = kExePath;
    session_.State().programFolder = folder;
    window_ = std::make_unique<MainWindow>(session_, [&errors](HWND, const ErrorSource& source, std::exception_ptr e) {
      errors.push_back(source.ownerPath + ": " + DescribeError(e).message);
    });
    window_->Create();
    window_->LoadStartupSelection();
    window_->Show(SW_SHOWNORMAL);
    MessagePump::RunPending();
  }
  ~Program() { window_.reset(); }

  void Quit() {
    PostMessageA(window_->Handle(), WM_CLOSE, 0, 0);
    MessagePump::RunPending();
    EXPECT_FALSE(IsWindow(window_->Handle())) << "the close query kept the window";
    window_.reset();
    DrainQuitMessages();
  }

  Session& session() { return session_; }
  MainWindow& window() { return *window_; }
  TWizard2FRM& wizard() { return *window_->InstallWizard(); }

 private:
  StaticRegScope settings_;
  Session session_;
  std::unique_ptr<MainWindow> window_;
};

HWND ActionButton(Program& program, InstallWizardAction action) {
  return program.window().InstallWizard()->ActionButton(action);
}

class InstallWizardProofTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    InitControlsForTests();
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    CleanMachine();
    // No welcome window in the way: the user has seen it.
    TMyRegistry reg(HKEY_CURRENT_USER, kRegAccessReadWrite);
    ASSERT_TRUE(reg.OpenKey(kSettingsPath, true));
    reg.WriteBool("DontShowWelcome", true);
  }
  void TearDown() override {
    CleanMachine();
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    DrainQuitMessages();
  }

  class TestFolder programFolder;
  std::vector<std::string> errors;
};

TEST_P(InstallWizardProofTest, InstallCompareAndAutomaticDeinstallationLeaveTheMachineAsItWas) {
  const bool restart = GetParam();
  PrepareMachine(programFolder.Path());
  const std::vector<std::string> before = MachineState();
  ScreenUser user;
  auto program = std::make_unique<Program>(programFolder.Path(), errors);
  SelectWatchedParts(program->session());
  int installs = 0;
  auto installOnSwitch = [&](Program& p) {
    p.window().ReplaceExplorerStart([&] {
      ++installs;
      Install();
    });
  };
  installOnSwitch(*program);

  ClickToolButton(program->window(), IDM_START_WIZARD);
  ASSERT_NE(program->window().InstallWizard(), nullptr);
  EXPECT_EQ(program->wizard().Section(), WizardSection::Start);
  PressKey({VK_RETURN});  // "Install an Application" has the focus
  ASSERT_EQ(program->wizard().Section(), WizardSection::Install);
  EXPECT_EQ(program->wizard().Page(), install_wizard::kSelection);
  PressKey({'N', kAlt});  // the last selection stands, as the tip says
  ASSERT_EQ(program->wizard().Page(), install_wizard::kSaveConfiguration);
  Click(ActionButton(*program, InstallWizardAction::SaveConfiguration));
  EXPECT_TRUE(TestFolder::Exists(programFolder.Path() + "OldCFG.SXD"));
  EXPECT_TRUE(IsWindowVisible(program->wizard().Handle())) << "the wizard is back after the save";
  PressKey({'N', kAlt});
  ASSERT_EQ(program->wizard().Page(), install_wizard::kInstallNewApplication);
  Click(ActionButton(*program, InstallWizardAction::SwitchToExplorer));
  EXPECT_EQ(installs, 1);
  EXPECT_TRUE(IsIconic(program->window().Handle())) << "the program makes room for the installation";

  if (restart) {
    program->Quit();
    program = std::make_unique<Program>(programFolder.Path(), errors);
    ClickToolButton(program->window(), IDM_START_WIZARD);
    ASSERT_NE(program->window().InstallWizard(), nullptr);
  } else {
    // Back from the installation: the user brings the program up again.
    ShowWindow(program->window().Handle(), SW_RESTORE);
    program->wizard().Present();
  }
  ASSERT_EQ(program->wizard().Section(), WizardSection::Install);
  ASSERT_EQ(program->wizard().Page(), install_wizard::kInstallNewApplication);
  PressKey({'N', kAlt});
  ASSERT_EQ(program->wizard().Page(), install_wizard::kCreateLogFile);
  Click(ActionButton(*program, InstallWizardAction::CreateLogFile));
  const std::string log = programFolder.Path() + kLogName + ".SXL";
  // The file dialog adds the extension in the case it likes.
  ASSERT_EQ(_stricmp(program->session().State().currentLogFile.c_str(), log.c_str()), 0)
      << program->session().State().currentLogFile << ": the compare wrote the log the user named";
  EXPECT_EQ(program->wizard().Section(), WizardSection::Start);

  // The deinstallation with the log, loaded anew as a user would days later.
  ClickToolButton(program->window(), IDM_REMOVE_APPLICATION);
  ASSERT_EQ(program->wizard().Section(), WizardSection::Uninstall);
  Click(ActionButton(*program, InstallWizardAction::LoadLogFile));
  EXPECT_EQ(_stricmp(program->session().State().currentLogFile.c_str(), log.c_str()), 0);
  PressKey({'N', kAlt});
  ASSERT_EQ(program->wizard().Page(), install_wizard::kRestorePrevious);
  Click(ActionButton(*program, InstallWizardAction::AutomaticDeinstallation));

  std::string conversation;
  for (const std::string& window : user.seen) conversation += window + "\n";
  EXPECT_EQ(MachineState(), before) << "the program asked:\n" << conversation;
  EXPECT_EQ(errors, std::vector<std::string>{});
  for (const char* expected : {"Configuration stored.\rSelect Next to continue.", "Save a log file.",
                               "Configuration stored.\r     Deinstall procedure completed.\r", "Load Log File",
                               "Log file loaded.\rSelect Next to continue.", "Restore All", "Confirm Restore",
                               "File already exists in destination folder.\rC:\\QuorvelWizardProof\\changed.txt"})
    EXPECT_NE(conversation.find(expected), std::string::npos) << expected << " in\n" << conversation;
  program->Quit();
}

INSTANTIATE_TEST_SUITE_P(StraightAndWithARestart, InstallWizardProofTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("RestartAfterInstalling") : std::string("Straight");
                         });

}  // namespace

#include "wizards/InstallWizardWindow.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/ErrorReporting.h"
#include "app/MainWindow.h"
#include "app/Settings.h"
#include "core/CheckStates.h"
#include "core/ScriptedInteraction.h"
#include "platform/TMyRegistry.h"
#include "res/resource.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ModalWatcher.h"
#include "tests/capture/TestFolder.h"
#include "wizards/InstallWizardWindowIds.h"
#include "wizards/WelcomeDialogIds.h"

namespace {

using namespace install_wizard;

constexpr const char* kExePath = "C:\\QuorvelWizard2Test.exe";
constexpr const char* kSettingsKey = "Software\\VXN\\QuorvelWizard2Test";
constexpr const char* kSettingsPath = "Software\\VXN\\QuorvelWizard2Test\\1.0";

int StoredInteger(const char* name) {
  TMyRegistry reg;
  return reg.OpenKey(kSettingsPath, false) && reg.ValueExists(name) ? reg.ReadInteger(name) : -1;
}

void StoreInteger(const char* name, int value) {
  TMyRegistry reg(HKEY_CURRENT_USER, kRegAccessReadWrite);
  ASSERT_TRUE(reg.OpenKey(kSettingsPath, true));
  reg.WriteInteger(name, value);
}

// The program's main window as a start makes it, with the main window's questions answered by
// answers; the wizards' own message boxes are real, and the watcher reads and closes them.
class InstallWizardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitControlsForTests();
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    session.State().exePath = kExePath;
    session.State().programFolder = programFolder.Path();
    settings = std::make_unique<StaticRegScope>(kSettingsPath, programFolder.Path());
    Start();
  }
  void TearDown() override {
    window.reset();
    settings.reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    DrainQuitMessages();
  }

  // A new main window, as at the next start of the program.
  void Start() {
    window.reset();
    DrainQuitMessages();
    window = std::make_unique<MainWindow>(session, [this](HWND, const ErrorSource& source, std::exception_ptr e) {
      errors.push_back(source.ownerPath + ": " + DescribeError(e).message);
    });
    ASSERT_NE(window->Create(), nullptr);
    window->LoadStartupSelection();
    SelectOnlyCurrentConfig(session);
    window->AnswerUnattended(&answers);
    window->ReplaceExplorerStart([this] { ++explorerStarts; });
  }

  TWizard2FRM& Wizard() { return *window->InstallWizard(); }
  void Click(int id) { SendMessageA(Wizard().Item(id), BM_CLICK, 0, 0); }
  void Click(InstallWizardAction action) { SendMessageA(Wizard().ActionButton(action), BM_CLICK, 0, 0); }
  bool WizardVisible() { return window->InstallWizard() && IsWindowVisible(Wizard().Handle()); }

  class TestFolder programFolder;
  Session session;
  std::unique_ptr<StaticRegScope> settings;
  std::unique_ptr<MainWindow> window;
  ScriptedInteraction answers;
  std::vector<std::string> errors;
  int explorerStarts = 0;
  // The texts of the message boxes the wizard showed, each closed with its first button.
  std::vector<std::string> boxes;
  ModalWatcher watcher{[this](HWND dialog) {
    for (const std::string& text : ChildTexts(dialog))
      if (!text.empty() && text != "OK") boxes.push_back(text);
    PressDialogButton(dialog, IDOK);
  }};
};

TEST_F(InstallWizardTest, TheInstallStepIsResumedAtTheNextStartUntilTheUserMovesOn) {
  window->RunCommand(IDM_INSTALL_APPLICATION);
  ASSERT_TRUE(WizardVisible());
  EXPECT_EQ(Wizard().Section(), WizardSection::Install);
  EXPECT_EQ(Wizard().Page(), kSelection);
  EXPECT_FALSE(Wizard().Item(IDC_IW_BACK).IsEnabled());
  Click(IDC_IW_NEXT);
  Click(IDC_IW_NEXT);
  ASSERT_EQ(Wizard().Page(), kInstallNewApplication);
  Click(InstallWizardAction::SwitchToExplorer);
  EXPECT_EQ(explorerStarts, 1);
  EXPECT_TRUE(IsIconic(window->Handle()));
  EXPECT_EQ(StoredInteger("Wizard2InInstall"), 1);

  Start();
  window->RunCommand(IDM_START_WIZARD);
  EXPECT_EQ(Wizard().Section(), WizardSection::Install);
  EXPECT_EQ(Wizard().Page(), kInstallNewApplication);
  EXPECT_EQ(StoredInteger("Wizard2InInstall"), 1) << "opening at the step changes nothing";
  Click(IDC_IW_NEXT);
  EXPECT_EQ(Wizard().Page(), kCreateLogFile);
  EXPECT_FALSE(Wizard().Item(IDC_IW_NEXT).IsEnabled()) << "the section's last page";
  EXPECT_EQ(StoredInteger("Wizard2InInstall"), 0);

  Start();
  window->RunCommand(IDM_START_WIZARD);
  EXPECT_EQ(Wizard().Section(), WizardSection::Start);

  // "&Close" leaves the install state as well; the window is kept for the next call.
  StoreInteger("Wizard2InInstall", 1);
  Start();
  window->RunCommand(IDM_START_WIZARD);
  ASSERT_EQ(Wizard().Page(), kInstallNewApplication);
  const HWND kept = Wizard().Handle();
  Click(IDC_IW_CLOSE);
  EXPECT_FALSE(WizardVisible());
  EXPECT_EQ(StoredInteger("Wizard2InInstall"), 0);
  window->RunCommand(IDM_REMOVE_APPLICATION);
  EXPECT_EQ(Wizard().Handle(), kept);
  EXPECT_EQ(Wizard().Section(), WizardSection::Uninstall);
  EXPECT_TRUE(errors.empty());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(InstallWizardTest, WithoutALogTheUninstallStepsSaySoAndDoNothing) {
  window->RunCommand(IDM_REMOVE_APPLICATION);
  ASSERT_EQ(Wizard().Page(), kLoadLogFile);
  answers.fileChoices = {""};  // the user cancels the file dialog
  Click(InstallWizardAction::LoadLogFile);
  EXPECT_TRUE(WizardVisible());
  Click(IDC_IW_NEXT);
  ASSERT_EQ(Wizard().Page(), kRestorePrevious);
  Click(InstallWizardAction::AutomaticDeinstallation);
  EXPECT_TRUE(WizardVisible());
  EXPECT_EQ(boxes, (std::vector<std::string>{"No log file loaded!", "Please load a log file first!"}));
  EXPECT_TRUE(errors.empty());
  EXPECT_FALSE(session.HasLog());
}

TEST_F(InstallWizardTest, AutomaticSelectionChoosesTheDefaultSelection) {
  window->RunCommand(IDM_INSTALL_APPLICATION);
  session.State().selectionChanged = false;
  Click(InstallWizardAction::AutomaticSelection);
  TreeModel& registry = session.Selection().registry;
  EXPECT_NE(FindTreeNode({"My Computer", "HKEY_LOCAL_MACHINE"}, registry)->StateIndex(), kStateUnchecked);
  EXPECT_EQ(FindTreeNode({"My Computer", "HKEY_USERS"}, registry)->StateIndex(), kStateChecked);
  EXPECT_EQ(FindTreeNode({"My Computer", "HKEY_CLASSES_ROOT"}, registry)->StateIndex(), kStateUnchecked);
  EXPECT_EQ(session.Selection().systemFiles.FirstTop()->StateIndex(), kStateChecked);
  EXPECT_TRUE(session.State().selectionChanged);
  EXPECT_EQ(boxes, std::vector<std::string>{"Automatic selection complete.\rSelect Next to continue."});

  // "Select Manually" leaves the wizard for the main window's registry selection.
  Click(InstallWizardAction::SelectManually);
  EXPECT_FALSE(WizardVisible());
  EXPECT_EQ(TabCtrl_GetCurSel(window->Control("PageControl")), 0);
}

// A compare that fails is reported as from the menu, and the step is not taken as done.
TEST_F(InstallWizardTest, ACompareThatFailsLeavesTheWizardAtItsStep) {
  window->RunCommand(IDM_INSTALL_APPLICATION);
  Wizard().ShowSection(WizardSection::Install, kCreateLogFile);
  answers.fileChoices = {programFolder.Path() + "never.SXL"};
  Click(InstallWizardAction::CreateLogFile);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("MainForm\\CreateLogfileMNU: ", 0), 0u) << errors[0];
  EXPECT_TRUE(WizardVisible());
  EXPECT_EQ(Wizard().Page(), kCreateLogFile);
  EXPECT_TRUE(boxes.empty()) << boxes[0];
}

TEST_F(InstallWizardTest, TheWelcomeOpensTheWizardAndRemembersItsBox) {
  ASSERT_TRUE(window->ShowWelcome());
  std::vector<bool> ticked;
  ModalWatcher welcome([&](HWND dialog) {
    ticked.push_back(IsDlgButtonChecked(dialog, IDC_WELCOME_DONT_SHOW) == BST_CHECKED);
    if (ticked.size() == 1) {
      EXPECT_EQ(WindowText(dialog), "Quorvel - Welcome");
      EXPECT_TRUE(HasChildText(dialog, "Start New Wizard"));
      SendDlgItemMessageA(dialog, IDC_WELCOME_DONT_SHOW, BM_CLICK, 0, 0);
      PressDialogButton(dialog, IDYES);
    } else {
      PressDialogButton(dialog, IDCANCEL);
    }
  });
  window->GreetAtStart();
  EXPECT_TRUE(WizardVisible()) << "Start New Wizard opens the wizard";
  EXPECT_EQ(Wizard().Section(), WizardSection::Start);
  EXPECT_EQ(StoredInteger("DontShowWelcome"), 1);

  Start();
  EXPECT_FALSE(window->ShowWelcome());
  window->GreetAtStart();
  EXPECT_EQ(ticked.size(), 1u) << "not shown at the start again";
  window->RunCommand(IDM_WELCOME_SCREEN);
  EXPECT_EQ(ticked, (std::vector<bool>{false, true})) << "the menu still shows it, with its box ticked";
  EXPECT_EQ(window->InstallWizard(), nullptr) << "Close opens no wizard";
  EXPECT_EQ(StoredInteger("DontShowWelcome"), 1);
}

TEST_F(InstallWizardTest, TheCloseQueryClosesTheWizardsAndNoneOutlivesTheWindow) {
  window->RunCommand(IDM_STEP_WIZARD);
  window->RunCommand(IDM_START_WIZARD);
  ASSERT_NE(window->StepWizard(), nullptr);
  const HWND wizard = Wizard().Handle();
  // The user cancels the close at the question about the selection.
  session.State().selectionChanged = true;
  HANDLE last =
      CreateFileA((programFolder.Path() + "Last.SXS").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(last);
  answers.answers = {MsgAnswer::Cancel};
  SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(IsWindow(window->Handle()));
  EXPECT_EQ(window->StepWizard(), nullptr);
  EXPECT_FALSE(IsWindowVisible(wizard));

  window->RunCommand(IDM_START_WIZARD);
  EXPECT_EQ(Wizard().Handle(), wizard) << "kept as it was";
  answers.answers = {MsgAnswer::No};
  SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(wizard));
  EXPECT_TRUE(errors.empty());
}

}  // namespace

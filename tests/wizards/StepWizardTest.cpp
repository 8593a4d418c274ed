#include "wizards/StepWizardWindow.h"

#include <gtest/gtest.h>

#include "app/ErrorReporting.h"
#include "app/MainWindow.h"
#include "app/Settings.h"
#include "core/CheckStates.h"
#include "core/Errors.h"
#include "core/ScriptedInteraction.h"
#include "platform/TMyRegistry.h"
#include "res/resource.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/KeyboardInput.h"
#include "tests/app/ModalWatcher.h"
#include "tests/capture/TestFolder.h"
#include "wizards/StepWizardWindowIds.h"

namespace {

constexpr const char* kExePath = "C:\\QuorvelWizardTest.exe";
constexpr const char* kSettingsKey = "Software\\VXN\\QuorvelWizardTest";
constexpr const char* kSettingsPath = "Software\\VXN\\QuorvelWizardTest\\1.0";

void StoreChapter(const DWORD* chapter) {
  RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
  if (chapter) {
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsPath, "WizardChapter", REG_DWORD, chapter, sizeof *chapter),
              ERROR_SUCCESS);
  }
}

int StoredChapter() {
  TMyRegistry reg;
  return reg.OpenKey(kSettingsPath, false) && reg.ValueExists("WizardChapter") ? reg.ReadInteger("WizardChapter") : -1;
}

class StepWizardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitControlsForTests();
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
  }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    DrainQuitMessages();
  }
};

TEST_F(StepWizardTest, TheChapterIsReadBackAndOnlyAChapterCounts) {
  const DWORD three = 3, zero = 0, nine = 9;
  const struct {
    const DWORD* stored;
    int chapter;
  } cases[] = {{nullptr, 1}, {&three, 3}, {&zero, 1}, {&nine, 1}};
  for (const auto& c : cases) {
    StoreChapter(c.stored);
    EXPECT_EQ(StepWizardCourse(kSettingsPath).Chapter(), c.chapter) << (c.stored ? *c.stored : 0);
  }
  StepWizardCourse course(kSettingsPath);
  course.CommandDone();
  course.Save();
  EXPECT_EQ(StoredChapter(), 2);
}

TEST_F(StepWizardTest, SaveAndCompareChaptersAreSkippedOnlyWhenTheUserAgrees) {
  StepWizardCourse course(kSettingsPath);
  ScriptedInteraction ui;
  course.Advance(ui);  // 1 asks nothing
  ASSERT_EQ(course.Chapter(), 2);
  EXPECT_TRUE(ui.messages.empty());
  ui.answers = {MsgAnswer::No};
  try {
    course.Advance(ui);
    FAIL() << "declining the skip must stop";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Please click the button to execute operation #2!");
  }
  EXPECT_EQ(course.Chapter(), 2);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Skip operation #2?");
  ui.answers = {MsgAnswer::Yes};
  course.Advance(ui);
  EXPECT_EQ(course.Chapter(), 3);

  EXPECT_EQ(StepWizardCourse::HintLines(1),
            (std::vector<std::string>{"Click the check boxes to select items.",
                                      "Click \"+\" symbols to expand items. Click Sheets tab for drives and the system "
                                      "files display.",
                                      "", "Click the CheckBox when done !!!"}));
  EXPECT_EQ(StepWizardCourse::HintLines(6), std::vector<std::string>{"The Wizard has completed the procedure!"});
}

// The whole course from the toolbar button, as a user clicks it: the boxes, the save and the
// compare run by the chapters' buttons, a close in chapter 3 and a new wizard that goes on there.
TEST_F(StepWizardTest, TheCourseRunsTheMainWindowsCommandsAndResumesWhereItWasLeft) {
  class TestFolder programFolder;
  Session session;
  session.State().exePath = kExePath;
  session.State().programFolder = programFolder.Path();
  StaticRegScope settings(kSettingsPath, programFolder.Path());
  MainWindow window(session, [](HWND, const ErrorSource&, std::exception_ptr) {});
  ASSERT_NE(window.Create(), nullptr);
  session.BuildSelection();
  SelectOnlyCurrentConfig(session);
  // The main window's questions take their first button (Yes); the wizard's own boxes are real.
  ScriptedInteraction answers;
  answers.fileChoices = {programFolder.Path() + "wizard.SXL"};
  window.AnswerUnattended(&answers);
  std::vector<std::string> boxes;
  ModalWatcher watcher([&](HWND dialog) {
    // The wizard's own window passes by as well; only its message boxes are answered.
    if (WindowText(dialog).find("Step-by-Step Wizard") != std::string::npos) return;
    for (const std::string& text : ChildTexts(dialog))
      if (!text.empty() && text != "OK") boxes.push_back(text);
    PressDialogButton(dialog, IDOK);
  });
  const auto click = [](TfWizard& wizard, int id) { SendMessageA(wizard.Item(id), BM_CLICK, 0, 0); };
  const auto ticked = [](TfWizard& wizard, int id) { return IsDlgButtonChecked(wizard.Handle(), id) == BST_CHECKED; };

  // Ctrl+Shift+W, as the rabbit on the toolbar, which the keyboard does not reach.
  SetForegroundWindow(window.Handle());
  SetFocus(window.Handle());
  PressKey({'W', kControl | kShift});
  ASSERT_FALSE(answers.messages.empty());
  EXPECT_EQ(answers.messages[0].text,
            "The Quorvel Step-by-Step Wizard will now guide you\r through each step using the program!\r"
            "                               Continue (Y/N) ?");
  TfWizard* wizard = window.StepWizard();
  ASSERT_NE(wizard, nullptr);
  EXPECT_EQ(wizard->Chapter(), 1);
  EXPECT_TRUE(wizard->Item(IDC_WIZARD_BUTTON1).IsEnabled());
  EXPECT_FALSE(wizard->Item(IDC_WIZARD_BUTTON2).IsEnabled());

  click(*wizard, IDC_WIZARD_DONE1);
  EXPECT_EQ(wizard->Chapter(), 2);
  EXPECT_TRUE(ticked(*wizard, IDC_WIZARD_DONE1));
  click(*wizard, IDC_WIZARD_DONE2);
  EXPECT_EQ(wizard->Chapter(), 2) << "only the button finishes the save";
  EXPECT_FALSE(ticked(*wizard, IDC_WIZARD_DONE2));
  ASSERT_EQ(boxes, std::vector<std::string>{"Please click the button instead !"});

  click(*wizard, IDC_WIZARD_BUTTON2);
  EXPECT_TRUE(TestFolder::Exists(programFolder.Path() + "OldCFG.SXD"));
  EXPECT_EQ(wizard->Chapter(), 3);

  // Quit in chapter 3 (to install, perhaps to reboot); a new wizard goes on there.
  click(*wizard, IDC_WIZARD_QUIT);
  EXPECT_EQ(window.StepWizard(), nullptr);
  EXPECT_EQ(StoredChapter(), 3);
  window.RunCommand(IDM_STEP_WIZARD);
  wizard = window.StepWizard();
  ASSERT_NE(wizard, nullptr);
  EXPECT_EQ(wizard->Chapter(), 3);

  click(*wizard, IDC_WIZARD_NEXT);
  ASSERT_EQ(wizard->Chapter(), 4);
  click(*wizard, IDC_WIZARD_BUTTON4);
  EXPECT_EQ(wizard->Chapter(), 5);
  EXPECT_EQ(session.State().currentLogFile, programFolder.Path() + "wizard.SXL") << "the compare ran";

  click(*wizard, IDC_WIZARD_BUTTON5);
  EXPECT_EQ(TabCtrl_GetCurSel(window.Control("PageControl")), 1) << "the log pages show";
  click(*wizard, IDC_WIZARD_DONE5);
  EXPECT_EQ(window.StepWizard(), nullptr) << "the end of the course closes the wizard";
  EXPECT_EQ(StoredChapter(), 1);
  EXPECT_EQ(boxes, (std::vector<std::string>{"Please click the button instead !", "Review/restore your changes now!",
                                             "The Step-by-Step Wizard has completed the procedure!"}));
}

}  // namespace

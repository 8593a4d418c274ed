// The keyboard reaches every control: Tab and Shift+Tab walk the main window and the dialogs,
// Alt+letter reaches labelled controls, Space toggles check boxes (the selection trees' state
// images included), Enter and Escape close dialogs with their result, and the main window
// gives the focus back to its control when a dialog closes. Keys go through the message pump
// as the keyboard's would.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ConfirmDialog.h"
#include "app/ConfirmDialogIds.h"
#include "app/ErrorReporting.h"
#include "app/MainWindow.h"
#include "app/RestoreAllDialog.h"
#include "app/RestoreAllDialogIds.h"
#include "core/CheckStates.h"
#include "core/Errors.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/KeyboardInput.h"
#include "tests/app/ModalWatcher.h"

namespace {

constexpr int kAnyFocus = -1;
constexpr int kNoFocus = 0;

int FocusedId(HWND dialog) {
  HWND focus = GetFocus();
  return focus && IsChild(dialog, focus) ? GetDlgCtrlID(focus) : kNoFocus;
}

struct DialogRun {
  std::vector<int> focus;  // the focused control's id at the start and after each key
  bool closedByKeys = false;
  INT_PTR result = 0;
};

// Opens form modally and presses keys in it; the last key is to close it. When the keys leave
// it open, it is cancelled, so a fault fails the test instead of hanging it.
DialogRun PressKeysIn(Dialog& form, const std::vector<KeyPress>& keys, HWND owner = nullptr) {
  DialogRun run;
  ModalWatcher watcher([&](HWND dialog) {
    run.focus.push_back(FocusedId(dialog));
    for (const KeyPress& key : keys) {
      PressKey(key);
      run.focus.push_back(IsWindowVisible(dialog) ? FocusedId(dialog) : kNoFocus);
    }
    run.closedByKeys = !IsWindowVisible(dialog);
    if (!run.closedByKeys) PressDialogButton(dialog, IDCANCEL);
  });
  run.result = form.DoModal(owner);
  EXPECT_EQ(watcher.Seen(), 1);
  return run;
}

void ExpectFocus(const std::vector<int>& seen, const std::vector<int>& expected, const char* name) {
  ASSERT_EQ(seen.size(), expected.size()) << name;
  for (size_t i = 0; i < expected.size(); ++i) {
    if (expected[i] == kAnyFocus) continue;
    EXPECT_EQ(seen[i], expected[i]) << name << ", after key " << i;
  }
}

const KeyPress kTab{VK_TAB};
const KeyPress kBackTab{VK_TAB, kShift};
const KeyPress kSpace{VK_SPACE};
const KeyPress kEnter{VK_RETURN};
const KeyPress kEscape{VK_ESCAPE};
KeyPress Alt(char letter) { return {static_cast<UINT>(letter), kAlt}; }

}  // namespace

TEST(KeyboardNavigation, RestoreAllDialogByKeysAlone) {
  struct Case {
    const char* name;
    std::vector<KeyPress> keys;
    std::vector<int> focus;  // at the start, then after each key
    INT_PTR result;
    RestoreAreas areas;  // as OK took them
  };
  const int registry = IDC_RESTORE_ALL_REGISTRY, files = IDC_RESTORE_ALL_FILES, system = IDC_RESTORE_ALL_SYSTEM;
  const Case cases[] = {
      {"Tab walks every box and button and wraps; Shift+Tab goes back; Escape cancels",
       {kTab, kTab, kTab, kTab, kTab, kBackTab, kBackTab, kEscape},
       {registry, files, system, IDOK, IDCANCEL, registry, IDCANCEL, IDOK, kAnyFocus},
       IDCANCEL,
       {true, true, true}},
      {"Alt+letter toggles its box; Enter confirms",
       {Alt('F'), Alt('S'), kEnter},
       {registry, files, system, kNoFocus},
       IDOK,
       {true, false, false}},
      {"Space toggles the focused box",
       {kTab, kSpace, kEnter},
       {registry, files, files, kNoFocus},
       IDOK,
       {true, false, true}},
  };
  for (const Case& test : cases) {
    TfRestoreAll form;
    RestoreAreas chosen{};
    form.restore = [&](HWND, const RestoreAreas& areas) { chosen = areas; };
    DialogRun run = PressKeysIn(form, test.keys);
    ExpectFocus(run.focus, test.focus, test.name);
    EXPECT_TRUE(run.closedByKeys) << test.name;
    EXPECT_EQ(run.result, test.result) << test.name;
    if (test.result != IDOK) continue;
    EXPECT_EQ(chosen.registry, test.areas.registry) << test.name;
    EXPECT_EQ(chosen.files, test.areas.files) << test.name;
    EXPECT_EQ(chosen.systemFiles, test.areas.systemFiles) << test.name;
  }
}

// After Execute its button is disabled for good: Close must take Enter and Escape.
TEST(KeyboardNavigation, ConfirmDialogByKeysAlone) {
  struct Case {
    const char* name;
    std::vector<KeyPress> keys;
    std::vector<int> focus;
    bool executed;
    int flags;  // as the boxes left them
  };
  const int list = IDC_CONFIRM_LIST, execute = IDC_CONFIRM_EXECUTE;
  const int added = IDC_CONFIRM_NEW, deleted = IDC_CONFIRM_DELETED, altered = IDC_CONFIRM_ALTERED;
  const int again = IDC_CONFIRM_AGAIN;
  const Case cases[] = {
      {"Tab walks the list, the boxes and the buttons; Alt+letter reaches the list and a box",
       {kTab, kTab, kTab, kTab, kTab, kTab, kTab, Alt('R'), Alt('S'), kEscape},
       {list, added, deleted, altered, again, execute, IDCANCEL, list, deleted, list, kNoFocus},
       false,
       kRestoreAdditions | kRestoreModifications},
      {"Enter executes, then Enter closes", {kEnter, kEnter}, {list, IDCANCEL, kNoFocus}, true, kRestoreDefault},
      {"Enter executes, then Escape closes", {kEnter, kEscape}, {list, IDCANCEL, kNoFocus}, true, kRestoreDefault},
      {"After Execute, Enter from the list closes too",
       {kEnter, kTab, kEnter},
       {list, IDCANCEL, list, kNoFocus},
       true,
       kRestoreDefault},
  };
  for (const Case& test : cases) {
    TfConfirm form;
    int executingPasses = 0;
    form.runPass = [&](int, bool executing, std::vector<ToDoItem>& items) {
      executingPasses += executing;
      items.push_back({"Delete Key", "HKEY_CURRENT_USER\\Software\\Installed", "", "", executing ? "Done" : ""});
    };
    DialogRun run = PressKeysIn(form, test.keys);
    ExpectFocus(run.focus, test.focus, test.name);
    EXPECT_TRUE(run.closedByKeys) << test.name;
    EXPECT_EQ(run.result, IDCANCEL) << test.name;
    EXPECT_EQ(form.executed, test.executed) << test.name;
    EXPECT_EQ(executingPasses, test.executed ? 1 : 0) << test.name;
    EXPECT_EQ(form.flags, test.flags) << test.name;
  }
}

class MainWindowKeyboardTest : public ::testing::Test {
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

  std::string FocusedName() const {
    for (const char* name : kNames)
      if (GetFocus() == window->Control(name)) return name;
    return "(none)";
  }

  static constexpr const char* kNames[] = {"RegView", "ListView1",  "SelectionTabs", "PageControl",
                                           "LogTabs", "ResultView", "ResultValues"};
  Session session;
  std::vector<std::string> errors;
  std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowKeyboardTest, TabAndShiftTabWalkTheControlsOfThePage) {
  struct Step {
    KeyPress key;
    const char* focus;
  };
  const Step steps[] = {
      {kTab, "ListView1"},       {kTab, "SelectionTabs"},     {kTab, "PageControl"},   {kTab, "RegView"},
      {kBackTab, "PageControl"}, {kBackTab, "SelectionTabs"}, {kBackTab, "ListView1"}, {kBackTab, "RegView"},
  };
  ASSERT_EQ(FocusedName(), "RegView") << "the first control has the focus when the window is shown";
  for (const Step& step : steps) {
    PressKey(step.key);
    EXPECT_EQ(FocusedName(), step.focus);
  }
  // On the outer tab control the arrow keys change the page, and Tab walks the log page.
  PressKey(kBackTab);
  PressKey({VK_RIGHT});
  EXPECT_TRUE(window->Control("ResultView") && IsWindowVisible(window->Control("ResultView")));
  PressKey(kTab);
  EXPECT_EQ(FocusedName(), "ResultView");
}

// Space does what a click on the state image does: the model changes, the view follows, the
// selection counts as changed.
TEST_F(MainWindowKeyboardTest, SpaceTogglesTheSelectedNodesCheckBox) {
  TreeModel& registry = session.Selection().registry;
  TreeNode* node = FindTreeNode({"My Computer", "HKEY_CURRENT_USER"}, registry);
  ASSERT_NE(node, nullptr);
  TreeNode* top = node->Parent();
  HWND view = window->Control("RegView");
  SendMessageA(view, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node->ViewItem()));
  SetFocus(view);
  session.State().selectionChanged = false;
  auto shownState = [&] {
    const LRESULT state =
        SendMessageA(view, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node->ViewItem()), TVIS_STATEIMAGEMASK);
    return static_cast<int>(state >> 12);
  };

  // From a known start: nothing of the registry checked.
  SetNodeChecked(*top, false);
  ASSERT_EQ(node->StateIndex(), kStateUnchecked);
  PressKey(kSpace);
  EXPECT_EQ(node->StateIndex(), kStateChecked);
  EXPECT_EQ(shownState(), kStateChecked);
  EXPECT_EQ(top->StateIndex(), kStatePartlyChecked) << "the top follows its children as after a click";
  EXPECT_TRUE(session.State().selectionChanged);

  PressKey(kSpace);
  EXPECT_EQ(node->StateIndex(), kStateUnchecked);
  EXPECT_EQ(shownState(), kStateUnchecked);
  EXPECT_EQ(top->StateIndex(), kStateUnchecked);
  EXPECT_EQ(GetFocus(), view);
}

TEST_F(MainWindowKeyboardTest, TheFocusComesBackToItsControlWhenADialogCloses) {
  PressKey(kTab);
  ASSERT_EQ(FocusedName(), "ListView1");
  TfRestoreAll form;
  DialogRun run = PressKeysIn(form, {kEscape}, window->Handle());
  EXPECT_TRUE(run.closedByKeys);
  EXPECT_EQ(run.result, IDCANCEL);
  EXPECT_TRUE(IsWindowEnabled(window->Handle()));
  EXPECT_EQ(GetActiveWindow(), window->Handle());
  EXPECT_EQ(FocusedName(), "ListView1");
}

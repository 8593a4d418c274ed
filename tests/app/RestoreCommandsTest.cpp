#include "app/RestoreCommands.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "app/CompareCommands.h"
#include "app/ConfirmDialogIds.h"
#include "app/ErrorReporting.h"
#include "app/ExclusionCommands.h"
#include "app/MainWindow.h"
#include "app/RestoreAllDialogIds.h"
#include "app/SavedConfigRestore.h"
#include "app/Settings.h"
#include "app/SharedFileDialog.h"
#include "app/SharedFileDialogIds.h"
#include "app/Workflows.h"
#include "capture/SaveConfiguration.h"
#include "platform/TMyRegistry.h"
#include "core/CheckStates.h"
#include "core/Errors.h"
#include "core/ScriptedInteraction.h"
#include "res/resource.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ModalWatcher.h"
#include "ui/ListView.h"

namespace {

constexpr char kTestKey[] = "Software\\QuorvelRestoreCommands";
constexpr char kSettingsKey[] = "Software\\QuorvelTests\\RestoreCommands";

int RowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

// The to-do list as "operation|name|status" lines.
std::vector<std::string> ToDoRows(HWND dialog) {
  HWND list = GetDlgItem(dialog, IDC_CONFIRM_LIST);
  std::vector<std::string> rows;
  for (int row = 0; row < RowCount(list); ++row)
    rows.push_back(ListText(list, row, 0) + "|" + ListText(list, row, 2) + "|" + ListText(list, row, 4));
  return rows;
}

// Sets a box and notifies the dialog as a click does, synchronously.
void SetBox(HWND dialog, int id, bool checked) {
  SendDlgItemMessageA(dialog, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void ClickNow(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string ReadValue(const char* name) {
  char data[256] = "";
  DWORD size = sizeof data;
  if (RegGetValueA(HKEY_CURRENT_CONFIG, kTestKey, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
    return "<missing>";
  return data;
}

bool KeyExists(const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_CONFIG, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void SetValue(const char* name, const char* text) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_CONFIG, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(strlen(text) + 1));
  RegCloseKey(key);
}

void DeleteTestKey() {
  RegDeleteKeyA(HKEY_CURRENT_CONFIG, (std::string(kTestKey) + "\\Added").c_str());
  RegDeleteKeyA(HKEY_CURRENT_CONFIG, kTestKey);
}

// A baseline of the test key under HKEY_CURRENT_CONFIG, the installation's changes (a value
// changed, one deleted, one added, a subkey added), and the log of the real compare, loaded
// into the main window's result pages.
class RestoreCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitControlsForTests();
    app.programFolder = TestFolder("QuorvelRestoreCommands");
    settings = std::make_unique<StaticRegScope>(kSettingsKey, app.programFolder);
    window = std::make_unique<MainWindow>(session, [this](HWND, const ErrorSource&, std::exception_ptr error) {
      errors.push_back(DescribeError(error).message);
    });
    ASSERT_NE(window->Create(), nullptr);
    session.BuildSelection();
    SelectOnlyCurrentConfig(session);
    DeleteTestKey();
    CollectDialogErrors();
  }
  void TearDown() override {
    SetHandlerErrorHook(nullptr);
    window.reset();
    DrainQuitMessages();
    settings.reset();
    DeleteTestKey();
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    for (const char* name : {"OldCFG.SXD", "OldCFG.BAK", "NewCFG.SXD", "run.SXL"})
      DeleteFileA((app.programFolder + name).c_str());
    RemoveDirectoryA(app.programFolder.c_str());
  }

  void CollectDialogErrors() {
    SetHandlerErrorHook([this](const HandlerSource&, std::exception_ptr error) {
      dialogErrors.push_back(DescribeError(error).message);
    });
  }

  // alsoInstall makes further changes of the installation.
  void InstallAndCompare(const std::function<void()>& alsoInstall = nullptr) {
    SetValue("Changed", "old");
    SetValue("Deleted", "gone");
    ui.answers = {MsgAnswer::Yes};  // "No drives selected!"
    SaveCurrentConfiguration(session, window->Calls(), ui);
    SetValue("Changed", "new");
    SetValue("New", "added");
    HKEY key;
    RegOpenKeyExA(HKEY_CURRENT_CONFIG, kTestKey, 0, KEY_ALL_ACCESS, &key);
    RegDeleteValueA(key, "Deleted");
    RegCloseKey(key);
    HKEY added;
    RegCreateKeyExA(HKEY_CURRENT_CONFIG, (std::string(kTestKey) + "\\Added").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &added, nullptr);
    RegSetValueExA(added, "Inside", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
    RegCloseKey(added);
    if (alsoInstall) alsoInstall();

    ui.answers = {MsgAnswer::Yes};
    ui.fileChoices = {app.programFolder + "run.SXL"};
    CommandEnvironment environment = EnvironmentWith(*window, ui);
    CompareCommand(environment, false);
    ASSERT_FALSE(app.currentLogFile.empty());
  }

  TreeNode* TestKeyNode() {
    return FindTreeNodeByPath(std::string("HKEY_CURRENT_CONFIG\\") + kTestKey, session.Results().registry, false);
  }

  Session session;
  AppState& app = session.State();
  std::unique_ptr<StaticRegScope> settings;
  ScriptedInteraction ui;
  std::unique_ptr<MainWindow> window;
  std::vector<std::string> errors;
  std::vector<std::string> dialogErrors;
};

}  // namespace

TEST_F(RestoreCommandsTest, RestoreChangesListsNarrowsExecutesAndMarksTheLog) {
  InstallAndCompare();
  TreeNode* node = TestKeyNode();
  ASSERT_NE(node, nullptr);
  window->Results().Select(LogSection::Registry, node);

  std::vector<std::string> listed, withoutNew, executed, again;
  std::string caption, closeCaption;
  bool boxesEnabledAfter = true;
  ModalWatcher watcher([&](HWND dialog) {
    caption = WindowText(dialog);
    listed = ToDoRows(dialog);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CONFIRM_AGAIN), BST_UNCHECKED);
    SetBox(dialog, IDC_CONFIRM_NEW, false);
    withoutNew = ToDoRows(dialog);
    SetBox(dialog, IDC_CONFIRM_NEW, true);
    ClickNow(dialog, IDC_CONFIRM_EXECUTE);
    executed = ToDoRows(dialog);
    closeCaption = WindowText(GetDlgItem(dialog, IDCANCEL));
    boxesEnabledAfter = IsWindowEnabled(GetDlgItem(dialog, IDC_CONFIRM_NEW)) != FALSE;
    caption += " / " + WindowText(dialog);
    PressDialogButton(dialog, IDCANCEL);
  });
  window->RunCommand(IDM_RESTORE_REGISTRY);
  ASSERT_TRUE(errors.empty()) << errors.front();
  ASSERT_TRUE(dialogErrors.empty()) << dialogErrors.front();
  EXPECT_EQ(watcher.Seen(), 1);

  EXPECT_EQ(caption, "Quorvel - Confirm Restore / Quorvel - Restore completed!");
  // The added subkey (its value, then itself) goes before the key's own values; the new side of
  // a change lists nothing.
  EXPECT_EQ(listed, (std::vector<std::string>{"Delete Value|Inside|To Do", "Delete Key|Added|To Do",
                                              "Changed, restore old value.|Changed|To Do",
                                              "Restore Deleted Value|Deleted|To Do", "Delete Value|New|To Do"}));
  EXPECT_EQ(withoutNew, (std::vector<std::string>{"Changed, restore old value.|Changed|To Do",
                                                  "Restore Deleted Value|Deleted|To Do"}));
  EXPECT_EQ(executed,
            (std::vector<std::string>{"Delete Value|Inside|OK, Done", "Delete Key|Added|OK, Done",
                                      "Changed, restore old value.|Changed|OK, Done",
                                      "Restore Deleted Value|Deleted|OK, Done", "Delete Value|New|OK, Done"}));
  EXPECT_EQ(closeCaption, "&Close");
  EXPECT_FALSE(boxesEnabledAfter);

  EXPECT_EQ(ReadValue("Changed"), "old");
  EXPECT_EQ(ReadValue("Deleted"), "gone");
  EXPECT_EQ(ReadValue("New"), "<missing>");
  EXPECT_FALSE(KeyExists(std::string(kTestKey) + "\\Added"));
  EXPECT_TRUE(TestKeyNode()->Cut()) << "the walked node is shown greyed";

  // The marks are in the log: loaded again, the node offers nothing until "again" is checked.
  OpenLog(session, ui, app.currentLogFile);
  window->Results().Select(LogSection::Registry, TestKeyNode());
  std::vector<std::string> secondPass;
  ModalWatcher second([&](HWND dialog) {
    secondPass = ToDoRows(dialog);
    SetBox(dialog, IDC_CONFIRM_AGAIN, true);
    again = ToDoRows(dialog);
    PressDialogButton(dialog, IDCANCEL);
  });
  window->RunCommand(IDM_RESTORE_REGISTRY);
  EXPECT_EQ(secondPass, std::vector<std::string>{"No items to process.||"});
  EXPECT_EQ(again.size(), listed.size());
}

TEST_F(RestoreCommandsTest, RestoreChangesOfTheValueListTakesTheSelectedChangeWithBothHalves) {
  InstallAndCompare();
  TreeNode* node = TestKeyNode();
  ASSERT_NE(node, nullptr);
  window->Results().Select(LogSection::Registry, node);
  HWND values = window->Control("ResultValues");
  int oldSide = -1;
  for (int row = 0; row < RowCount(values); ++row)
    if (ListText(values, row, 0) == "Changed" && oldSide < 0) oldSide = row;
  ASSERT_GE(oldSide, 0);
  LVITEMA select{};
  select.stateMask = LVIS_SELECTED;
  select.state = LVIS_SELECTED;
  SendMessageA(values, LVM_SETITEMSTATE, oldSide, reinterpret_cast<LPARAM>(&select));

  std::vector<std::string> listed;
  int selectedInList = 0;
  ModalWatcher watcher([&](HWND dialog) {
    listed = ToDoRows(dialog);
    selectedInList = static_cast<int>(SendMessageA(values, LVM_GETSELECTEDCOUNT, 0, 0));
    ClickNow(dialog, IDC_CONFIRM_EXECUTE);
    PressDialogButton(dialog, IDCANCEL);
  });
  window->RunCommand(IDM_RESTORE_REG_VALUES);
  ASSERT_TRUE(errors.empty()) << errors.front();
  EXPECT_EQ(listed, std::vector<std::string>{"Changed, restore old value.|Changed|To Do"});
  EXPECT_EQ(selectedInList, 2) << "the new side joins the selected old side";
  EXPECT_EQ(ReadValue("Changed"), "old");
  EXPECT_EQ(ReadValue("New"), "added") << "rows that were not selected stay as they are";
  EXPECT_TRUE(KeyExists(std::string(kTestKey) + "\\Added"));
}

TEST_F(RestoreCommandsTest, RestoreChangesOfTheValueListTakesTheRecordOfTheSelectedRowNotItsShownName) {
  // Two new values the list shows by one name: the key's default value and one named so.
  InstallAndCompare([] {
    SetValue("", "data of the default value");
    SetValue("(default)", "data of the named value");
  });
  window->Results().Select(LogSection::Registry, TestKeyNode());
  ListView values = window->Control("ResultValues");
  auto rowShowing = [&](const char* data) {
    for (int row = 0; row < values.Count(); ++row)
      if (ListText(values, row, 0) == "(default)" && ListText(values, row, 1).find(data) != std::string::npos)
        return row;
    return -1;
  };
  struct Case {
    const char* data;         // of the value whose row is selected
    const char* deletedName;  // the one value the restore deletes
    const char* keptName;
  };
  const Case cases[] = {{"named value", "(default)", ""}, {"default value", "", "(default)"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data);
    const int row = rowShowing(c.data);
    ASSERT_GE(row, 0);
    for (size_t owner : values.SelectedOwners()) values.SetSelected(owner, false);
    values.SetSelected(values.OwnerOf(row), true);

    std::vector<std::string> listed;
    ModalWatcher watcher([&](HWND dialog) {
      listed = ToDoRows(dialog);
      ClickNow(dialog, IDC_CONFIRM_EXECUTE);
      PressDialogButton(dialog, IDCANCEL);
    });
    window->RunCommand(IDM_RESTORE_REG_VALUES);
    ASSERT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(listed, std::vector<std::string>{"Delete Value|(default)|To Do"});
    EXPECT_EQ(ReadValue(c.deletedName), "<missing>");
    if (&c == &cases[0]) {
      EXPECT_NE(ReadValue(c.keptName), "<missing>");  // gone in the next case
    }
  }
  EXPECT_EQ(ReadValue("New"), "added") << "rows that were not selected stay as they are";
}

TEST_F(RestoreCommandsTest, RestoreAllConfirmsEachChosenAreaInTurn) {
  InstallAndCompare();
  std::vector<std::string> captions;
  bool driveChangeBoxesVisible = true;
  std::string driveNewCaption;
  ModalWatcher watcher([&](HWND dialog) {
    const std::string caption = WindowText(dialog);
    captions.push_back(caption);
    if (caption == "Quorvel - Restore All (discard all changes)") {
      for (int id : {IDC_RESTORE_ALL_REGISTRY, IDC_RESTORE_ALL_FILES, IDC_RESTORE_ALL_SYSTEM})
        CheckDlgButton(dialog, id, BST_UNCHECKED);
      ClickNow(dialog, IDOK);  // nothing chosen: the dialog stays
      EXPECT_TRUE(IsWindowVisible(dialog));
      CheckDlgButton(dialog, IDC_RESTORE_ALL_REGISTRY, BST_CHECKED);
      CheckDlgButton(dialog, IDC_RESTORE_ALL_FILES, BST_CHECKED);
      PressDialogButton(dialog, IDOK);
    } else if (caption == "Quorvel - Confirm Restore: Registry") {
      ClickNow(dialog, IDC_CONFIRM_EXECUTE);
      PressDialogButton(dialog, IDCANCEL);
    } else {
      driveChangeBoxesVisible = IsWindowVisible(GetDlgItem(dialog, IDC_CONFIRM_DELETED)) ||
                                IsWindowVisible(GetDlgItem(dialog, IDC_CONFIRM_ALTERED));
      driveNewCaption = WindowText(GetDlgItem(dialog, IDC_CONFIRM_NEW));
      PressDialogButton(dialog, IDCANCEL);
    }
  });
  window->RunCommand(IDM_RESTORE_ALL);
  ASSERT_TRUE(errors.empty()) << errors.front();
  EXPECT_EQ(dialogErrors, std::vector<std::string>{"No operation selected!"});
  ASSERT_EQ(captions.size(), 3u);
  EXPECT_EQ(captions[1], "Quorvel - Confirm Restore: Registry");
  EXPECT_EQ(captions[2], "Quorvel - Confirm Restore: Files/Folders");
  EXPECT_FALSE(driveChangeBoxesVisible);
  EXPECT_EQ(driveNewCaption, "Delete new (added) folders/files.");
  EXPECT_EQ(ReadValue("Changed"), "old");
  EXPECT_EQ(ReadValue("Deleted"), "gone");
  EXPECT_FALSE(KeyExists(std::string(kTestKey) + "\\Added"));
}

TEST_F(RestoreCommandsTest, DontCheckNextTimeUnchecksTheKeyInTheSelectionAndTheExcludeListSkipsDuplicates) {
  InstallAndCompare();
  app.selectionChanged = false;
  window->Results().Select(LogSection::Registry, TestKeyNode());
  CommandEnvironment environment = EnvironmentWith(*window, ui);
  DontCheckNextTimeCommand(environment, LogSection::Registry);
  TreeNode* selected =
      FindTreeNodeByPath(std::string("HKEY_CURRENT_CONFIG\\") + kTestKey, session.Selection().registry, false);
  ASSERT_NE(selected, nullptr);
  EXPECT_EQ(selected->StateIndex(), kStateUnchecked);
  EXPECT_EQ(FindTreeNode({"My Computer", "HKEY_CURRENT_CONFIG"}, session.Selection().registry)->StateIndex(),
            kStatePartlyChecked);
  EXPECT_TRUE(app.selectionChanged);

  ui.messages.clear();
  AddToExcludeList(session, ui, {"C:\\APP\\A.LOG", "C:\\APP\\B.LOG"});
  AddToExcludeList(session, ui, {"c:\\app\\a.log"});
  EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"2 files added to the \"Exclude Files\" list.",
                                                  "0 files added to the \"Exclude Files\" list."}));
  EXPECT_EQ(RowCount(window->Control("NoCheck")), 2);
}

TEST(SharedFileDialogTest, ShowsTheCaseTextsAndKeepsTheFileUnlessDeleteIsPressed) {
  struct Case {
    SharedFileCase which;
    int button;
    bool uncheckRepeat;
    const char* deleteCaption;
    bool deleteFile;
  };
  const Case cases[] = {
      {SharedFileCase::CounterAtZero, IDYES, true, "Delete File", true},
      {SharedFileCase::StillRegistered, IDNO, false, "Delete File Anyway", false},
      {SharedFileCase::StillRegistered, IDCANCEL, false, "Delete File Anyway", false},
  };
  for (const Case& c : cases) {
    std::string path, deleteCaption, explanation;
    bool keepIsDefault = false;
    ModalWatcher watcher([&](HWND dialog) {
      path = WindowText(GetDlgItem(dialog, IDC_SHARED_PATH));
      deleteCaption = WindowText(GetDlgItem(dialog, IDYES));
      explanation = WindowText(GetDlgItem(dialog, IDC_SHARED_EXPLANATION));
      keepIsDefault = LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)) == IDNO;
      if (c.uncheckRepeat) CheckDlgButton(dialog, IDC_SHARED_REPEAT, BST_UNCHECKED);
      PressDialogButton(dialog, c.button);
    });
    GuiSharedFilePrompt prompt(nullptr);
    SharedFileAnswer answer = prompt.Ask({c.which, "C:\\WIN\\SHARED.DLL"});
    EXPECT_EQ(path, "C:\\WIN\\SHARED.DLL");
    EXPECT_EQ(deleteCaption, c.deleteCaption);
    EXPECT_EQ(explanation, SharedFileExplanation(c.which));
    EXPECT_TRUE(keepIsDefault);
    EXPECT_EQ(answer.deleteFile, c.deleteFile);
    EXPECT_EQ(answer.repeatForAll, !c.uncheckRepeat);
  }
}

TEST(SavedConfigRestoreTest, PutsTheBackupInPlaceOnceAndThenReportsItMissing) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "QuorvelSavedConfig\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  std::ofstream(folder + "OldCFG.SXD", std::ios::binary) << "current";
  std::ofstream(folder + "OldCFG.BAK", std::ios::binary) << "previous";

  ScriptedInteraction ui;
  ui.answers = {MsgAnswer::No};
  RestoreSavedConfigCommand(folder, ui);
  EXPECT_NE(GetFileAttributesA((folder + "OldCFG.BAK").c_str()), INVALID_FILE_ATTRIBUTES) << "No changes nothing";

  ui.answers = {MsgAnswer::Yes};
  RestoreSavedConfigCommand(folder, ui);
  RestoreSavedConfigCommand(folder, ui);
  std::stringstream content;
  content << std::ifstream(folder + "OldCFG.SXD", std::ios::binary).rdbuf();
  EXPECT_EQ(content.str(), "previous");
  EXPECT_EQ(GetFileAttributesA((folder + "OldCFG.BAK").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ui.Texts(),
            (std::vector<std::string>{"Replace stored configuration file OLDCFG.SXD\rwith backup OLDCFG.BAK?",
                                      "Replace stored configuration file OLDCFG.SXD\rwith backup OLDCFG.BAK?",
                                      "File OLDCFG.BAK not found!Restoration not possible!\r"}));
  DeleteFileA((folder + "OldCFG.SXD").c_str());
  RemoveDirectoryA(folder.c_str());
}

TEST(ClassIdTextTest, OnlyTheFormOfAClassIdentifierQualifies) {
  const std::pair<const char*, bool> cases[] = {
      {"{00021401-0000-0000-C000-000000000046}", true},
      {"{00021401-0000-0000-C000-00000000004}", false},  // "}" one place early
      {"00021401-0000-0000-C000-000000000046}", false},
      {"{0002140-10000-0000-C000-000000000046}", false},  // first "-" at 9
      {"{", false},
      {"", false},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(IsClassIdText(text), expected) << text;
}

TEST_F(RestoreCommandsTest, OpenersRefuseTextFilesAndFollowTheFileBackupSetting) {
  InstallAndCompare();
  // A text file's node in the system-file result tree: refused before any dialog opens.
  TreeModel& systemFiles = session.Results().systemFiles;
  TreeNode* textFile = systemFiles.Add(systemFiles.FirstTop(), "AUTOEXEC.BAT");
  window->Results().Select(LogSection::SystemFiles, textFile);
  {
    ModalWatcher watcher([](HWND dialog) { PressDialogButton(dialog, IDCANCEL); });
    window->RunCommand(IDM_RESTORE_SYSTEM);
    EXPECT_EQ(watcher.Seen(), 0);
  }
  EXPECT_EQ(errors, std::vector<std::string>{
                        "Automatic restore is not possible for text files.\rPlease restore the changes manually!"});

  // Without restores from the file backup, deleted and changed files cannot come back.
  settings->Reg().WriteInteger("UseDLLBackupRestore", 0);
  window->Results().Select(LogSection::Drives, session.Results().drives.FirstTop());
  bool changeBoxesEnabled = true;
  std::string newCaption;
  ModalWatcher watcher([&](HWND dialog) {
    changeBoxesEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_CONFIRM_DELETED)) ||
                         IsWindowEnabled(GetDlgItem(dialog, IDC_CONFIRM_ALTERED));
    newCaption = WindowText(GetDlgItem(dialog, IDC_CONFIRM_NEW));
    PressDialogButton(dialog, IDCANCEL);
  });
  window->RunCommand(IDM_RESTORE_DRIVE);
  EXPECT_EQ(watcher.Seen(), 1);
  EXPECT_FALSE(changeBoxesEnabled);
  EXPECT_EQ(newCaption, "Delete new (added) folders/files.");
}

#include "tools/DelExistingWindow.h"

#include <gtest/gtest.h>

#include "app/Settings.h"
#include "core/CheckStates.h"
#include "platform/PathText.h"
#include "platform/TMyRegIniFile.h"
#include "res/resource.h"
#include "restore/FileDeletion.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/KeyboardInput.h"
#include "tests/app/ModalWatcher.h"
#include "tests/app/ToolWindowTestSupport.h"
#include "tests/capture/TestFolder.h"
#include "tests/capture/TestRegistryKey.h"
#include "tools/DelExistingPages.h"
#include "tools/DelExistingWindowIds.h"
#include "tools/RemoverNavigation.h"
#include "ui/HelpRequests.h"

namespace {

constexpr const char* kCurrentVersionKey = "Software\\Microsoft\\Windows\\CurrentVersion";

// Short names: the backup of a folder repeats the folder's whole path below the backup folder,
// which must stay within MAX_PATH for the checks' plain file calls.
class NamedFolder : public TestFolder {
 public:
  explicit NamedFolder(const std::string& tag) : TestFolder("QRW_" + tag) {}
};

void SetSetting(const char* name, DWORD type, const void* data, DWORD size) {
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kToolSettingsPath, name, type, data, size), ERROR_SUCCESS) << name;
}

void Press(HWND dialog, int id) { SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// A tick as the user gives it: the node selected in its view, then Space.
void Tick(HWND dialog, int treeId, TreeNode* node) {
  ASSERT_NE(node, nullptr);
  const HWND tree = GetDlgItem(dialog, treeId);
  TreeView_SelectItem(tree, static_cast<HTREEITEM>(node->ViewItem()));
  SendMessageA(tree, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(node->StateIndex(), kStateChecked) << node->Text();
}

std::vector<std::string> Split(const std::string& path) {
  std::vector<std::string> names;
  for (size_t start = 0;;) {
    const size_t end = path.find('\\', start);
    names.push_back(path.substr(start, end - start));
    if (end == std::string::npos) return names;
    start = end + 1;
  }
}

// What a page showed as it was entered.
struct PageSeen {
  std::string tab, help, label, selected, switchCaption;
  bool finishEnabled = false;
};

class DelExistingWindowTest : public ToolWindowTest {};

TEST_F(DelExistingWindowTest, OpenedFromTheMenuItWalksThePagesAndDeletesTheTickedFolderAndKeyButNoSharedPlace) {
  NamedFolder programs("programs");
  NamedFolder backup("backup");
  programs.Folder("Acme");
  programs.File("Acme\\acme.exe", "program");
  TestRegistryKey key;
  key.SetRaw("Acme\\Options", "Colour", REG_SZ, std::string("blue", 5));
  const std::string keyPath = "HKEY_CURRENT_USER\\" + key.Sub("Acme");
  const std::string programFiles = RegistryText(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir");
  ASSERT_FALSE(programFiles.empty());

  Session session;
  session.State().exePath = kToolExePath;
  session.State().programFolder = "C:\\QuorvelToolTest\\";
  StaticRegScope settings(kToolSettingsPath, session.State().programFolder);
  const DWORD on = 1, off = 0;
  SetSetting("BackupFiles", REG_DWORD, &on, sizeof on);
  SetSetting("UseRecycleBin", REG_DWORD, &off, sizeof off);
  const std::string backupDir = backup.Path().substr(0, backup.Path().size() - 1);
  SetSetting("BackupDir", REG_SZ, backupDir.c_str(), static_cast<DWORD>(backupDir.size() + 1));
  MainWindow window(session, [](HWND, const ErrorSource&, std::exception_ptr) {});
  ASSERT_NE(window.Create(), nullptr);
  ASSERT_TRUE(window.IsCommandEnabled(IDM_DELETE_APPLICATIONS));
  session.State().selectionChanged = false;

  std::string caption;
  std::vector<PageSeen> pages;
  std::vector<std::vector<std::string>> rows;
  std::vector<bool> ticksAfterNone, ticksAfterAll;
  bool changedMeanwhile = false;
  ModalWatcher watcher([&](HWND dialog) {
    caption = WindowText(dialog);
    auto* form = static_cast<TDelExistingFRM*>(reinterpret_cast<Dialog*>(GetWindowLongPtrA(dialog, DWLP_USER)));
    ASSERT_NE(form, nullptr);
    const HWND tabs = GetDlgItem(dialog, IDC_DELEX_TABS);
    const auto see = [&](RemoverTree tree, int switchId) {
      char tab[64] = "";
      TCITEMA item{};
      item.mask = TCIF_TEXT;
      item.pszText = tab;
      item.cchTextMax = sizeof tab;
      TabCtrl_GetItem(tabs, TabCtrl_GetCurSel(tabs), &item);
      const TreeNode* selected = form->SelectedNode(tree);
      pages.push_back({tab, WindowText(GetDlgItem(dialog, IDC_DELEX_HELP)),
                       WindowText(GetDlgItem(dialog, IDC_DELEX_LABEL)), selected ? selected->Text() : "",
                       switchId ? WindowText(GetDlgItem(dialog, switchId)) : "",
                       IsWindowEnabled(GetDlgItem(dialog, IDC_DELEX_FINISH)) != FALSE});
    };
    see(RemoverTree::ProgramFiles, 0);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_DELEX_HEADING)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_DELEX_BACK)));

    Press(dialog, IDC_DELEX_NEXT);
    see(RemoverTree::ProgramFiles, 0);
    TreeModel& programTree = form->Tree(RemoverTree::ProgramFiles);
    Tick(dialog, IDC_DELEX_PROGRAM_TREE, FolderNodeOf(programs / "Acme", programTree));
    Tick(dialog, IDC_DELEX_PROGRAM_TREE, FolderNodeOf(programFiles, programTree));
    changedMeanwhile = session.State().selectionChanged;

    Press(dialog, IDC_DELEX_NEXT);
    see(RemoverTree::StartMenu, IDC_DELEX_SWITCH_MENU);
    Press(dialog, IDC_DELEX_NEXT);
    see(RemoverTree::Software, IDC_DELEX_SWITCH_SOFTWARE);
    std::vector<std::string> names = Split(keyPath);
    names.insert(names.begin(), "My Computer");
    TreeModel& software = form->Tree(RemoverTree::Software);
    Tick(dialog, IDC_DELEX_SOFTWARE_TREE, FindTreeNode(names, software));
    Press(dialog, IDC_DELEX_SWITCH_SOFTWARE);
    see(RemoverTree::Software, IDC_DELEX_SWITCH_SOFTWARE);
    Tick(dialog, IDC_DELEX_SOFTWARE_TREE, FindTreeNode({"My Computer", "HKEY_LOCAL_MACHINE", "Software"}, software));

    Press(dialog, IDC_DELEX_NEXT);
    see(RemoverTree::FileTypes, IDC_DELEX_SWITCH_TYPES);
    Press(dialog, IDC_DELEX_SWITCH_TYPES);
    see(RemoverTree::FileTypes, IDC_DELEX_SWITCH_TYPES);

    Press(dialog, IDC_DELEX_FINISH);
    see(RemoverTree::FileTypes, 0);
    const HWND list = GetDlgItem(dialog, IDC_DELEX_ACTIONS);
    Press(dialog, IDC_DELEX_SELECT_NONE);
    for (int row = 0; row < ListView_GetItemCount(list); ++row)
      ticksAfterNone.push_back(ListView_GetCheckState(list, row));
    Press(dialog, IDC_DELEX_SELECT_ALL);
    for (int row = 0; row < ListView_GetItemCount(list); ++row)
      ticksAfterAll.push_back(ListView_GetCheckState(list, row));
    Press(dialog, IDC_DELEX_EXECUTE);
    for (int row = 0; row < ListView_GetItemCount(list); ++row)
      rows.push_back({ListText(list, row, 0), ListText(list, row, 1), ListText(list, row, 2), ListText(list, row, 3)});
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  window.RunCommand(IDM_DELETE_APPLICATIONS);

  EXPECT_EQ(caption, "Quorvel - Deinstall an Existing Application (no log file)");
  ASSERT_EQ(pages.size(), 8u);
  const std::vector<std::string> expectedTabs = {"Start",    "Program Files",   "Start Menu",      "Registry",
                                                 "Registry", "File Extensions", "File Extensions", "Confirmation"};
  const std::vector<std::string> expectedHelp = {
      "The Wizard will now guide",  "Folders to delete:",        "Start Menu entries to delete:",
      "Registry items to delete:",  "Registry items to delete:", "File extensions to delete:",
      "File extensions to delete:", "Items to be deleted:"};
  for (size_t i = 0; i < pages.size(); ++i) {
    const PageSeen& page = pages[i];
    EXPECT_EQ(page.tab, expectedTabs[i]) << i;
    EXPECT_EQ(page.help.rfind(expectedHelp[i], 0), 0u) << page.help;
    EXPECT_EQ(page.finishEnabled, page.tab != "Confirmation") << page.tab;
  }
  EXPECT_EQ(pages[0].help, kRemoverPages[0].help);
  EXPECT_EQ(pages[1].label, "Folders to delete");
  EXPECT_EQ(programFiles.substr(programFiles.rfind('\\') + 1), pages[1].selected) << "opened at the program files";
  EXPECT_EQ(pages[2].switchCaption, "Switch to \"All Users\" Start Menu");
  EXPECT_EQ(pages[3].label, "Registry items to delete:");
  EXPECT_EQ(pages[3].switchCaption, "Switch to \"All Users\" entries");
  EXPECT_EQ(pages[3].selected, "Software");
  EXPECT_EQ(pages[4].switchCaption, "Switch to \"Current User\" entries");
  EXPECT_EQ(pages[5].switchCaption, "Switch to extension links entries");
  EXPECT_EQ(pages[5].selected, "HKEY_CLASSES_ROOT");
  EXPECT_EQ(pages[6].switchCaption, "Switch to file extensions entries");
  EXPECT_NE(pages[6].selected.rfind('.', 0), 0u) << "the first file type after the extensions: " << pages[6].selected;
  EXPECT_TRUE(changedMeanwhile) << "a tick counts as the main window's own would";
  EXPECT_FALSE(session.State().selectionChanged) << "put back when the window closed";

  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(ticksAfterNone, std::vector<bool>(4, false));
  EXPECT_EQ(ticksAfterAll, std::vector<bool>(4, true));
  const auto rowOf = [&](const std::string& path) -> std::vector<std::string> {
    for (const auto& row : rows)
      if (_stricmp(row[1].c_str(), path.c_str()) == 0) return row;
    ADD_FAILURE() << "no row for " << path;
    return {"", "", "", ""};
  };
  const std::string folder = WithoutTrailingBackslashes(programs / "Acme");
  EXPECT_EQ(rowOf(folder), (std::vector<std::string>{"Delete Folder", folder, "OK, Done", ""}));
  EXPECT_EQ(rowOf(programFiles)[2], "Not done: the program-files folder itself is never deleted.");
  EXPECT_EQ(rowOf("HKEY_LOCAL_MACHINE\\Software")[2],
            "Not done: this key holds the keys of every application and is never deleted.");
  const std::vector<std::string> keyRow = rowOf(keyPath);
  EXPECT_EQ(keyRow[0], "Delete Entry");
  EXPECT_EQ(keyRow[2], "OK, Done");
  EXPECT_TRUE(errors.empty()) << errors.front();

  EXPECT_FALSE(TestFolder::Exists(folder));
  EXPECT_EQ(TestFolder::Read(BackupTargetOf(backup.Path(), folder) + "\\acme.exe"), "program");
  EXPECT_TRUE(TestFolder::Exists(programFiles));
  EXPECT_FALSE(key.ExistsRaw("Acme"));
  ASSERT_EQ(keyRow[3].rfind(backup.Path(), 0), 0u) << keyRow[3];
  // The saved key goes back in with regedit.
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string command = "regedit.exe /S \"" + keyRow[3] + "\"";
  ASSERT_TRUE(
      CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
  WaitForSingleObject(process.hProcess, 60000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  DWORD type = 0;
  std::string colour;
  EXPECT_TRUE(key.GetRaw("Acme\\Options", "Colour", type, colour));
  EXPECT_EQ(colour, std::string("blue", 5));

  TMyRegIniFile ini(kToolSettingsPath);
  EXPECT_GT(ini.ReadInteger(TDelExistingFRM::kSection, "Width", 0), 0) << "the layout is kept";
}

// Enter is Next, Ctrl+Tab and Ctrl+Shift+Tab turn the pages round, F1 asks for the window's own
// help section, Escape closes it with its layout kept.
TEST_F(DelExistingWindowTest, ThePagesTurnByKeysAlone) {
  FileDeletionState deletion;
  TDelExistingFRM form({kToolSettingsPath, "C:\\QuorvelToolTest\\", &deletion});
  ASSERT_TRUE(form.Create(nullptr));
  form.Show();
  std::vector<std::string> sections;
  SetHelpRequestHook([&](const std::string& section) { sections.push_back(section); });
  const struct {
    KeyPress key;
    size_t page;
  } steps[] = {
      {{VK_RETURN}, 1},
      {{VK_RETURN}, 2},
      {{VK_TAB, kControl}, 3},
      {{VK_TAB, kControl | kShift}, 2},
      {{VK_TAB, kControl | kShift}, 1},
      {{VK_TAB, kControl | kShift}, 0},
      {{VK_TAB, kControl | kShift}, 5},
      {{VK_TAB, kControl}, 0},
  };
  for (const auto& step : steps) {
    PressKey(step.key);
    EXPECT_EQ(form.CurrentPage(), step.page) << step.key.key << "+" << step.key.modifiers;
    EXPECT_EQ(TabCtrl_GetCurSel(form.Item(IDC_DELEX_TABS)), static_cast<int>(step.page));
  }
  PressKey({VK_F1});
  SetHelpRequestHook(nullptr);
  EXPECT_EQ(sections, std::vector<std::string>{"TDelExistingFRM"});
  PressKey({VK_ESCAPE});
  EXPECT_FALSE(form.Exists());
  EXPECT_GT(TMyRegIniFile(kToolSettingsPath).ReadInteger(TDelExistingFRM::kSection, "Width", 0), 0);
  EXPECT_TRUE(errors.empty()) << errors.front();
}

}  // namespace

#include "app/ResultPages.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "tests/app/AppTestSupport.h"

#include <fstream>
#include <sstream>

#include "app/CompareCommands.h"
#include "app/ErrorReporting.h"
#include "app/ExportCommands.h"
#include "app/MainWindow.h"
#include "app/Settings.h"
#include "app/Workflows.h"
#include "core/Errors.h"
#include "core/ScriptedInteraction.h"
#include "tests/compare/LogBuilder.h"
#include "tests/compare/SampleLog.h"
#include "ui/HandlerErrors.h"
#include "ui/ListView.h"

namespace {

constexpr char kSettingsKey[] = "Software\\QuorvelTests\\ResultPages";

// The thread's keyboard state with Ctrl held, for the expansions made meanwhile.
class ControlKeyHeld {
 public:
  ControlKeyHeld() {
    GetKeyboardState(saved_);
    BYTE keys[256];
    memcpy(keys, saved_, sizeof keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
    SetKeyboardState(keys);
  }
  ~ControlKeyHeld() { SetKeyboardState(saved_); }

 private:
  BYTE saved_[256];
};

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
  return lines;
}

int ItemImage(HWND list, int row) {
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return item.iImage;
}

// The strip image a row's state image shows.
int ShownStateImage(HWND list, int row) {
  auto state = static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK));
  return static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12) - 1;  // counted from 1
}

std::string ItemCaption(HWND list, int row) {
  char text[MAX_PATH] = "";
  LVITEMA item{};
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

// A log of a new key with two levels of subkeys, a changed key, and a changed folder on the
// disk (the test's own folder) with a file that is there and one that is not.
class ResultPagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitControlsForTests();
    folder = TestFolder("QuorvelResultPages");
    std::ofstream(folder + "present.qvzz") << "x";
    app.programFolder = folder;
    settings = std::make_unique<StaticRegScope>(kSettingsKey, folder);
    // A command's errors reach the window's handler, a double click's the window handlers' hook.
    window = std::make_unique<MainWindow>(session, [this](HWND, const ErrorSource&, std::exception_ptr error) {
      errors.push_back(DescribeError(error).message);
    });
    SetHandlerErrorHook(
        [this](const HandlerSource&, std::exception_ptr error) { errors.push_back(DescribeError(error).message); });
    ASSERT_NE(window->Create(), nullptr);
    logFile = folder + "pages.SXL";
    WriteLog();
    Load();
  }
  void TearDown() override {
    window.reset();
    SetHandlerErrorHook(nullptr);
    DrainQuitMessages();
    settings.reset();
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    for (const char* name : {"present.qvzz", "pages.SXL", "export.TXT"}) DeleteFileA((folder + name).c_str());
    RemoveDirectoryA(folder.c_str());
  }

  void WriteLog() {
    ChangeBlockBuilder reg(kRegistryChangeHeader);
    int32_t vendor = reg.AddKey(
        {"",
         {{"App", {{"Sub", {}, {LogText("Path", 9, "C:\\APP")}}}, {LogDword("Version", 9, 2)}}, {"Empty", {}, {}}},
         {LogText("", 9, "")}});
    int32_t changed = reg.AddValues({LogText("Path", 11, "old"), LogText("Path", 12, "new"), LogText("Extra", 9, "x")});
    ChangeBlockBuilder drv(kDriveChangeHeader);
    int32_t files = drv.AddFiles({{"present.qvzz", 9, kTime1, 1, 0x20},
                                  {"missing.txt", 9, kTime1, 2, 0x20},
                                  {"gone.qvzz", 10, kTime2, 3, 0x20},
                                  {"gone.chm", 10, kTime2, 4, 0x20}});
    ChangeBlockBuilder sys(kSystemFileChangeHeader);

    TreeModel registry, drives, systemFiles;
    TreeNode* top = AddLogNode(registry, nullptr, "My Computer", 0, 2, 2);
    TreeNode* software =
        AddLogNode(registry, AddLogNode(registry, top, "HKEY_LOCAL_MACHINE", 0, 0, 1), "SOFTWARE", 0, 0, 1);
    AddLogNode(registry, software, "Vendor", 6, 0, 1, vendor, true);
    AddLogNode(registry, software, "Changed", 8, 0, 1, changed);
    // The drive tree down to the test's folder: "C:", then one node per folder.
    TreeNode* node = AddLogNode(drives, AddLogNode(drives, nullptr, "Drives", 0, 2, 2), "C:", 0, 17, 17);
    for (size_t start = 3, end; (end = folder.find('\\', start)) != std::string::npos; start = end + 1)
      node = AddLogNode(drives, node, folder.substr(start, end - start), 0, 0, 1);
    drives.SetState(node, kKindChanged);
    drives.SetData(node, files);
    AddLogNode(systemFiles, nullptr, "System Files", 0, 0, 0);

    LogSelection selection;
    TreeModel* const results[3] = {&registry, &drives, &systemFiles};
    const Bytes blocks[3] = {reg.Finish(), drv.Finish(), sys.Finish()};
    LogPositions positions;
    WriteFileBytes(logFile, AssembleLog(selection, results, blocks, positions));
  }

  void Load() { OpenLog(session, ui, logFile); }

  TreeModel& Tree(LogSection section) { return session.Results().Of(section); }
  TreeNode* Find(LogSection section, const std::string& path) { return LoadedLog::Find(Tree(section), path); }
  TreeNode* FolderNode() {
    TreeNode* node = Tree(LogSection::Drives).FirstTop()->FirstChild();
    while (node->FirstChild()) node = node->FirstChild();
    return node;
  }
  HWND Control(const char* name) { return window->Control(name); }

  std::string folder;
  std::string logFile;
  Session session;
  AppState& app = session.State();
  std::unique_ptr<StaticRegScope> settings;
  ScriptedInteraction ui;
  std::unique_ptr<MainWindow> window;
  std::vector<std::string> errors;
};

}  // namespace

TEST_F(ResultPagesTest, ExpandingWithCtrlOpensEveryLevelBelowFromTheLog) {
  for (bool ctrl : {false, true}) {
    SCOPED_TRACE(ctrl ? "with Ctrl" : "without Ctrl");
    Load();
    TreeModel& registry = Tree(LogSection::Registry);
    registry.Expand(Find(LogSection::Registry, "My Computer\\HKEY_LOCAL_MACHINE"));
    registry.Expand(Find(LogSection::Registry, "My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE"));
    TreeNode* vendor = Find(LogSection::Registry, "My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor");
    ASSERT_NE(vendor, nullptr);
    {
      std::unique_ptr<ControlKeyHeld> held = ctrl ? std::make_unique<ControlKeyHeld>() : nullptr;
      SendMessageA(Control("ResultView"), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(vendor->ViewItem()));
    }
    EXPECT_TRUE(errors.empty()) << errors.front();

    ASSERT_EQ(vendor->Count(), 2u);
    TreeNode* app = vendor->Child(0);
    EXPECT_EQ(app->Text(), "App");
    EXPECT_EQ(app->Expanded(), ctrl);
    ASSERT_EQ(app->Count(), ctrl ? 1u : 0u);
    if (ctrl) {
      EXPECT_EQ(app->Child(0)->Text(), "Sub");
      EXPECT_EQ(app->Child(0)->StateIndex(), kKindNew);
      EXPECT_NE(app->Child(0)->ViewItem(), nullptr);
      EXPECT_TRUE(SendMessageA(Control("ResultView"), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(app->ViewItem()),
                               TVIS_EXPANDED) &
                  TVIS_EXPANDED);
    }
    EXPECT_EQ(window->Results().SelectedNode(LogSection::Registry), vendor);
    HWND values = Control("ResultValues");
    ASSERT_EQ(SendMessageA(values, LVM_GETITEMCOUNT, 0, 0), 1) << "the values of the expanded node";
    EXPECT_EQ(ItemCaption(values, 0), "(default)");
  }
}

TEST_F(ResultPagesTest, ExportDataWritesTheChosenKindsBelowTheSelectedNode) {
  struct Case {
    const char* path;
    KindSet kinds;
    std::vector<std::string> lines;  // after the header
  };
  const Case cases[] = {
      {"Changed", KindBit(kRecordOldSide), {"  [%]\"Path\" = \"old\""}},
      // Never expanded: the export reads its levels from the log.
      {"Vendor",
       kAllKinds,
       {"[+][HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App\\Sub]", "  [+]\"Path\" = \"C:\\APP\"",
        "[+][HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App]", "  [+]\"Version\" = $00000002  (2)",
        "[+][HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Empty]", "[+][HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]",
        "  [+]\"(default)\" = \"\""}},
  };
  const std::string exported = folder + "export.TXT";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    TreeNode* node = Find(LogSection::Registry, std::string("My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\") + c.path);
    window->Results().Select(LogSection::Registry, node);
    ui.fileChoices = {exported};
    CommandEnvironment environment = EnvironmentWith(*window, ui);
    ExportDataCommand(environment, LogSection::Registry, [&](ExportChoice& choice) {
      EXPECT_EQ(choice.kinds, kAllKinds);
      EXPECT_EQ(choice.mode, LogSection::Registry);
      choice.kinds = c.kinds;
      return true;
    });

    const FileDialogSpec& spec = ui.fileDialogs.back();
    EXPECT_EQ(spec.title, "Save export file");
    EXPECT_EQ(spec.filter, "TEXT file  (*.TXT)|*.TXT");
    EXPECT_EQ(spec.defaultExt, "TXT");
    EXPECT_TRUE(spec.promptOverwrite);
    std::vector<std::string> lines = SplitCrLf(ReadText(exported));
    ASSERT_EQ(lines.size(), 9 + c.lines.size());
    EXPECT_EQ(lines[0], "; Quorvel -  ");
    EXPECT_EQ(lines[2], "; File:" + logFile);
    EXPECT_EQ(lines[3], std::string("; Registry : HKEY_LOCAL_MACHINE\\SOFTWARE\\") + c.path);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 9, lines.end()), c.lines);
    EXPECT_EQ(window->Results().SelectedNode(LogSection::Registry), node) << "the export moves no selection";
  }
}

TEST_F(ResultPagesTest, ExportWritesNoFileWhenCancelledOrWhenTheLogCannotBeRead) {
  const std::string exported = folder + "export.TXT";
  window->Results().Select(LogSection::Drives, FolderNode());
  bool chooseKinds = false;
  const ExportKindsChooser chooser = [&](ExportChoice& choice) {
    EXPECT_EQ(choice.mode, LogSection::Drives);
    return chooseKinds;
  };
  CommandEnvironment environment = EnvironmentWith(*window, ui);
  ExportDataCommand(environment, LogSection::Drives, chooser);
  EXPECT_TRUE(ui.fileDialogs.empty()) << "cancelled in the selection dialog";

  chooseKinds = true;
  ui.fileChoices = {""};
  ExportDataCommand(environment, LogSection::Drives, chooser);
  EXPECT_EQ(ui.fileDialogs.size(), 1u);

  DeleteFileA(logFile.c_str());
  ui.fileChoices = {exported};
  EXPECT_ANY_THROW(ExportDataCommand(environment, LogSection::Drives, chooser));
  EXPECT_EQ(GetFileAttributesA(exported.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ResultPagesTest, FileRowsCarryShellIconsAndOpenOnDoubleClick) {
  window->Results().Select(LogSection::Drives, FolderNode());
  HWND files = Control("ResultDriveFiles");
  ASSERT_EQ(SendMessageA(files, LVM_GETITEMCOUNT, 0, 0), 4);

  struct Case {
    const char* name;
    bool iconExpected;  // the default document is image 0
    int image;          // when no icon of its own is expected
    std::string error;  // of a double click
  };
  const Case cases[] = {
      {"present.qvzz", true, 0, "No application linked to this file type!\r" + folder + "present.qvzz"},
      {"missing.txt", false, I_IMAGENONE, "File not found!"},  // new, yet not on the disk
      {"gone.qvzz", false, 0, "File not found!"},              // deleted, of no known type
      {"gone.chm", true, 0, "File not found!"},                // deleted: its type's icon
  };
  for (int row = 0; row < 4; ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ItemCaption(files, row), c.name);
    EXPECT_EQ(ShownStateImage(files, row), row < 2 ? kRecordNew : kRecordDeleted);
    if (c.iconExpected)
      EXPECT_GT(ItemImage(files, row), 0);
    else
      EXPECT_EQ(ItemImage(files, row), c.image);

    errors.clear();
    NMITEMACTIVATE activate{};
    activate.hdr = {files, static_cast<UINT_PTR>(GetDlgCtrlID(files)), static_cast<UINT>(NM_DBLCLK)};
    activate.iItem = row;
    SendMessageA(window->Handle(), WM_NOTIFY, activate.hdr.idFrom, reinterpret_cast<LPARAM>(&activate));
    EXPECT_EQ(errors, std::vector<std::string>{c.error});
  }
}

TEST_F(ResultPagesTest, RowsStandForTheirRecordsInWhateverOrderTheListShowsThem) {
  window->Results().Select(LogSection::Drives, FolderNode());
  ListView files = Control("ResultDriveFiles");
  // Reversed as a header click will sort rows: through their owner indexes.
  files.Send(LVM_SORTITEMS, 0,
             reinterpret_cast<LPARAM>(+[](LPARAM a, LPARAM b, LPARAM) -> int { return a < b ? 1 : (a > b ? -1 : 0); }));
  ASSERT_EQ(ListText(files, 0, 0), "gone.chm");
  ASSERT_EQ(ListText(files, 3, 0), "present.qvzz");
  files.SetSelected(files.OwnerOf(0), true);
  files.SetSelected(files.OwnerOf(3), true);

  std::vector<FilterRow> filter = window->Results().FilterRows(LogSection::Drives);
  std::vector<std::string> names, selected;
  for (const FilterRow& row : filter) {
    names.push_back(row.name);
    if (row.selected) selected.push_back(row.name);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"present.qvzz", "missing.txt", "gone.qvzz", "gone.chm"}))
      << "the records in the log's order";
  EXPECT_EQ(selected, (std::vector<std::string>{"present.qvzz", "gone.chm"}));

  filter[1].selected = true;
  filter[3].selected = false;
  window->Results().ShowFilterSelection(LogSection::Drives, filter);
  EXPECT_EQ(files.SelectedOwners(), (std::vector<size_t>{1, 0})) << "in the order shown";

  NMITEMACTIVATE activate{};
  activate.hdr = {files, static_cast<UINT_PTR>(files.Id()), static_cast<UINT>(NM_DBLCLK)};
  activate.iItem = 3;
  SendMessageA(window->Handle(), WM_NOTIFY, activate.hdr.idFrom, reinterpret_cast<LPARAM>(&activate));
  EXPECT_EQ(errors, std::vector<std::string>{"No application linked to this file type!\r" + folder + "present.qvzz"});

  // The default value's row shows DefaultText; its record has no name.
  window->Results().Select(LogSection::Registry,
                           Find(LogSection::Registry, "My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor"));
  ListView values = Control("ResultValues");
  ASSERT_EQ(values.Count(), 1);
  ASSERT_EQ(ListText(values, 0, 0), "(default)");
  values.SetSelected(0, true);
  filter = window->Results().FilterRows(LogSection::Registry);
  ASSERT_EQ(filter.size(), 1u);
  EXPECT_EQ(filter[0].name, "");
  EXPECT_TRUE(filter[0].selected);
}

TEST_F(ResultPagesTest, RightClickSelectsTheNodeUnderTheMouseBeforeTheMenuOpens) {
  std::vector<LogSection> menus;
  window->Results().onTreeMenu = [&](LogSection section, POINT) { menus.push_back(section); };
  ShowWindow(window->Handle(), SW_SHOW);
  HWND tree = Control("ResultView");
  TreeNode* target = Find(LogSection::Registry, "My Computer\\HKEY_LOCAL_MACHINE");
  RECT item{};
  // TVM_GETITEMRECT takes the item in the rectangle's place.
  void* viewItem = target->ViewItem();
  memcpy(&item, &viewItem, sizeof viewItem);
  ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&item)));

  // The click's position is that of the last message taken from the queue.
  auto rightClickAt = [&](POINT client) {
    ClientToScreen(tree, &client);
    SetCursorPos(client.x, client.y);
    PostMessageA(tree, WM_NULL, 0, 0);
    MSG msg;
    while (PeekMessageA(&msg, tree, WM_NULL, WM_NULL, PM_REMOVE)) {
    }
    NMHDR header{tree, static_cast<UINT_PTR>(GetDlgCtrlID(tree)), static_cast<UINT>(NM_RCLICK)};
    SendMessageA(window->Handle(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
  };
  rightClickAt({(item.left + item.right) / 2, (item.top + item.bottom) / 2});
  EXPECT_EQ(window->Results().SelectedNode(LogSection::Registry), target);
  EXPECT_EQ(menus, std::vector<LogSection>{LogSection::Registry});

  RECT client;
  GetClientRect(tree, &client);
  rightClickAt({client.right - 4, client.bottom - 4});  // below the last node
  EXPECT_EQ(window->Results().SelectedNode(LogSection::Registry), nullptr);
  EXPECT_EQ(menus.size(), 1u) << "no node, no menu";
}

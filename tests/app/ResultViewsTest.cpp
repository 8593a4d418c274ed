// How the result trees and the lists beside them look: the images the controls hold, the order
// of rows after header clicks, greyed restored records, and root nodes without changes.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "app/Settings.h"
#include "app/Workflows.h"
#include "core/ScriptedInteraction.h"
#include "core/StripImages.h"
#include "tests/app/AppTestSupport.h"
#include "tests/compare/LogBuilder.h"
#include "ui/ListView.h"

namespace {

constexpr char kSettingsKey[] = "Software\\QuorvelTests\\ResultViews";
constexpr int kRestored = 16;
// 2024-12-01 09:00 and 2025-01-16 08:00: text order and time order differ in most locales.
constexpr uint32_t kDecember2024 = (uint32_t{(2024 - 1980) << 9 | 12 << 5 | 1} << 16) | (9 << 11);
constexpr uint32_t kJanuary2025 = (uint32_t{(2025 - 1980) << 9 | 1 << 5 | 16} << 16) | (8 << 11);

struct TreeItemImages {
  int image, selected, state;
  bool cut;
};

TreeItemImages ItemImagesOf(HWND tree, const TreeNode& node) {
  TVITEMA item{};
  item.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
  item.hItem = static_cast<HTREEITEM>(node.ViewItem());
  item.stateMask = TVIS_STATEIMAGEMASK | TVIS_CUT;
  EXPECT_TRUE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) << node.Text();
  return {item.iImage, item.iSelectedImage, static_cast<int>((item.state & TVIS_STATEIMAGEMASK) >> 12),
          (item.state & TVIS_CUT) != 0};
}

struct RowImages {
  int image, state;  // state: the strip image, -1 for none
  bool cut;
};

RowImages RowImagesOf(HWND list, int row) {
  LVITEMA item{};
  item.mask = LVIF_IMAGE | LVIF_STATE;
  item.iItem = row;
  item.stateMask = LVIS_STATEIMAGEMASK | LVIS_CUT;
  EXPECT_TRUE(SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  return {item.iImage, static_cast<int>((item.state & LVIS_STATEIMAGEMASK) >> 12) - 1, (item.state & LVIS_CUT) != 0};
}

std::vector<std::string> Captions(HWND list) {
  std::vector<std::string> captions;
  const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) captions.push_back(ListText(list, row, 0));
  return captions;
}

int HeaderFormat(HWND list, int column) {
  HDITEMA item{};
  item.mask = HDI_FORMAT;
  SendMessageA(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMA, column,
               reinterpret_cast<LPARAM>(&item));
  return item.fmt;
}

class ResultViewsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitControlsForTests();
    folder = TestFolder("QuorvelResultViews");
    session.State().programFolder = folder;
    settings = std::make_unique<StaticRegScope>(kSettingsKey, folder);
    window = std::make_unique<MainWindow>(session, [](HWND, const ErrorSource&, std::exception_ptr) {});
    ASSERT_NE(window->Create(), nullptr);
    logFile = folder + "views.SXL";
    WriteLog();
    OpenLog(session, ui, logFile);
  }
  void TearDown() override {
    window.reset();
    DrainQuitMessages();
    settings.reset();
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    DeleteFileA(logFile.c_str());
    RemoveDirectoryA(folder.c_str());
  }

  // A registry root without changes beside one with a changed key; a drive (image 17) with a
  // changed folder; an INI file with a changed and a new section, a changed text file, and a
  // text file without changes.
  void WriteLog() {
    ChangeBlockBuilder reg(kRegistryChangeHeader);
    const int32_t values = reg.AddValues({LogText("Path", 11, "old"), LogText("Path", 12, "new"),
                                          LogDword("Count", 9, 7), LogBinary("Blob", 10 | kRestored, "ab")});
    ChangeBlockBuilder drv(kDriveChangeHeader);
    const int32_t files = drv.AddFiles({{"b.dll", 9, kJanuary2025, 9, 0x20},
                                        {"A.exe", 10 | kRestored, kDecember2024, 10000, 0x20},
                                        {"c.txt", 9, kJanuary2025 + 1, 800, 0x21}});
    ChangeBlockBuilder sys(kSystemFileChangeHeader);
    const int32_t section = sys.AddEntries({{"run", 9, "c.exe"}, {"Load", 11, "a.exe"}, {"Load", 12, "b.exe"}});
    const int32_t newSection = sys.AddEntries({{"k", 9, "v"}});
    const int32_t lines = sys.AddEntries({{"SET B=2", 9, "", 11}, {"SET A=1", 10, "", 2}});

    TreeModel registry, drives, systemFiles;
    TreeNode* top = AddLogNode(registry, nullptr, "My Computer", 0, kImageComputer, kImageComputer);
    AddLogNode(registry, top, "HKEY_CLASSES_ROOT", 0, 0, 1);
    TreeNode* user = AddLogNode(registry, top, "HKEY_CURRENT_USER", 0, 0, 1);
    AddLogNode(registry, user, "Software", 8 | kRestored, 0, 1, values);
    TreeNode* drive = AddLogNode(drives, AddLogNode(drives, nullptr, "Drives", 0, 2, 2), "C: System", 0, 17, 17);
    AddLogNode(drives, drive, "APP", 8, 0, 1, files);
    TreeNode* filesTop = AddLogNode(systemFiles, nullptr, "System Files", 0, 0, 0);
    TreeNode* winIni = AddLogNode(systemFiles, filesTop, "WIN.INI", 0, kImageIniFile, kImageIniFile);
    AddLogNode(systemFiles, winIni, "[windows]", 8, kImageIniFile, kImageIniFile, section);
    AddLogNode(systemFiles, winIni, "[New]", 6, kImageTextFile, kImageTextFile, newSection);
    AddLogNode(systemFiles, filesTop, "AUTOEXEC.BAT", 8, kImageTextFile, kImageTextFile, lines);
    AddLogNode(systemFiles, filesTop, "CONFIG.SYS", 0, kImageTextFile, kImageTextFile);

    LogSelection selection;
    TreeModel* const results[3] = {&registry, &drives, &systemFiles};
    const Bytes blocks[3] = {reg.Finish(), drv.Finish(), sys.Finish()};
    LogPositions positions;
    WriteFileBytes(logFile, AssembleLog(selection, results, blocks, positions));
  }

  TreeNode* Find(LogSection section, const std::string& path) {
    TreeModel& tree = session.Results().Of(section);
    TreeNode* node = tree.FirstTop();
    for (size_t start = 0, end; node && start <= path.size(); start = end + 1) {
      end = std::min(path.find('\\', start), path.size());
      TreeNode* found = nullptr;
      for (size_t i = 0; i < node->Count() && !found; ++i)
        if (node->Child(i)->Text() == path.substr(start, end - start)) found = node->Child(i);
      node = found;
    }
    return node;
  }
  HWND Control(const char* name) { return window->Control(name); }
  LRESULT Notify(HWND from, NMHDR& header, UINT code) {
    header = {from, static_cast<UINT_PTR>(GetDlgCtrlID(from)), code};
    return SendMessageA(window->Handle(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
  }
  void ClickHeader(HWND list, int column) {
    NMLISTVIEW click{};
    click.iItem = -1;
    click.iSubItem = column;
    Notify(list, click.hdr, LVN_COLUMNCLICK);
  }

  std::string folder, logFile;
  Session session;
  std::unique_ptr<StaticRegScope> settings;
  ScriptedInteraction ui;
  std::unique_ptr<MainWindow> window;
};

}  // namespace

TEST_F(ResultViewsTest, TreeNodesShowTheirImagesFromTheImageListsTheirIndexesCameFrom) {
  struct Case {
    LogSection section;
    const char* tree;
    const char* path;
    TreeItemImages expected;
  };
  const Case cases[] = {
      {LogSection::Registry, "ResultView", "HKEY_CURRENT_USER", {0, 1, 0, false}},
      {LogSection::Registry, "ResultView", "HKEY_CURRENT_USER\\Software", {0, 1, 8, true}},
      {LogSection::Drives, "DriveResult", "C: System", {17, 17, 0, false}},
      {LogSection::Drives, "DriveResult", "C: System\\APP", {0, 1, 8, false}},
      {LogSection::SystemFiles, "SystemResult", "WIN.INI", {kImageIniFile, kImageIniFile, 0, false}},
      {LogSection::SystemFiles, "SystemResult", "WIN.INI\\[windows]", {kImageIniFile, kImageIniFile, 8, false}},
      {LogSection::SystemFiles, "SystemResult", "WIN.INI\\[New]", {kImageTextFile, kImageTextFile, 6, false}},
      {LogSection::SystemFiles, "SystemResult", "AUTOEXEC.BAT", {kImageTextFile, kImageTextFile, 8, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    TreeNode* node = Find(c.section, c.path);
    ASSERT_NE(node, nullptr);
    session.Results().Of(c.section).Expand(node->Parent());
    const TreeItemImages shown = ItemImagesOf(Control(c.tree), *node);
    EXPECT_EQ(shown.image, c.expected.image);
    EXPECT_EQ(shown.selected, c.expected.selected);
    EXPECT_EQ(shown.state, c.expected.state);
    EXPECT_EQ(shown.cut, c.expected.cut);
  }

  // Drive icons and the system-file images lie beyond the strip, in the selection trees' lists.
  const std::pair<const char*, const char*> shared[] = {{"DriveResult", "DriveSel"}, {"SystemResult", "SystemSelect"}};
  for (const auto& [result, selection] : shared) {
    SCOPED_TRACE(result);
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(Control(result), TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
    EXPECT_EQ(images,
              reinterpret_cast<HIMAGELIST>(SendMessageA(Control(selection), TVM_GETIMAGELIST, TVSIL_NORMAL, 0)));
  }
  auto systemImages =
      reinterpret_cast<HIMAGELIST>(SendMessageA(Control("SystemResult"), TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
  EXPECT_GT(ImageList_GetImageCount(systemImages), kImageSystemEntry);
}

TEST_F(ResultViewsTest, ListRowsShowTheirValueAndKindImages) {
  struct Case {
    LogSection section;
    const char* list;
    const char* path;
    std::vector<RowImages> rows;  // in the order shown
  };
  const Case cases[] = {
      {LogSection::Registry,
       "ResultValues",
       "HKEY_CURRENT_USER\\Software",
       {{kImageStringValue, 11, false},
        {kImageStringValue, 12, false},
        {kImageIntegerValue, 9, false},
        {kImageBinaryValue, 10, true}}},
      // Sorted by caption: "Load" twice, then "run".
      {LogSection::SystemFiles,
       "SystemResultValues",
       "WIN.INI\\[windows]",
       {{kImageSystemEntry, 11, false}, {kImageSystemEntry, 12, false}, {kImageSystemEntry, 9, false}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    window->Results().Select(c.section, Find(c.section, c.path));
    HWND list = Control(c.list);
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(c.rows.size()));
    for (int row = 0; row < static_cast<int>(c.rows.size()); ++row) {
      SCOPED_TRACE(row);
      const RowImages shown = RowImagesOf(list, row);
      EXPECT_EQ(shown.image, c.rows[row].image);
      EXPECT_EQ(shown.state, c.rows[row].state);
      EXPECT_EQ(shown.cut, c.rows[row].cut);
    }
  }
  auto entryImages =
      reinterpret_cast<HIMAGELIST>(SendMessageA(Control("SystemResultValues"), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  EXPECT_GT(ImageList_GetImageCount(entryImages), kImageSystemEntry);
}

TEST_F(ResultViewsTest, EntriesSortByCaptionAndHeaderClicksSortByValueThenReverse) {
  window->Results().Select(LogSection::SystemFiles, Find(LogSection::SystemFiles, "AUTOEXEC.BAT"));
  HWND entries = Control("SystemResultValues");
  EXPECT_EQ(Captions(entries), (std::vector<std::string>{"Line:    3", "Line:   12"})) << "by caption, not log order";
  EXPECT_EQ(ListText(entries, 0, 1), "SET A=1");
  EXPECT_TRUE(HeaderFormat(entries, 0) & HDF_SORTUP);

  window->Results().Select(LogSection::Drives, Find(LogSection::Drives, "C: System\\APP"));
  HWND files = Control("ResultDriveFiles");
  EXPECT_TRUE(HeaderFormat(files, 1) & LVCFMT_RIGHT) << "sizes right-aligned";
  EXPECT_EQ(Captions(files), (std::vector<std::string>{"b.dll", "A.exe", "c.txt"})) << "the log's order at first";

  struct Click {
    int column;
    std::vector<std::string> order;
    int arrow;
  };
  const Click clicks[] = {
      {0, {"A.exe", "b.dll", "c.txt"}, HDF_SORTUP},    // names ignoring case
      {0, {"c.txt", "b.dll", "A.exe"}, HDF_SORTDOWN},  // the same header again: reversed
      {1, {"b.dll", "c.txt", "A.exe"}, HDF_SORTUP},    // 9 < 800 < 10,000 as numbers
      {2, {"A.exe", "b.dll", "c.txt"}, HDF_SORTUP},    // December 2024 first, then by minute
      {2, {"c.txt", "b.dll", "A.exe"}, HDF_SORTDOWN},
  };
  for (const Click& click : clicks) {
    SCOPED_TRACE(click.column);
    ClickHeader(files, click.column);
    EXPECT_EQ(Captions(files), click.order);
    EXPECT_EQ(HeaderFormat(files, click.column) & (HDF_SORTUP | HDF_SORTDOWN), click.arrow);
    for (int other = 0; other < 4; ++other) {
      if (other != click.column) {
        EXPECT_EQ(HeaderFormat(files, other) & (HDF_SORTUP | HDF_SORTDOWN), 0) << other;
      }
    }
    // Each row still stands for its own record.
    ListView view = files;
    for (int row = 0; row < 3; ++row) {
      const std::vector<FilterRow> filter = window->Results().FilterRows(LogSection::Drives);
      EXPECT_EQ(filter[view.OwnerOf(row)].name, click.order[static_cast<size_t>(row)]);
    }
  }

  // A refill keeps the user's order.
  window->Results().ShowSelectedRows(LogSection::Drives);
  EXPECT_EQ(Captions(files), clicks[std::size(clicks) - 1].order);
}

TEST_F(ResultViewsTest, ColumnsFitTheirTextsButKeepTheUsersWidth) {
  ListView files = Control("ResultDriveFiles");
  files.SetColumnWidth(0, 5);  // as the user left them last time
  files.SetColumnWidth(2, 400);
  window->Results().Select(LogSection::Drives, Find(LogSection::Drives, "C: System\\APP"));
  auto textWidth = [&](const char* text) {
    return static_cast<int>(SendMessageA(files, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text)));
  };
  EXPECT_GT(files.ColumnWidth(0), textWidth("Filename")) << "widened to show its caption";
  EXPECT_GT(files.ColumnWidth(1), textWidth("10,000"));
  EXPECT_EQ(files.ColumnWidth(2), 400) << "wider than its texts: the user's width stays";

  // The user drags a divider; the next fill keeps that width too, and still fits the others.
  files.SetColumnWidth(1, 300);
  files.SetColumnWidth(0, 5);
  window->Results().ShowSelectedRows(LogSection::Drives);
  EXPECT_EQ(files.ColumnWidth(1), 300);
  EXPECT_GT(files.ColumnWidth(0), textWidth("Filename"));
  EXPECT_EQ(files.ColumnWidth(2), 400);
}

TEST_F(ResultViewsTest, RestoredRecordsAndNodesDrawGreyed) {
  window->Results().Select(LogSection::Registry, Find(LogSection::Registry, "HKEY_CURRENT_USER\\Software"));
  HWND values = Control("ResultValues");
  for (int row = 0; row < 4; ++row) {
    SCOPED_TRACE(row);
    NMLVCUSTOMDRAW draw{};
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    draw.clrText = RGB(1, 2, 3);
    const LRESULT result = Notify(values, draw.nmcd.hdr, NM_CUSTOMDRAW);
    const bool restored = row == 3;
    EXPECT_EQ(result, restored ? CDRF_NEWFONT : CDRF_DODEFAULT);
    EXPECT_EQ(draw.clrText, restored ? GetSysColor(COLOR_GRAYTEXT) : RGB(1, 2, 3));
  }
  NMLVCUSTOMDRAW start{};
  start.nmcd.dwDrawStage = CDDS_PREPAINT;
  EXPECT_EQ(Notify(values, start.nmcd.hdr, NM_CUSTOMDRAW), CDRF_NOTIFYITEMDRAW);

  HWND tree = Control("ResultView");
  window->Results().Select(LogSection::Registry, nullptr);
  for (const char* path : {"HKEY_CURRENT_USER", "HKEY_CURRENT_USER\\Software"}) {
    SCOPED_TRACE(path);
    NMTVCUSTOMDRAW draw{};
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.nmcd.lItemlParam = reinterpret_cast<LPARAM>(Find(LogSection::Registry, path));
    draw.clrText = RGB(1, 2, 3);
    Notify(tree, draw.nmcd.hdr, NM_CUSTOMDRAW);
    EXPECT_EQ(draw.clrText, Find(LogSection::Registry, path)->Cut() ? GetSysColor(COLOR_GRAYTEXT) : RGB(1, 2, 3));
  }
  EXPECT_TRUE(Find(LogSection::Registry, "HKEY_CURRENT_USER\\Software")->Cut());
}

TEST_F(ResultViewsTest, RootsWithoutChangesShowNoNodeUntilTheyGetOne) {
  TreeNode* computer = session.Results().registry.FirstTop();
  EXPECT_EQ(Find(LogSection::Registry, "HKEY_CLASSES_ROOT")->ViewItem(), nullptr);
  EXPECT_EQ(Find(LogSection::SystemFiles, "CONFIG.SYS")->ViewItem(), nullptr);
  HWND tree = Control("ResultView");
  auto first = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(computer->ViewItem()));
  EXPECT_EQ(first, reinterpret_cast<LRESULT>(Find(LogSection::Registry, "HKEY_CURRENT_USER")->ViewItem()));
  EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 3) << "My Computer, HKEY_CURRENT_USER, Software";

  // A node that gets something to show appears in its place among its siblings.
  TreeModel& registry = session.Results().registry;
  TreeNode* classes = Find(LogSection::Registry, "HKEY_CLASSES_ROOT");
  registry.Add(classes, {.text = ".qvz", .stateIndex = 6, .imageIndex = 0, .selectedIndex = 1});
  ASSERT_NE(classes->ViewItem(), nullptr);
  EXPECT_NE(classes->FirstChild()->ViewItem(), nullptr);
  first = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(computer->ViewItem()));
  EXPECT_EQ(first, reinterpret_cast<LRESULT>(classes->ViewItem()));
}

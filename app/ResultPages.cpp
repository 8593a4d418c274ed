#include "app/ResultPages.h"

#include <commctrl.h>

#include <map>

#include "core/TextCompare.h"
#include "datafiles/RecordKinds.h"
#include "platform/SettingsAccess.h"
#include "ui/ListView.h"
#include "ui/ShellIcons.h"
#include "ui/ShellOpen.h"

namespace {

void FillRows(const ListView& list, const std::vector<ResultRow>& rows) {
  ListView::Refill refill(list);
  for (size_t i = 0; i < rows.size(); ++i) {
    const ResultRow& row = rows[i];
    std::vector<std::string> cells{row.caption};
    cells.insert(cells.end(), row.columns.begin(), row.columns.end());
    // State image 0 is the "no kind" of the strip: no state image.
    list.AddRow({i, row.imageIndex, row.stateImage > 0 ? row.stateImage : kListNoImage, row.greyed}, cells);
  }
}

bool ControlKeyDown() { return GetKeyState(VK_CONTROL) < 0; }

// A root key, drive or system file that the compare reached but found nothing changed under:
// the log keeps its node, the tree does not show it.
bool IsEmptyRoot(const TreeNode& node) {
  return node.Level() == 1 && KindOf(node.StateIndex()) == kKindPath && node.Count() == 0 && !node.HasChildren();
}

template <class Number>
int CompareNumbers(Number a, Number b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

// The order of two rows by one column of a section's list: sizes and dates by value (the packed
// date and time orders as a number, date high), every text ignoring case.
int CompareByColumn(LogSection section, int column, const ResultRow& a, const ResultRow& b) {
  if (section == LogSection::Drives && column == 1) return CompareNumbers(a.size, b.size);
  if (section == LogSection::Drives && column == 2) return CompareNumbers(a.time, b.time);
  auto cell = [column](const ResultRow& row) -> const std::string& {
    static const std::string kNone;
    if (column == 0) return row.caption;
    const size_t at = static_cast<size_t>(column - 1);
    return at < row.columns.size() ? row.columns[at] : kNone;
  };
  return CompareTextLocale(cell(a), cell(b));
}

}  // namespace

namespace {

int ImageSizeOf(HIMAGELIST images) {
  int width = 16;
  int height = 16;
  if (images) ImageList_GetIconSize(images, &width, &height);
  return width;
}

}  // namespace

// The small image list of the changed-files list, refilled for every node.
class ResultPages::ImageList {
 public:
  // Icons at the size of the strip's images, which follows the window's DPI.
  explicit ImageList(int size) : list_(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 8, 32)) {}

  HIMAGELIST Handle() const { return list_.Get(); }
  void Clear() { ImageList_RemoveAll(list_.Get()); }
  // The index of the added icon; -1 without icon.
  int Add(const UniqueIcon& icon) { return icon ? ImageList_AddIcon(list_.Get(), icon.Get()) : -1; }

 private:
  UniqueImageList list_;
};

ResultPages::ResultPages(Session& session, GuiInteraction& ui, const ResultControls& controls,
                         const ResultImages& images)
    : session_(session),
      ui_(ui),
      controls_(controls),
      images_(images),
      fileIcons_(std::make_unique<ImageList>(ImageSizeOf(images.strip))) {
  ResultTrees trees = session_.Results();
  Bind(registryBinding_, controls_.registryTree, trees.registry, LogSection::Registry);
  Bind(driveBinding_, controls_.driveTree, trees.drives, LogSection::Drives);
  Bind(systemBinding_, controls_.systemTree, trees.systemFiles, LogSection::SystemFiles);
  ListView(controls_.registryValues).SetImageList(images_.strip, LVSIL_SMALL);
  ListView(controls_.driveFiles).SetImageList(fileIcons_->Handle(), LVSIL_SMALL);
  ListView(controls_.systemValues).SetImageList(images_.systemFiles, LVSIL_SMALL);
  for (ListView list : {controls_.registryValues, controls_.driveFiles, controls_.systemValues})
    list.SetImageList(images_.strip, LVSIL_STATE);
}

ResultPages::~ResultPages() {
  // The session outlives the pages: its trees load nothing through them any more.
  for (TreeViewBinding* binding : {registryBinding_.get(), driveBinding_.get()}) binding->Model().SetLoader({});
  registryBinding_.reset();
  driveBinding_.reset();
  systemBinding_.reset();
  if (ListView files = controls_.driveFiles; files.Exists()) files.SetImageList(nullptr, LVSIL_SMALL);
}

void ResultPages::Bind(std::unique_ptr<TreeViewBinding>& binding, HWND view, TreeModel& model, LogSection section) {
  HIMAGELIST nodeImages = section == LogSection::Drives        ? images_.drives
                          : section == LogSection::SystemFiles ? images_.systemFiles
                                                               : images_.strip;
  SendMessageA(view, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(nodeImages));
  SendMessageA(view, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(images_.strip));
  binding = std::make_unique<TreeViewBinding>(view, model, IsEmptyRoot);
  TreeViewBinding* raw = binding.get();
  if (section != LogSection::SystemFiles) {
    model.SetLoader([this, raw, section](TreeModel& tree, TreeNode& node) {
      if (!session_.HasLog()) return;
      // Selected before the wait cursor: the drive tree refuses selection changes under it.
      if (bulkExpansions_ == 0) raw->Select(&node);
      WaitCursor wait(ui_);
      const AppState& app = session_.State();
      ExpandResultNode(tree, node, app.currentLogFile, app.logPositions, section, ui_);
    });
  }
  binding->onSelect = [this, section](TreeNode* node) {
    if (bulkExpansions_ == 0) ShowRows(section, node);
  };
  binding->onExpanding = [this, raw, section](TreeNode& node) {
    if (bulkExpansions_ == 0 && ControlKeyDown()) ExpandInBulk(*raw, section, node);
  };
  // The file list reads the log while the cursor waits; the selection stays put meanwhile.
  binding->canChangeSelection = [this] { return !ui_.Waiting(); };
}

TreeViewBinding& ResultPages::BindingOf(LogSection section) const {
  switch (section) {
    case LogSection::Registry:
      return *registryBinding_;
    case LogSection::Drives:
      return *driveBinding_;
    case LogSection::SystemFiles:
      break;
  }
  return *systemBinding_;
}

bool ResultPages::HandleNotify(const NMHDR& header, LRESULT& result) {
  for (LogSection section : {LogSection::Registry, LogSection::Drives, LogSection::SystemFiles}) {
    TreeViewBinding& binding = BindingOf(section);
    if (header.hwndFrom != binding.Handle()) continue;
    if (header.code == NM_RCLICK) {
      OnTreeRightClick(binding, section);
      result = TRUE;  // no WM_CONTEXTMENU after the menu
      return true;
    }
    return binding.HandleNotify(header, result);
  }
  for (LogSection section : {LogSection::Registry, LogSection::Drives, LogSection::SystemFiles}) {
    if (header.hwndFrom != ListOf(section)) continue;
    if (header.code == NM_CUSTOMDRAW) {
      result = ListView::DrawCutRowsGreyed(header);
      return true;
    }
    if (header.code == LVN_COLUMNCLICK) {
      OnColumnClick(section, reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
      result = 0;
      return true;
    }
    if (header.code != NM_RCLICK) continue;
    // The list selects the row under the mouse itself; without a row or a node, no menu.
    if (ListView(header.hwndFrom).HasSelection() && SelectedNode(section) && onListMenu) {
      DWORD position = GetMessagePos();
      onListMenu(section, POINT{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))});
    }
    result = TRUE;
    return true;
  }
  if (header.hwndFrom == controls_.driveFiles && header.code == NM_DBLCLK) {
    OpenFileRow(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
    result = 0;
    return true;
  }
  return false;
}

std::vector<ResultRow>& ResultPages::ShownRows(LogSection section) { return shownRows_[static_cast<size_t>(section)]; }

const std::vector<ResultRow>& ResultPages::ShownRows(LogSection section) const {
  return shownRows_[static_cast<size_t>(section)];
}

ListView ResultPages::ListOf(LogSection section) const {
  switch (section) {
    case LogSection::Registry:
      return controls_.registryValues;
    case LogSection::Drives:
      return controls_.driveFiles;
    case LogSection::SystemFiles:
      break;
  }
  return controls_.systemValues;
}

void ResultPages::OnTreeRightClick(TreeViewBinding& binding, LogSection section) {
  DWORD position = GetMessagePos();
  POINT screen{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
  POINT client = screen;
  ScreenToClient(binding.Handle(), &client);
  // The menu acts on the node under the mouse; with none there, no node and no menu.
  binding.Select(binding.NodeAt(client));
  if (binding.Selected() && onTreeMenu) onTreeMenu(section, screen);
}

void ResultPages::ExpandInBulk(TreeViewBinding& binding, LogSection section, TreeNode& node) {
  {
    BulkExpansion bulk(*this);
    TreeModel& tree = binding.Model();
    TreeUpdate update(tree);
    WaitCursor wait(ui_);
    const AppState& app = session_.State();
    for (size_t i = 0; i < node.Count(); ++i)
      if (node.Child(i)->HasChildren())
        ExpandSubtree(tree, *node.Child(i), app.currentLogFile, app.logPositions, section, ui_);
  }
  ShowRows(section, binding.Selected());
  binding.Select(&node);
}

void ResultPages::ClearLists() {
  for (LogSection section : {LogSection::Registry, LogSection::Drives, LogSection::SystemFiles}) {
    ListOf(section).Clear();
    ShownRows(section).clear();
  }
}

TreeNode* ResultPages::SelectedNode(LogSection section) const { return BindingOf(section).Selected(); }

void ResultPages::Select(LogSection section, TreeNode* node) { BindingOf(section).Select(node); }

void ResultPages::OpenFileRow(int row) {
  TreeNode* folder = SelectedNode(LogSection::Drives);
  const std::vector<ResultRow>& files = ShownRows(LogSection::Drives);
  const size_t owner = row < 0 ? ListView::kNoOwner : ListOf(LogSection::Drives).OwnerOf(row);
  if (!folder || owner >= files.size()) return;
  OpenWithShell(GetParent(controls_.driveFiles), DriveFolderPath(*folder) + files[owner].name);
}

void ResultPages::ShowSelectedRows(LogSection section) { ShowRows(section, SelectedNode(section)); }

std::vector<FilterRow> ResultPages::FilterRows(LogSection section) const {
  return FilterOf(ShownRows(section), ListOf(section).SelectedOwners());
}

void ResultPages::ShowFilterSelection(LogSection section, const std::vector<FilterRow>& rows) {
  // The filter's rows are the shown records in their own order: the owner indexes of the list.
  const ListView list = ListOf(section);
  if (rows.size() != ShownRows(section).size()) return;  // the list shows another node by now
  for (size_t owner = 0; owner < rows.size(); ++owner) list.SetSelected(owner, rows[owner].selected);
}

void ResultPages::PickFileIcons(const TreeNode* node, std::vector<ResultRow>& rows) {
  fileIcons_->Clear();
  // Rows whose type has no icon show the default document.
  const int defaultIcon = fileIcons_->Add(DefaultDocumentSmallIcon());
  const std::string folder = node ? DriveFolderPath(*node) : "";
  std::map<std::string, int> byExtension;
  for (ResultRow& row : rows) {
    const int kind = KindOf(row.kind);
    if (!folder.empty() && (kind == kRecordNew || kind == kRecordOldSide || kind == kRecordNewSide)) {
      // The file is on the disk: the shell's own icon for it, or none.
      row.imageIndex = fileIcons_->Add(FileSmallIcon(folder + row.name));
      continue;
    }
    const size_t dot = row.name.find_last_of('.');
    const std::string extension = dot == std::string::npos ? "" : row.name.substr(dot);
    auto known = byExtension.find(extension);
    if (known == byExtension.end()) {
      int index = extension.empty() ? -1 : fileIcons_->Add(ExtensionSmallIcon(row.name));
      known = byExtension.emplace(extension, index >= 0 ? index : defaultIcon).first;
    }
    row.imageIndex = known->second;
  }
}

void ResultPages::FillList(LogSection section) {
  const ListView list = ListOf(section);
  const size_t at = static_cast<size_t>(section);
  std::vector<int>& floors = columnFloors_[at];
  std::vector<int>& fitted = fittedWidths_[at];
  // A fill widens each column to its texts but never below the user's width, so a column the
  // user made wide stays wide and a narrow one still shows its texts. The user's widths are
  // those from before the first fill (kept from the last run, or the built ones) and any width
  // that differs from what the last fill set (a drag of the divider since). A fill's own widths
  // never count as the user's, or every fill would ratchet them up.
  const std::vector<int> current = list.ColumnWidths();
  if (floors.empty()) floors = current;
  for (size_t column = 0; column < fitted.size() && column < current.size() && column < floors.size(); ++column)
    if (current[column] != fitted[column]) floors[column] = current[column];
  FillRows(list, ShownRows(section));
  SortList(section);
  list.FitColumns(floors);
  fitted = list.ColumnWidths();
}

void ResultPages::SortList(LogSection section) {
  const ListSort sort = sorts_[static_cast<size_t>(section)];
  const ListView list = ListOf(section);
  list.ShowSortArrow(sort.column, sort.ascending);
  if (sort.column < 0) return;
  const std::vector<ResultRow>& rows = ShownRows(section);
  list.SortRows([&](size_t a, size_t b) {
    if (a >= rows.size() || b >= rows.size()) return CompareNumbers(a, b);
    const int order = CompareByColumn(section, sort.column, rows[a], rows[b]);
    // Equal rows keep the order of the log, both ways.
    if (order == 0) return CompareNumbers(a, b);
    return sort.ascending ? order : -order;
  });
}

void ResultPages::OnColumnClick(LogSection section, int column) {
  ListSort& sort = sorts_[static_cast<size_t>(section)];
  sort.ascending = sort.column == column ? !sort.ascending : true;
  sort.column = column;
  SortList(section);
}

void ResultPages::ShowRows(LogSection section, TreeNode* node) {
  std::vector<ResultRow> rows;
  auto fill = [&] {
    if (section == LogSection::Drives) PickFileIcons(node, rows);
    ShownRows(section) = std::move(rows);
    FillList(section);
  };
  const AppState& app = session_.State();
  try {
    if (node && session_.HasLog()) {
      switch (section) {
        case LogSection::Registry:
          ReadRegistryRows(*node, app.currentLogFile, app.logPositions, ReadRequiredText("DefaultText"),
                           ReadRequiredText("EmptyText"), rows);
          break;
        case LogSection::Drives:
          ReadDriveRows(*node, app.currentLogFile, app.logPositions, rows);
          break;
        case LogSection::SystemFiles:
          ReadSystemFileRows(*node, app.currentLogFile, app.logPositions, kImageSystemEntry, rows);
          break;
      }
    }
  } catch (...) {
    fill();  // the rows read so far stay
    throw;
  }
  fill();
}

#include "app/ResultPages.h"

#include <commctrl.h>

#include <map>

#include "platform/SettingsAccess.h"
#include "ui/ShellIcons.h"
#include "ui/ShellOpen.h"

namespace {

void FillRows(HWND list, const std::vector<ResultRow>& rows) {
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  for (const ResultRow& row : rows) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_STATE;
    item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<char*>(row.caption.c_str());
    item.iImage = row.imageIndex >= 0 ? row.imageIndex : I_IMAGENONE;
    item.stateMask = LVIS_STATEIMAGEMASK | LVIS_CUT;
    // A list view counts its state images from 1 (0 draws none), a tree view from 0.
    item.state = INDEXTOSTATEIMAGEMASK(row.stateImage > 0 ? row.stateImage + 1 : 0) | (row.greyed ? LVIS_CUT : 0);
    int index = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (size_t i = 0; i < row.columns.size(); ++i) {
      LVITEMA sub{};
      sub.iSubItem = static_cast<int>(i + 1);
      sub.pszText = const_cast<char*>(row.columns[i].c_str());
      SendMessageA(list, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&sub));
    }
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

std::string ItemText(HWND list, int row) {
  char text[MAX_PATH * 2] = "";
  LVITEMA item{};
  item.iSubItem = 0;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

bool ControlKeyDown() { return GetKeyState(VK_CONTROL) < 0; }

}  // namespace

// The small image list of the changed-files list, refilled for every node.
class ResultPages::ImageList {
 public:
  ImageList() : list_(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 8, 32)) {}

  HIMAGELIST Handle() const { return list_.Get(); }
  void Clear() { ImageList_RemoveAll(list_.Get()); }
  // The index of the added icon; -1 without icon.
  int Add(const UniqueIcon& icon) { return icon ? ImageList_AddIcon(list_.Get(), icon.Get()) : -1; }

 private:
  UniqueImageList list_;
};

ResultPages::ResultPages(Session& session, GuiInteraction& ui, const ResultControls& controls, HIMAGELIST icons)
    : session_(session), ui_(ui), controls_(controls), icons_(icons), fileIcons_(std::make_unique<ImageList>()) {
  ResultTrees trees = session_.Results();
  Bind(registryBinding_, controls_.registryTree, trees.registry, LogSection::Registry);
  Bind(driveBinding_, controls_.driveTree, trees.drives, LogSection::Drives);
  Bind(systemBinding_, controls_.systemTree, trees.systemFiles, LogSection::SystemFiles);
  for (HWND list : {controls_.registryValues, controls_.driveFiles, controls_.systemValues}) {
    HIMAGELIST small = list == controls_.driveFiles ? fileIcons_->Handle() : icons_;
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(icons_));
  }
}

ResultPages::~ResultPages() {
  // The session outlives the pages: its trees load nothing through them any more.
  for (TreeViewBinding* binding : {registryBinding_.get(), driveBinding_.get()}) binding->Model().SetLoader({});
  registryBinding_.reset();
  driveBinding_.reset();
  systemBinding_.reset();
  if (IsWindow(controls_.driveFiles)) SendMessageA(controls_.driveFiles, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
}

void ResultPages::Bind(std::unique_ptr<TreeViewBinding>& binding, HWND view, TreeModel& model, LogSection section) {
  SendMessageA(view, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(icons_));
  SendMessageA(view, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(icons_));
  binding = std::make_unique<TreeViewBinding>(view, model);
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
    if (header.hwndFrom != ListOf(section) || header.code != NM_RCLICK) continue;
    // The list selects the row under the mouse itself; without a row or a node, no menu.
    const bool hasRow = SendMessageA(header.hwndFrom, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) >= 0;
    if (hasRow && SelectedNode(section) && onListMenu) {
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

HWND ResultPages::ListOf(LogSection section) const {
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
  for (HWND list : {controls_.registryValues, controls_.driveFiles, controls_.systemValues})
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
}

TreeNode* ResultPages::SelectedNode(LogSection section) const { return BindingOf(section).Selected(); }

void ResultPages::Select(LogSection section, TreeNode* node) { BindingOf(section).Select(node); }

void ResultPages::OpenFileRow(int row) {
  TreeNode* folder = SelectedNode(LogSection::Drives);
  if (row < 0 || !folder) return;
  OpenWithShell(GetParent(controls_.driveFiles), DriveFolderPath(*folder) + ItemText(controls_.driveFiles, row));
}

void ResultPages::ShowSelectedRows(LogSection section) { ShowRows(section, SelectedNode(section)); }

std::vector<FilterRow> ResultPages::FilterRows(LogSection section) const {
  HWND list = ListOf(section);
  std::vector<FilterRow> rows;
  const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    auto state = static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK | LVIS_SELECTED));
    // The list counts state images from 1; the image is the record kind.
    const int image = static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12) - 1;
    rows.push_back({ItemText(list, row), image, (state & LVIS_SELECTED) != 0});
  }
  return rows;
}

void ResultPages::ShowFilterSelection(LogSection section, const std::vector<FilterRow>& rows) {
  HWND list = ListOf(section);
  const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count && row < static_cast<int>(rows.size()); ++row) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = rows[row].selected ? LVIS_SELECTED : 0;
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  }
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

void ResultPages::ShowRows(LogSection section, TreeNode* node) {
  std::vector<ResultRow> rows;
  HWND list = ListOf(section);
  auto fill = [&] {
    if (section == LogSection::Drives) PickFileIcons(node, rows);
    FillRows(list, rows);
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
          ReadSystemFileRows(*node, app.currentLogFile, app.logPositions, -1, rows);
          break;
      }
    }
  } catch (...) {
    fill();  // the rows read so far stay
    throw;
  }
  fill();
}

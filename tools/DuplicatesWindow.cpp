#include "tools/DuplicatesWindow.h"

#include <algorithm>
#include <tuple>

#include "app/RestoreSettingsOf.h"
#include "app/SelectionTreeBuilder.h"
#include "core/CheckStates.h"
#include "core/Formatting.h"
#include "core/TextCompare.h"
#include "platform/PathText.h"
#include "platform/TMyRegIniFile.h"
#include "tools/DuplicatesWindowIds.h"
#include "tools/FoundFileDeletion.h"
#include "tools/FoundFileList.h"
#include "ui/Dpi.h"

namespace {

enum GroupColumn { kNameColumn, kSizeColumn, kCountColumn };

const std::vector<ListColumn> kGroupColumns = {
    {"Name", 180}, {"Size", 80, ListAlign::Right}, {"Count", 50, ListAlign::Right}};
const std::vector<ListColumn> kPathColumns = {{"Path", 250}, {"Date", 130}};

template <class T>
int Order(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && CompareTextLocale(a, b) == 0;
}

}  // namespace

TfDouble::TfDouble(const DuplicatesContext& context)
    : ToolWindow(IDD_DUPLICATES, "TfDouble", kSection, context.settingsKeyPath, {560, 380}),
      context_(context),
      ui_(StatusControls{}),
      search_(*this, [this](const std::vector<std::string>& names) { return SelectionOf(names); }) {}

TfDouble::~TfDouble() {
  // The view goes before the model it follows.
  binding_.reset();
}

ListView TfDouble::MasterView() const { return Item(IDC_DOUBLE_MASTER); }
ListView TfDouble::DetailView() const { return Item(IDC_DOUBLE_DETAIL); }

std::vector<FormList> TfDouble::LayoutLists() const {
  return {{"MasterView", MasterView()}, {"DetailView", DetailView()}};
}

bool TfDouble::OnInit() {
  ui_ = GuiInteraction(StatusControls{hwnd_, Item(IDC_DOUBLE_STATUS)});
  for (ListView list : {MasterView(), DetailView()}) list.SetFullRowSelect();
  MasterView().AddColumns(kGroupColumns);
  DetailView().AddColumns(kPathColumns);
  CheckRadioButton(hwnd_, IDC_DOUBLE_BY_DATE, IDC_DOUBLE_BY_CONTENT, IDC_DOUBLE_BY_DATE);

  // The strip gives the folder images and the check marks; the drives' shell icons follow it.
  const DpiScale scale(WindowDpi(hwnd_));
  images_.Reset(LoadImageStrip("Icons", scale.ImageSize(), scale.ImageFactor()));
  const HWND tree = Item(IDC_DOUBLE_TREE);
  SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_.Get()));
  SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(images_.Get()));
  driveTree_.SetLoader(LoadDriveChildren);
  BuildDriveSelectionTree(driveTree_, [this](HICON icon) { return ImageList_AddIcon(images_.Get(), icon); });
  binding_ = std::make_unique<TreeViewBinding>(tree, driveTree_);
  binding_->onStateClick = [this](TreeNode& node) {
    binding_->Select(&node);
    ClickStateImage(node);
  };
  binding_->onCollapsed = [](TreeNode& node) { CollapseSelectionNode(node); };
  if (TreeNode* top = driveTree_.FirstTop()) driveTree_.Expand(top);

  Item(IDC_DOUBLE_CANCEL).Enable(true);
  RestoreLayout();
  return true;
}

bool TfDouble::OnCommand(int id, int code, HWND) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_DOUBLE_START:
      StartSearch();
      return true;
    case IDC_DOUBLE_CANCEL:
      search_.Cancel();
      return true;
    case IDC_DOUBLE_CLOSE:
      OnCancel();
      return true;
    case IDM_DOUBLE_DELETE:
      DeleteSelectedFiles();
      return true;
    case IDM_DOUBLE_SELECT_ALL:
      SelectAllFiles();
      return true;
    default:
      return false;
  }
}

bool TfDouble::OnNotify(int id, const NMHDR& header, LRESULT& result) {
  if (binding_ && binding_->HandleNotify(header, result)) return true;
  if (id == IDC_DOUBLE_MASTER) {
    if (header.code == LVN_ITEMCHANGED) {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if ((change.uChanged & LVIF_STATE) && ((change.uNewState ^ change.uOldState) & LVIS_SELECTED)) ShowGroup();
      return true;
    }
    if (header.code == LVN_COLUMNCLICK) {
      SortGroups(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
      return true;
    }
  }
  if (id == IDC_DOUBLE_DETAIL) {
    if (HandleFoundFileListNotify(hwnd_, DetailView(), header, {IDM_DOUBLE_DELETE, IDM_DOUBLE_SELECT_ALL},
                                  search_.Running()))
      return true;
  }
  return false;
}

void TfDouble::Layout() {
  const RECT client = ClientRect();
  RECT units{7, 3, 56, 14};
  RECT text{8, 10, 64, 0};
  MapDialogRect(hwnd_, &units);
  MapDialogRect(hwnd_, &text);
  const int margin = units.left, gap = units.top, buttonWidth = units.right, buttonHeight = units.bottom;
  const int labelHeight = text.left, panelHeight = text.top, panelWidth = text.right;
  const int width = client.right, height = client.bottom;
  const int panelTop = height - gap - panelHeight;
  const int treeWidth = std::max(120, (width - 2 * margin) * 3 / 10);
  const int right = margin + treeWidth + margin;
  const int buttonLeft = width - margin - buttonWidth;
  const int listWidth = buttonLeft - margin - right;
  const int top = margin + labelHeight + gap;

  Item(IDC_DOUBLE_TREE_LABEL).Move(margin, margin, treeWidth, labelHeight);
  Item(IDC_DOUBLE_TREE).Move(margin, top, treeWidth, panelTop - gap - top);
  Item(IDC_DOUBLE_BY_DATE).Move(right, margin, listWidth / 2, labelHeight + 2);
  Item(IDC_DOUBLE_BY_CONTENT).Move(right + listWidth / 2, margin, listWidth / 2, labelHeight + 2);
  int y = margin;
  for (int id : {IDC_DOUBLE_START, IDC_DOUBLE_CANCEL, IDC_DOUBLE_CLOSE}) {
    Item(id).Move(buttonLeft, y, buttonWidth, buttonHeight);
    y += buttonHeight + gap;
  }
  const int masterLabelTop = margin + labelHeight + 3 * gap;
  const int masterTop = masterLabelTop + labelHeight + gap;
  const int listsHeight = panelTop - gap - masterTop - (2 * gap + labelHeight + gap);
  const int masterHeight = listsHeight / 2;
  Item(IDC_DOUBLE_MASTER_LABEL).Move(right, masterLabelTop, listWidth, labelHeight);
  Item(IDC_DOUBLE_MASTER).Move(right, masterTop, listWidth, masterHeight);
  const int detailLabelTop = masterTop + masterHeight + 2 * gap;
  const int detailTop = detailLabelTop + labelHeight + gap;
  Item(IDC_DOUBLE_DETAIL_LABEL).Move(right, detailLabelTop, listWidth, labelHeight);
  Item(IDC_DOUBLE_DETAIL).Move(right, detailTop, listWidth, panelTop - gap - detailTop);

  int x = width - margin - 3 * panelWidth - 2 * gap;
  Item(IDC_DOUBLE_STATUS).Move(margin, panelTop, std::max(0, x - gap - margin), panelHeight);
  for (int id : {IDC_DOUBLE_FILES, IDC_DOUBLE_FOLDERS, IDC_DOUBLE_DUPLICATES}) {
    Item(id).Move(x, panelTop, panelWidth, panelHeight);
    x += panelWidth + gap;
  }
  Invalidate();
}

FolderSelection TfDouble::SelectionOf(const std::vector<std::string>& names) const {
  // Only the nodes the tree holds: a folder made after its parent was read is not found.
  TreeNode* node = nullptr;
  for (size_t level = 0; level < names.size(); ++level) {
    TreeNode* match = nullptr;
    const size_t count = level == 0 ? driveTree_.TopCount() : node->Count();
    for (size_t i = 0; i < count && !match; ++i) {
      TreeNode* candidate = level == 0 ? driveTree_.Top(i) : node->Child(i);
      if (SameText(candidate->Text(), names[level])) match = candidate;
    }
    if (!match) return FolderSelection::NotFound;
    node = match;
  }
  if (!node) return FolderSelection::NotFound;
  switch (node->StateIndex()) {
    case kStateChecked:
      return FolderSelection::Checked;
    case kStatePartlyChecked:
      return FolderSelection::Partial;
    default:
      return FolderSelection::Unchecked;
  }
}

std::vector<DuplicateRoot> TfDouble::CheckedDrives() const {
  std::vector<DuplicateRoot> roots;
  const TreeNode* top = driveTree_.FirstTop();
  if (!top) return roots;
  for (size_t i = 0; i < top->Count(); ++i) {
    const TreeNode* drive = top->Child(i);
    if (drive->StateIndex() == kStateUnchecked || drive->Text().empty()) continue;
    roots.push_back({std::string(1, drive->Text()[0]) + ":\\",
                     {top->Text(), drive->Text()},
                     drive->StateIndex() == kStatePartlyChecked});
  }
  return roots;
}

void TfDouble::StartSearch() {
  if (search_.Running()) return;
  Item(IDC_DOUBLE_CANCEL).Enable(true);
  Item(IDC_DOUBLE_START).Enable(false);
  const RestoreSettings settings = CurrentRestoreSettings(context_.programFolder);
  context_.deletion->backupFolder = WithTrailingBackslash(settings.backupDir) + "DOUBLE\\";
  const DuplicateTest test =
      Item(IDC_DOUBLE_BY_CONTENT).IsChecked() ? DuplicateTest::NameSizeContent : DuplicateTest::NameSizeDate;
  sortColumn_ = -1;
  MasterView().ShowSortArrow(-1, true);
  binding_->LockInput(true);
  bool ended = false;
  {
    WaitCursor wait(ui_);
    MasterView().Clear();
    DetailView().Clear();
    ++updateCounter_;
    try {
      search_.Run(CheckedDrives(), test);
      ended = true;
    } catch (...) {
      ReportError(std::current_exception());
    }
    --updateCounter_;
  }
  binding_->LockInput(false);
  Item(IDC_DOUBLE_START).Enable(true);
  // After a cancel the button stays as it was, as the search left it.
  if (ended) Item(IDC_DOUBLE_CANCEL).Enable(false);
  FillGroups();
  ShowCounters(search_.Counters());
  FinishRun();
}

std::vector<std::string> TfDouble::GroupCells(size_t group) const {
  const std::vector<uint32_t>& members = search_.Groups()[group].members;
  const uint32_t first = members.front();
  return {search_.NameOf(first), std::to_string(search_.Files()[first].file.size), std::to_string(members.size())};
}

void TfDouble::FillGroups() {
  const ListView list = MasterView();
  ++updateCounter_;
  {
    ListView::Refill refill(list);
    for (size_t i = 0; i < search_.Groups().size(); ++i)
      if (!search_.Groups()[i].members.empty()) list.AddRow({i}, GroupCells(i));
  }
  --updateCounter_;
  ShowGroup();
}

void TfDouble::ShowGroup() {
  if (updateCounter_ > 0) return;
  const ListView list = DetailView();
  ListView::Refill refill(list);
  const std::vector<size_t> selected = MasterView().SelectedOwners();
  if (selected.empty()) return;
  const std::vector<uint32_t>& members = search_.Groups()[selected.front()].members;
  for (size_t i = 0; i < members.size(); ++i)
    list.AddRow({i}, {search_.PathOf(members[i]), FormatDosDateTime(search_.Files()[members[i]].file.time)});
}

void TfDouble::SortGroups(int column) {
  descending_ = column == sortColumn_ ? !descending_ : false;
  sortColumn_ = column;
  MasterView().SortRows([this, column](size_t a, size_t b) {
    const std::vector<uint32_t>& one = search_.Groups()[a].members;
    const std::vector<uint32_t>& other = search_.Groups()[b].members;
    int order = 0;
    if (column == kNameColumn) order = CompareTextLocale(search_.NameOf(one.front()), search_.NameOf(other.front()));
    if (column == kSizeColumn)
      order = Order(search_.Files()[one.front()].file.size, search_.Files()[other.front()].file.size);
    if (column == kCountColumn) order = Order(one.size(), other.size());
    return descending_ ? -order : order;
  });
  MasterView().ShowSortArrow(column, !descending_);
}

void TfDouble::SelectAllFiles() { SelectAllRows(DetailView()); }

void TfDouble::DeleteSelectedFiles() {
  const std::vector<size_t> groups = MasterView().SelectedOwners();
  const std::vector<size_t> selected = DetailView().SelectedOwners();
  if (search_.Running() || groups.empty() || selected.empty()) return;
  const size_t groupIndex = groups.front();
  std::vector<uint32_t>& members = search_.Groups()[groupIndex].members;
  const std::string question =
      DeletionQuestion(selected.size(), static_cast<size_t>(DetailView().Count()), search_.PathOf(members[selected[0]]),
                       "This will delete both the duplicate AND the original file!");
  if (ui_.Ask(MsgType::Confirmation, question, MsgButtons::OkCancel) != MsgAnswer::Ok) return;

  const DeletionSettings settings = CurrentRestoreSettings(context_.programFolder).Deletion();
  const std::vector<size_t> lastFirst(selected.rbegin(), selected.rend());
  std::vector<size_t> deleted;
  const auto refresh = [&] {
    EraseIndexes(members, deleted);
    const ListView list = MasterView();
    const int row = list.RowOf(groupIndex);
    if (row >= 0 && !members.empty()) {
      const std::string count = std::to_string(members.size());
      ListView_SetItemText(list, row, kCountColumn, const_cast<char*>(count.c_str()));
    }
    ShowGroup();
  };
  try {
    DeleteListedFiles(
        lastFirst, [&](size_t position) { return search_.PathOf(members[position]); },
        [&](const std::string& path) { return DeleteFileWithBackup(path, *context_.deletion, settings, ui_); },
        deleted);
  } catch (...) {
    refresh();
    throw;
  }
  refresh();
}

void TfDouble::SetStatus(const std::string& text) { ShowPanelText(Item(IDC_DOUBLE_STATUS), text); }

void TfDouble::ShowCounters(const SearchCounters& counters) {
  for (auto [id, label, value] : {std::tuple{IDC_DOUBLE_FILES, "Files: ", counters.files},
                                  std::tuple{IDC_DOUBLE_FOLDERS, "Folders: ", counters.folders},
                                  std::tuple{IDC_DOUBLE_DUPLICATES, "Duplicates: ", counters.duplicates}}) {
    ShowPanelText(Item(id), label + std::to_string(value));
  }
}

void RunDuplicatesWindow(HWND owner, const DuplicatesContext& context) {
  TfDouble form(context);
  form.DoModal(owner);
}

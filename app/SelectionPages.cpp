#include "app/SelectionPages.h"

#include <shellapi.h>

#include <algorithm>

#include "app/SelectionTreeBuilder.h"
#include "core/CheckStates.h"
#include "core/Errors.h"
#include "core/Formatting.h"
#include "core/StripImages.h"
#include "core/TextCompare.h"
#include "platform/FileLines.h"
#include "platform/IniFile.h"
#include "platform/SettingsAccess.h"
#include "platform/SystemFileType.h"
#include "platform/TMyRegistry.h"
#include "ui/ShellOpen.h"

namespace {


void AddRow(HWND list, const std::vector<std::string>& columns, int image) {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = const_cast<char*>(columns[0].c_str());
  item.iImage = image;
  int row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  for (size_t i = 1; i < columns.size(); ++i) {
    LVITEMA sub{};
    sub.iSubItem = static_cast<int>(i);
    sub.pszText = const_cast<char*>(columns[i].c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&sub));
  }
}

// Empties a list and stops its redrawing until the scope ends.
class ListRefill {
 public:
  explicit ListRefill(HWND list) : list_(list) {
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
  }
  ~ListRefill() {
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
  }

 private:
  HWND list_;
};

// A type the data type codes do not know has no code: -1.
int CodeOfType(DWORD type) { return type > static_cast<DWORD>(kRdHighest) ? -1 : PlatformToRegDataCode(type); }

int ImageOfCode(int code) {
  if (code == 1 || code == 2) return kImageStringValue;
  return code == 3 ? kImageIntegerValue : kImageBinaryValue;
}

std::string RowCaption(HWND list, int row) {
  char text[MAX_PATH] = "";
  LVITEMA item{};
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

HIMAGELIST CopyOfStrip(HIMAGELIST icons) { return icons ? ImageList_Duplicate(icons) : nullptr; }

}  // namespace

SelectionPages::SelectionPages(Session& session, UserInteraction& ui, const SelectionControls& controls,
                               HIMAGELIST icons)
    : session_(session), ui_(ui), controls_(controls), icons_(icons) {
  // Drives and files append their shell icons behind the strip, so the strip's indexes
  // (folders, computer) stay valid in their trees.
  driveImages_.Reset(CopyOfStrip(icons_));
  systemImages_.Reset(CopyOfStrip(icons_));
  SelectionTrees trees = session_.Selection();
  Bind(registryBinding_, controls_.registryTree, trees.registry, icons_, &SelectionPages::ShowRegistryValues);
  Bind(driveBinding_, controls_.driveTree, trees.drives, driveImages_.Get(), &SelectionPages::ShowFolderFiles);
  Bind(systemBinding_, controls_.systemTree, trees.systemFiles, systemImages_.Get(),
       &SelectionPages::ShowSystemEntries);
  SendMessageA(controls_.registryValues, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(icons_));
  SHFILEINFOA info{};
  auto systemList = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  SetWindowLongPtrA(controls_.driveFiles, GWL_STYLE, GetWindowLongPtrA(controls_.driveFiles, GWL_STYLE) | LVS_SHAREIMAGELISTS);
  SendMessageA(controls_.driveFiles, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(systemList));
}

SelectionPages::~SelectionPages() {
  registryBinding_.reset();
  driveBinding_.reset();
  systemBinding_.reset();
  driveImages_.Reset();
  systemImages_.Reset();
}

void SelectionPages::Bind(std::unique_ptr<TreeViewBinding>& binding, HWND view, TreeModel& model, HIMAGELIST images,
                          void (SelectionPages::*show)(TreeNode*)) {
  SendMessageA(view, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
  SendMessageA(view, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(icons_));
  binding = std::make_unique<TreeViewBinding>(view, model);
  TreeViewBinding* raw = binding.get();
  binding->onStateClick = [this, raw](TreeNode& node) {
    session_.State().selectionChanged = true;
    raw->Select(&node);
    ClickStateImage(node);
  };
  binding->onCollapsed = [](TreeNode& node) { CollapseSelectionNode(node); };
  binding->onSelect = [this, show](TreeNode* node) { (this->*show)(node); };
}

bool SelectionPages::HandleNotify(const NMHDR& header, LRESULT& result) {
  if (header.hwndFrom == controls_.driveFiles && header.code == NM_DBLCLK) {
    const int row = reinterpret_cast<const NMITEMACTIVATE&>(header).iItem;
    TreeNode* folder = driveBinding_->Selected();
    result = 0;
    if (row < 0 || !folder || folder->Level() < 1) return true;
    OpenWithShell(GetParent(controls_.driveFiles), DriveFolderPath(*folder) + RowCaption(controls_.driveFiles, row));
    return true;
  }
  if (header.hwndFrom == controls_.driveFiles && header.code == NM_RCLICK) {
    const bool hasRow =
        SendMessageA(controls_.driveFiles, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) >= 0;
    if (hasRow && onFileListMenu) {
      DWORD position = GetMessagePos();
      onFileListMenu(POINT{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))});
    }
    result = TRUE;
    return true;
  }
  if (header.hwndFrom == controls_.systemTree && header.code == NM_RCLICK) {
    DWORD position = GetMessagePos();
    POINT screen{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    POINT client = screen;
    ScreenToClient(controls_.systemTree, &client);
    // Adding needs no node; deleting acts on the one under the mouse.
    if (TreeNode* node = systemBinding_->NodeAt(client)) systemBinding_->Select(node);
    if (onSystemTreeMenu) onSystemTreeMenu(screen);
    result = TRUE;
    return true;
  }
  for (auto* binding : {registryBinding_.get(), driveBinding_.get(), systemBinding_.get()})
    if (binding && binding->HandleNotify(header, result)) return true;
  return false;
}

void SelectionPages::LockInput(bool locked) {
  for (auto* binding : {registryBinding_.get(), driveBinding_.get(), systemBinding_.get()})
    if (binding) binding->LockInput(locked);
}

void SelectionPages::AddUserFile(const std::string& path, bool iniFile) {
  const int image = AddShellFileIcon(path, Icons().systemFiles);
  systemBinding_->Select(session_.AddUserFile(path, iniFile, image));
}

void SelectionPages::DeleteSelectedUserFile() {
  TreeNode* node = systemBinding_->Selected();
  if (!node) return;
  session_.DeleteUserFile(node);
  ShowSystemEntries(systemBinding_->Selected());
}

void SelectionPages::LoadingNode(TreeModel& tree, TreeNode& node, const std::function<void()>& load) {
  WaitCursor wait(ui_);
  for (auto* binding : {registryBinding_.get(), driveBinding_.get(), systemBinding_.get()})
    if (&binding->Model() == &tree) binding->Select(&node);
  load();
}

void SelectionPages::Refreshing(const std::function<void()>& refresh) {
  WaitCursor wait(ui_);
  ui_.SetStatus(StatusChannel::Main, " Refreshing...");
  refresh();
  ShowRegistryValues(registryBinding_->Selected());
  ui_.SetStatus(StatusChannel::Main, "Status");
}

SelectionIcons SelectionPages::Icons() {
  auto addTo = [](HIMAGELIST list) { return [list](HICON icon) { return list ? ImageList_AddIcon(list, icon) : -1; }; };
  return {addTo(driveImages_.Get()), addTo(systemImages_.Get())};
}

void SelectionPages::ShowNewTrees() {
  ShowExcludeList();
  for (auto* binding : {registryBinding_.get(), driveBinding_.get(), systemBinding_.get()})
    binding->Select(binding->Model().FirstTop());
}

void SelectionPages::ShowExcludeList() {
  ListRefill refill(controls_.excludeList);
  for (const std::string& path : session_.State().excludeList) AddRow(controls_.excludeList, {path}, -1);
}

std::vector<std::string> SelectionPages::SelectedDriveFiles() const {
  std::vector<std::string> paths;
  TreeNode* folder = driveBinding_->Selected();
  if (!folder || folder->Level() < 1) return paths;
  const std::string path = DriveFolderPath(*folder);
  for (int row = -1;
       (row = static_cast<int>(SendMessageA(controls_.driveFiles, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0;) {
    paths.push_back(path + RowCaption(controls_.driveFiles, row));
  }
  return paths;
}

void SelectionPages::DeleteSelectedExcludeEntry() {
  int row =
      static_cast<int>(SendMessageA(controls_.excludeList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  AppState& app = session_.State();
  if (row < 0 || row >= static_cast<int>(app.excludeList.size())) return;
  app.excludeList.erase(app.excludeList.begin() + row);
  app.selectionChanged = true;
  ShowExcludeList();
}

void SelectionPages::ShowRegistryValues(TreeNode* node) {
  ListRefill refill(controls_.registryValues);
  if (!node || node->Level() < 1) return;
  int root = RootKeyIndex([&] {
    const TreeNode* n = node;
    while (n->Level() > 1) n = n->Parent();
    return n->Text();
  }());
  if (root < 0) return;
  TMyRegistry registry(RootKeyHandle(root), kRegAccessRead);
  if (!registry.OpenKey("\\" + RegistryKeyPath(*node), false)) return;
  std::vector<TRegValue> values;
  registry.GetValues(values);
  std::stable_sort(values.begin(), values.end(),
                   [](const TRegValue& a, const TRegValue& b) { return TextLess(a.name, b.name); });
  std::string defaultText = ReadRequiredText("DefaultText");
  std::string emptyText = ReadRequiredText("EmptyText");
  for (const TRegValue& value : values) {
    int code = CodeOfType(value.type);
    std::string shown = code < 0 ? "Registry access error" : FormatRegistryValue(code, value.data, emptyText);
    AddRow(controls_.registryValues, {value.name.empty() ? defaultText : value.name, shown},
           ImageOfCode(code < 0 ? 4 : code));
  }
}

void SelectionPages::ShowFolderFiles(TreeNode* node) {
  ListRefill refill(controls_.driveFiles);
  if (!node || node->Level() < 1) return;
  WaitCursor wait(ui_);
  std::string folder = DriveFolderPath(*node);
  struct FileRow {
    std::string name;
    WIN32_FIND_DATAA data;
  };
  std::vector<FileRow> files;
  WIN32_FIND_DATAA data;
  const UniqueFind find(FindFirstFileA((folder + "*.*").c_str(), &data));
  if (!find) return;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back({data.cFileName, data});
  } while (FindNextFileA(find.Get(), &data));
  std::stable_sort(files.begin(), files.end(), [](const FileRow& a, const FileRow& b) { return TextLess(a.name, b.name); });
  char separator = ThousandsSeparator();
  for (const FileRow& file : files) {
    SHFILEINFOA info{};
    SHGetFileInfoA((folder + file.name).c_str(), file.data.dwFileAttributes, &info, sizeof info,
                   SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
    FILETIME local;
    WORD dosDate = 0, dosTime = 0;
    FileTimeToLocalFileTime(&file.data.ftLastWriteTime, &local);
    FileTimeToDosDateTime(&local, &dosDate, &dosTime);
    uint64_t size = (static_cast<uint64_t>(file.data.nFileSizeHigh) << 32) | file.data.nFileSizeLow;
    AddRow(controls_.driveFiles,
           {file.name, FormatThousands(size, separator), FormatDosDateTime((static_cast<uint32_t>(dosDate) << 16) | dosTime),
            FormatAttributes(file.data.dwFileAttributes)},
           info.iIcon);
  }
}

void SelectionPages::ShowSystemEntries(TreeNode* node) {
  ListRefill refill(controls_.systemValues);
  if (!node || node->Level() < 1) return;
  const TreeNode& file = node->Level() == 1 ? *node : *node->Parent();
  std::string path;
  try {
    SystemFileType type = GetSystemFileType(file.Text(), path);
    if (node->Level() == 2 && IsIniType(type)) {
      std::string section = node->Text().substr(1, node->Text().size() - 2);
      for (const auto& [name, value] : IniFile(path).SectionEntries(section))
        AddRow(controls_.systemValues, {name, value}, -1);
    } else if (node->Level() == 1 && !IsIniType(type)) {
      int number = 0;
      for (const std::string& line : ReadFileLines(path))
        if (!TrimText(line).empty()) AddRow(controls_.systemValues, {"Line: " + std::to_string(++number), line}, -1);
    }
  } catch (const std::exception&) {
    // A file that is missing or unreadable simply has nothing to list.
  }
}

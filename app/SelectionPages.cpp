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
#include "ui/Dpi.h"
#include "ui/ListView.h"
#include "ui/ShellOpen.h"

namespace {

// A type the data type codes do not know has no code: -1.
int CodeOfType(DWORD type) { return type > static_cast<DWORD>(kRdHighest) ? -1 : PlatformToRegDataCode(type); }

int ImageOfCode(int code) {
  if (code == 1 || code == 2) return kImageStringValue;
  return code == 3 ? kImageIntegerValue : kImageBinaryValue;
}

HIMAGELIST CopyOfStrip(HIMAGELIST icons) { return icons ? ImageList_Duplicate(icons) : nullptr; }

// The strip with the system-file images behind it, at the positions the compare writes into logs.
HIMAGELIST SystemFileStrip(HIMAGELIST icons) {
  HIMAGELIST images = CopyOfStrip(icons);
  if (!images) return nullptr;
  int size = 0;
  int height = 0;
  ImageList_GetIconSize(images, &size, &height);
  // Grown as the strip was grown for the window's DPI.
  if (ImageList_GetImageCount(images) == kImageIniFile) AppendImageStrip(images, "ICONS2", std::max(1, size / 16));
  return images;
}

}  // namespace

SelectionPages::SelectionPages(Session& session, UserInteraction& ui, const SelectionControls& controls,
                               HIMAGELIST icons)
    : session_(session), ui_(ui), controls_(controls), icons_(icons) {
  // Drives and files append their shell icons behind the strip, so the strip's indexes
  // (folders, computer) stay valid in their trees.
  driveImages_.Reset(CopyOfStrip(icons_));
  systemImages_.Reset(SystemFileStrip(icons_));
  SelectionTrees trees = session_.Selection();
  Bind(registryBinding_, controls_.registryTree, trees.registry, icons_, &SelectionPages::ShowRegistryValues);
  Bind(driveBinding_, controls_.driveTree, trees.drives, driveImages_.Get(), &SelectionPages::ShowFolderFiles);
  Bind(systemBinding_, controls_.systemTree, trees.systemFiles, systemImages_.Get(),
       &SelectionPages::ShowSystemEntries);
  ListView(controls_.registryValues).SetImageList(icons_);
  SHFILEINFOA info{};
  auto systemList =
      reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  SetWindowLongPtrA(controls_.driveFiles, GWL_STYLE,
                    GetWindowLongPtrA(controls_.driveFiles, GWL_STYLE) | LVS_SHAREIMAGELISTS);
  ListView(controls_.driveFiles).SetImageList(systemList);
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
    const size_t owner = row < 0 ? ListView::kNoOwner : ListView(controls_.driveFiles).OwnerOf(row);
    TreeNode* folder = driveBinding_->Selected();
    result = 0;
    if (owner >= shownFiles_.size() || !folder || folder->Level() < 1) return true;
    OpenWithShell(GetParent(controls_.driveFiles), DriveFolderPath(*folder) + shownFiles_[owner]);
    return true;
  }
  if (header.hwndFrom == controls_.driveFiles && header.code == NM_RCLICK) {
    if (ListView(controls_.driveFiles).HasSelection() && onFileListMenu) {
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
  const ListView list = controls_.excludeList;
  ListView::Refill refill(list);
  const std::vector<std::string>& paths = session_.State().excludeList;
  for (size_t i = 0; i < paths.size(); ++i) list.AddRow({i}, {paths[i]});
}

std::vector<std::string> SelectionPages::SelectedDriveFiles() const {
  std::vector<std::string> paths;
  TreeNode* folder = driveBinding_->Selected();
  if (!folder || folder->Level() < 1) return paths;
  const std::string path = DriveFolderPath(*folder);
  for (size_t owner : ListView(controls_.driveFiles).SelectedOwners())
    if (owner < shownFiles_.size()) paths.push_back(path + shownFiles_[owner]);
  return paths;
}

void SelectionPages::DeleteSelectedExcludeEntry() {
  const std::vector<size_t> selected = ListView(controls_.excludeList).SelectedOwners();
  AppState& app = session_.State();
  if (selected.empty() || selected.front() >= app.excludeList.size()) return;
  app.excludeList.erase(app.excludeList.begin() + static_cast<std::ptrdiff_t>(selected.front()));
  app.selectionChanged = true;
  ShowExcludeList();
}

void SelectionPages::ShowRegistryValues(TreeNode* node) {
  const ListView list = controls_.registryValues;
  ListView::Refill refill(list);
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
  for (size_t i = 0; i < values.size(); ++i) {
    const TRegValue& value = values[i];
    int code = CodeOfType(value.type);
    std::string shown = code < 0 ? "Registry access error" : FormatRegistryValue(code, value.data, emptyText);
    list.AddRow({i, ImageOfCode(code < 0 ? 4 : code)}, {value.name.empty() ? defaultText : value.name, shown});
  }
}

void SelectionPages::ShowFolderFiles(TreeNode* node) {
  const ListView list = controls_.driveFiles;
  ListView::Refill refill(list);
  shownFiles_.clear();
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
  std::stable_sort(files.begin(), files.end(),
                   [](const FileRow& a, const FileRow& b) { return TextLess(a.name, b.name); });
  char separator = ThousandsSeparator();
  for (const FileRow& file : files) {
    const size_t owner = shownFiles_.size();
    shownFiles_.push_back(file.name);
    SHFILEINFOA info{};
    SHGetFileInfoA((folder + file.name).c_str(), file.data.dwFileAttributes, &info, sizeof info,
                   SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
    FILETIME local;
    WORD dosDate = 0, dosTime = 0;
    FileTimeToLocalFileTime(&file.data.ftLastWriteTime, &local);
    FileTimeToDosDateTime(&local, &dosDate, &dosTime);
    uint64_t size = (static_cast<uint64_t>(file.data.nFileSizeHigh) << 32) | file.data.nFileSizeLow;
    list.AddRow({owner, info.iIcon}, {file.name, FormatThousands(size, separator),
                                      FormatDosDateTime((static_cast<uint32_t>(dosDate) << 16) | dosTime),
                                      FormatAttributes(file.data.dwFileAttributes)});
  }
}

void SelectionPages::ShowSystemEntries(TreeNode* node) {
  const ListView list = controls_.systemValues;
  ListView::Refill refill(list);
  // The rows stand for the entries or lines in the order of the file.
  size_t owner = 0;
  if (!node || node->Level() < 1) return;
  const TreeNode& file = node->Level() == 1 ? *node : *node->Parent();
  std::string path;
  try {
    SystemFileType type = GetSystemFileType(file.Text(), path);
    if (node->Level() == 2 && IsIniType(type)) {
      std::string section = node->Text().substr(1, node->Text().size() - 2);
      for (const auto& [name, value] : IniFile(path).SectionEntries(section)) list.AddRow({owner++}, {name, value});
    } else if (node->Level() == 1 && !IsIniType(type)) {
      int number = 0;
      for (const std::string& line : ReadFileLines(path))
        if (!TrimText(line).empty()) list.AddRow({owner++}, {"Line: " + std::to_string(++number), line});
    }
  } catch (const std::exception&) {
    // A file that is missing or unreadable simply has nothing to list.
  }
}

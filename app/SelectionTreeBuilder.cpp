#include "app/SelectionTreeBuilder.h"

#include <shellapi.h>

#include <algorithm>

#include "compare/ResultPath.h"
#include "compare/ResultRecords.h"
#include "core/CheckStates.h"
#include "core/TextCompare.h"
#include "platform/Handle.h"
#include "platform/IniFile.h"
#include "platform/SystemFileType.h"
#include "platform/TMyRegistry.h"
#include "platform/WineDrives.h"

namespace {

void SortNames(std::vector<std::string>& names) { std::stable_sort(names.begin(), names.end(), TextLess); }

// The root-key node (level 1) above node, or node itself.
const TreeNode* RootLevelNode(const TreeNode& node) {
  const TreeNode* root = &node;
  while (root->Level() > 1) root = root->Parent();
  return root;
}

// Opens the key a registry-tree node stands for (with subPath below it), read only. False
// when it cannot be opened.
bool OpenNodeKey(TMyRegistry& registry, const TreeNode& node, const std::string& subPath = "") {
  int index = RootKeyIndex(RootLevelNode(node)->Text());
  if (node.Level() < 1 || index < 0) return false;
  registry.SetRootKey(RootKeyHandle(index));
  std::string path = RegistryKeyPath(node);
  if (!subPath.empty()) path = path.empty() ? subPath : path + "\\" + subPath;
  return registry.OpenKey("\\" + path, false);
}

// The sorted subkey names of a node's key; none when it cannot be opened.
std::vector<std::string> SubkeyNames(const TreeNode& node) {
  TMyRegistry registry;
  std::vector<std::string> names;
  if (!OpenNodeKey(registry, node)) return names;
  registry.GetKeyNames(names);
  names.erase(std::remove(names.begin(), names.end(), std::string()), names.end());
  SortNames(names);
  return names;
}

bool SubkeyHasSubkeys(const TreeNode& parent, const std::string& name) {
  TMyRegistry registry;
  return OpenNodeKey(registry, parent, name) && registry.HasSubKeys();
}

bool IsListedFolder(const WIN32_FIND_DATAA& data) {
  return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && data.cFileName[0] != '.';
}

// The folders of folder (ending in "\") that the tree shows: all but those beginning with ".".
std::vector<std::string> SubfolderNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  UniqueFind find(FindFirstFileA((folder + "*.*").c_str(), &data));
  if (!find) return names;
  do {
    if (IsListedFolder(data)) names.emplace_back(data.cFileName);
  } while (FindNextFileA(find.Get(), &data));
  SortNames(names);
  return names;
}

bool HasSubfolder(const std::string& folder) {
  WIN32_FIND_DATAA data;
  UniqueFind find(FindFirstFileA((folder + "*.*").c_str(), &data));
  if (!find) return false;
  do {
    if (IsListedFolder(data)) return true;
  } while (FindNextFileA(find.Get(), &data));
  return false;
}

TreeNode* AddFolderNode(TreeModel& tree, TreeNode* parent, size_t index, const std::string& name, bool hasChildren,
                        int state) {
  return tree.Insert(parent, index,
                     {.text = name,
                      .stateIndex = state,
                      .imageIndex = kImageClosedFolder,
                      .selectedIndex = kImageOpenFolder,
                      .hasChildren = hasChildren});
}

// The top node of a selection tree, unchecked, with the computer's image.
TreeNode* AddTopNode(TreeModel& tree, const char* text) {
  return tree.Add(
      nullptr,
      {.text = text, .stateIndex = kStateUnchecked, .imageIndex = kImageComputer, .selectedIndex = kImageComputer});
}

// Merges the loaded children of node with the sorted names the machine has now: children
// without a name go, names without a child come in at their place.
void MergeChildren(TreeModel& tree, TreeNode& node, const std::vector<std::string>& names,
                   const std::function<bool(const std::string&)>& hasChildren) {
  int newState = node.StateIndex() == kStatePartlyChecked ? kStateChecked : node.StateIndex();
  size_t child = 0;
  for (const std::string& name : names) {
    while (child < node.Count() && CompareTextLocale(node.Child(child)->Text(), name) < 0)
      tree.Delete(node.Child(child));
    if (child < node.Count() && CompareTextLocale(node.Child(child)->Text(), name) == 0) {
      ++child;
      continue;
    }
    AddFolderNode(tree, &node, child++, name, hasChildren(name), newState);
  }
  while (node.Count() > child) tree.Delete(node.Child(node.Count() - 1));
}

// Refreshes node and its loaded subtree: subtreeNames gives the current child names, or
// nothing when the node cannot be read (then it is treated as having none).
void RefreshNode(TreeModel& tree, TreeNode& node, const std::function<std::vector<std::string>(const TreeNode&)>& names,
                 const std::function<bool(const TreeNode&, const std::string&)>& childHasChildren) {
  std::vector<std::string> current = names(node);
  tree.SetHasChildren(&node, !current.empty());
  if (current.empty()) {
    tree.DeleteChildren(&node);
    if (node.StateIndex() == kStatePartlyChecked) tree.SetState(&node, kStateChecked);
    return;
  }
  if (node.Count() == 0) return;  // never loaded: it loads the current names when expanded
  MergeChildren(tree, node, current, [&](const std::string& name) { return childHasChildren(node, name); });
  for (size_t i = 0; i < node.Count(); ++i) RefreshNode(tree, *node.Child(i), names, childHasChildren);
}

void RefreshRootLevel(TreeModel& tree, const std::function<std::vector<std::string>(const TreeNode&)>& names,
                      const std::function<bool(const TreeNode&, const std::string&)>& childHasChildren) {
  TreeNode* top = tree.FirstTop();
  if (!top) return;
  TreeUpdate update(tree);
  for (size_t i = 0; i < top->Count(); ++i) RefreshNode(tree, *top->Child(i), names, childHasChildren);
}

}  // namespace

std::string RegistryKeyPath(const TreeNode& node) {
  std::string path;
  for (const TreeNode* n = &node; n && n->Level() > 1; n = n->Parent())
    path = path.empty() ? n->Text() : n->Text() + "\\" + path;
  return path;
}

void BuildRegistrySelectionTree(TreeModel& tree) {
  TreeUpdate update(tree);
  tree.Clear();
  TreeNode* top = AddTopNode(tree, "My Computer");
  for (int i = 0; i < kRootKeyCount; ++i) {
    TMyRegistry registry;
    registry.SetRootKey(RootKeyHandle(i));
    if (registry.OpenKey("", false) && registry.HasSubKeys())
      AddFolderNode(tree, top, top->Count(), kRootKeyNames[i], true, kStateUnchecked);
  }
}

void LoadRegistryChildren(TreeModel& tree, TreeNode& node) {
  if (node.Level() < 1) return;
  TreeUpdate update(tree);
  for (const std::string& name : SubkeyNames(node))
    AddFolderNode(tree, &node, node.Count(), name, SubkeyHasSubkeys(node, name), node.StateIndex());
}

namespace {

// The shell's display name without the " (C:)" it appends; "unknown" when it has none.
std::string DriveDisplayName(const std::string& root, UniqueIcon& icon) {
  SHFILEINFOA info{};
  icon.Reset();
  if (!SHGetFileInfoA(root.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME | SHGFI_ICON | SHGFI_SMALLICON))
    return "unknown";
  icon.Reset(info.hIcon);
  std::string name = info.szDisplayName;
  if (name.empty()) return "unknown";
  if (name.size() >= 5 && name[name.size() - 4] == '(') name.resize(name.size() - 5);
  return name;
}

}  // namespace

void BuildDriveSelectionTree(TreeModel& tree, const IconSink& icons) {
  TreeUpdate update(tree);
  tree.Clear();
  TreeNode* top = AddTopNode(tree, "Drives");
  DWORD drives = GetLogicalDrives();
  for (int letter = 0; letter < 26; ++letter) {
    if (!(drives & (1u << letter))) continue;
    std::string root = std::string(1, static_cast<char>('A' + letter)) + ":\\";
    UniqueIcon icon;
    std::string name = DriveDisplayName(root, icon);
    int image = icon && icons ? icons(icon.Get()) : -1;
    tree.Add(top, {.text = root.substr(0, 2) + " " + name,
                   .stateIndex = kStateUnchecked,
                   .imageIndex = image,
                   .selectedIndex = image,
                   .hasChildren = true});
  }
}

void LoadDriveChildren(TreeModel& tree, TreeNode& node) {
  if (node.Level() < 1) return;
  std::string folder = DriveFolderPath(node);
  TreeUpdate update(tree);
  for (const std::string& name : SubfolderNames(folder))
    AddFolderNode(tree, &node, node.Count(), name, HasSubfolder(folder + name + "\\"), node.StateIndex());
}

void RefreshRegistrySelectionTree(TreeModel& tree) { RefreshRootLevel(tree, SubkeyNames, SubkeyHasSubkeys); }

void RefreshDriveSelectionTree(TreeModel& tree) {
  RefreshRootLevel(
      tree, [](const TreeNode& node) { return SubfolderNames(DriveFolderPath(node)); },
      [](const TreeNode& parent, const std::string& name) {
        return HasSubfolder(DriveFolderPath(parent) + name + "\\");
      });
}

void DeselectControlSets(TreeModel& registryTree) {
  TreeNode* system = FindTreeNode({"My Computer", "HKEY_LOCAL_MACHINE", "SYSTEM"}, registryTree);
  if (!system || system->StateIndex() == kStateUnchecked) return;
  registryTree.Expand(system);
  std::vector<TreeNode*> controlSets;
  for (size_t i = 0; i < system->Count(); ++i)
    if (IsControlSetName(system->Child(i)->Text())) controlSets.push_back(system->Child(i));
  for (TreeNode* controlSet : controlSets) DeselectInSelection(*controlSet, registryTree, nullptr);
  if (TreeNode* machine = system->Parent()) CollapseSelectionNode(*machine);
}

void ApplyDefaultSelection(const SelectionTrees& trees) {
  for (const char* root : {"HKEY_LOCAL_MACHINE", "HKEY_USERS", "HKEY_CURRENT_CONFIG"})
    if (TreeNode* node = FindTreeNode({"My Computer", root}, trees.registry)) SetNodeChecked(*node, true);
  DeselectControlSets(trees.registry);

  if (TreeNode* drives = trees.drives.FirstTop()) {
    for (size_t i = 0; i < drives->Count(); ++i) {
      TreeNode& drive = *drives->Child(i);
      if (drive.Text().size() < 2) continue;
      const std::string root = drive.Text().substr(0, 2) + "\\";
      // Wine's drive of the whole Unix file system is no part of the watched installation.
      if (GetDriveTypeA(root.c_str()) != DRIVE_FIXED || IsUnixRootDrive(root)) continue;
      SetNodeChecked(drive, true);
      trees.drives.Expand(&drive);
      for (size_t j = 0; j < drive.Count(); ++j) {
        TreeNode& folder = *drive.Child(j);
        if (CompareTextLocale(folder.Text(), "RECYCLED") == 0 || CompareTextLocale(folder.Text(), "RECYCLER") == 0) {
          SetNodeChecked(folder, false);
          break;
        }
      }
      CollapseSelectionNode(drive);
    }
  }

  if (TreeNode* systemFiles = trees.systemFiles.FirstTop()) SetNodeChecked(*systemFiles, true);
}

namespace {

constexpr const char* kFixedSystemFiles[] = {"WIN.INI", "SYSTEM.INI", "Autoexec.bat", "Config.sys"};

// The section headers of an INI file, trimmed with their brackets, sorted.
std::vector<std::string> IniSectionHeaders(const std::string& path) {
  std::vector<std::string> headers = IniFile(path).SectionHeaders();
  SortNames(headers);
  return headers;
}

// Whether the system file a node text names is an INI file; path is its full name.
bool IsIniText(const std::string& text, std::string& path) {
  try {
    return IsIniType(GetSystemFileType(text, path));
  } catch (const std::exception&) {
    return false;
  }
}

bool IsIniNode(const TreeNode& node, std::string& path) { return IsIniText(node.Text(), path); }

void AddSystemFileNode(TreeModel& tree, TreeNode* top, const std::string& text, const IconSink& icons) {
  std::string path;
  const bool ini = IsIniText(text, path);
  const int image = AddShellFileIcon(path, icons);
  tree.Add(
      top,
      {.text = text, .stateIndex = kStateUnchecked, .imageIndex = image, .selectedIndex = image, .hasChildren = ini});
}

}  // namespace

int AddShellFileIcon(const std::string& path, const IconSink& icons) {
  SHFILEINFOA info{};
  if (path.empty() || !icons || !SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON))
    return -1;
  UniqueIcon icon(info.hIcon);
  return icons(icon.Get());
}

void BuildSystemFileSelectionTree(TreeModel& tree, const std::vector<std::string>& userFiles, const IconSink& icons) {
  TreeUpdate update(tree);
  tree.Clear();
  TreeNode* top = AddTopNode(tree, "System Files");
  for (const char* file : kFixedSystemFiles) AddSystemFileNode(tree, top, file, icons);
  for (const std::string& file : userFiles) AddSystemFileNode(tree, top, file, icons);
}

void LoadSystemFileChildren(TreeModel& tree, TreeNode& node) {
  std::string path;
  if (node.Level() != 1 || !IsIniNode(node, path)) return;
  std::vector<std::string> headers;
  try {
    headers = IniSectionHeaders(path);
  } catch (const std::exception&) {
    // A file that cannot be read gets no children; the user learns why.
    tree.SetHasChildren(&node, false);
    throw;
  }
  TreeUpdate update(tree);
  for (const std::string& header : headers)
    tree.Add(&node, {.text = header,
                     .stateIndex = node.StateIndex(),
                     .imageIndex = kImageClosedFolder,
                     .selectedIndex = kImageOpenFolder});
}

void RefreshSystemFileSelectionTree(TreeModel& tree) {
  RefreshRootLevel(
      tree,
      [](const TreeNode& node) {
        std::string path;
        if (node.Level() != 1 || !IsIniNode(node, path)) return std::vector<std::string>();
        try {
          return IniSectionHeaders(path);
        } catch (const std::exception&) {
          return std::vector<std::string>();
        }
      },
      [](const TreeNode&, const std::string&) { return false; });
}

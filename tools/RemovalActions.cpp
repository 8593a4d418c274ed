#include "tools/RemovalActions.h"

#include "core/CheckStates.h"

namespace {

// A folder path begins with the drive letter and colon of the drive node ("C: System" gives
// "C:"); a key path with the root key's name.
std::string ActionPath(const TreeNode& node, RemovalKind kind) {
  const std::vector<std::string> names = NodeNames(node);
  std::string path = kind == RemovalKind::Folder ? names[1].substr(0, 2) : names[1];
  for (size_t i = 2; i < names.size(); ++i) path += "\\" + names[i];
  return path;
}

void Walk(const TreeNode& node, RemovalKind kind, std::vector<RemovalAction>& actions) {
  if (node.Level() >= 2 && node.StateIndex() == kStateChecked) {
    actions.emplace_back(kind, ActionPath(node, kind));
    return;
  }
  for (size_t i = 0; i < node.Count(); ++i) Walk(*node.Child(i), kind, actions);
}

}  // namespace

const char* RemovalTypeText(RemovalKind kind) { return kind == RemovalKind::Folder ? "Delete Folder" : "Delete Entry"; }

void AddCheckedNodes(const TreeModel& tree, RemovalKind kind, std::vector<RemovalAction>& actions) {
  for (size_t i = 0; i < tree.TopCount(); ++i) Walk(*tree.Top(i), kind, actions);
}

std::vector<RemovalAction> BuildRemovalActions(const RemovalTrees& trees) {
  std::vector<RemovalAction> actions;
  AddCheckedNodes(trees.programFiles, RemovalKind::Folder, actions);
  AddCheckedNodes(trees.startMenu, RemovalKind::Folder, actions);
  AddCheckedNodes(trees.software, RemovalKind::RegistryKey, actions);
  AddCheckedNodes(trees.fileTypes, RemovalKind::RegistryKey, actions);
  return actions;
}

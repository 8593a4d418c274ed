#include "core/CheckStates.h"

#include <algorithm>

#include "core/Errors.h"
#include "core/TextCompare.h"

namespace {

// Recursion is bounded by the depth of a loaded tree (see the tree block's level limit).
void SetDescendantStates(TreeModel& tree, TreeNode& node, int state) {
  for (size_t i = 0; i < node.Count(); ++i) {
    TreeNode* child = node.Child(i);
    tree.SetState(child, state);
    SetDescendantStates(tree, *child, state);
  }
}

bool IsSelected(const TreeNode* node) {
  return node && (node->StateIndex() == kStateChecked || node->StateIndex() == kStatePartlyChecked);
}

// A missing top node selects nothing either.
bool IsUncheckedTop(const TreeNode* top) { return !top || top->StateIndex() == kStateUnchecked; }

void Confirm(UserInteraction& ui, const char* question) {
  if (ui.Ask(MsgType::Confirmation, question, MsgButtons::YesNo) != MsgAnswer::Yes) RaiseAbort();
}

}  // namespace

void ClickStateImage(TreeNode& node) {
  switch (node.StateIndex()) {
    case kStateChecked:
      SetNodeChecked(node, false);
      return;
    case kStateUnchecked:
    case kStatePartlyChecked:
      SetNodeChecked(node, true);
      return;
  }
  throw Exception("unknown Stateindex");
}

void SetNodeChecked(TreeNode& node, bool checked) {
  TreeModel& tree = *node.Owner();
  TreeUpdate update(tree);
  const int state = checked ? kStateChecked : kStateUnchecked;
  tree.SetState(&node, state);
  if (!checked || node.Expanded() || node.Level() == 0)
    SetDescendantStates(tree, node, state);
  else
    tree.DeleteChildren(&node);  // loaded again, with the new state, on expansion
  UpdateAncestors(node);
}

void UpdateAncestors(TreeNode& node) {
  TreeModel& tree = *node.Owner();
  for (TreeNode* parent = node.Parent(); parent; parent = parent->Parent()) {
    bool anySelected = false;
    for (size_t i = 0; i < parent->Count() && !anySelected; ++i)
      anySelected = parent->Child(i)->StateIndex() != kStateUnchecked;
    tree.SetState(parent, anySelected ? kStatePartlyChecked : kStateUnchecked);
  }
}

void CollapseSelectionNode(TreeNode& node) {
  TreeModel& tree = *node.Owner();
  tree.Collapse(&node);
  if (node.Level() >= 1 && node.StateIndex() != kStatePartlyChecked) tree.DeleteChildren(&node);
}

std::vector<std::string> NodeNames(const TreeNode& node) {
  std::vector<std::string> names;
  for (const TreeNode* n = &node; n; n = n->Parent()) names.push_back(n->Text());
  std::reverse(names.begin(), names.end());
  return names;
}

TreeNode* FindTreeNode(const std::vector<std::string>& names, TreeModel& tree) {
  TreeNode* node = tree.FirstTop();
  if (!node) return nullptr;
  tree.Expand(node);
  // The scan runs over the children of parent (nullptr: the top-level nodes) from first on.
  TreeNode* parent = nullptr;
  for (size_t n = 0; n < names.size(); ++n) {
    const size_t count = parent ? parent->Count() : tree.TopCount();
    node = nullptr;
    for (size_t i = 0; i < count && !node; ++i) {
      TreeNode* candidate = parent ? parent->Child(i) : tree.Top(i);
      if (CompareTextLocale(candidate->Text(), names[n]) == 0) node = candidate;
    }
    if (!node) return nullptr;
    if (n + 1 < names.size()) {
      tree.Expand(node);
      parent = node;
    }
  }
  return node;
}

TreeNode* FindTreeNodeByPath(const std::string& path, TreeModel& tree, bool pathHasTop) {
  std::vector<std::string> names;
  for (size_t start = 0;;) {
    const size_t separator = path.find('\\', start);
    names.push_back(path.substr(start, separator - start));
    if (separator == std::string::npos) break;
    start = separator + 1;
  }
  if (names.back().empty()) names.pop_back();
  if (!pathHasTop) {
    const TreeNode* top = tree.FirstTop();
    if (!top) return nullptr;
    names.insert(names.begin(), top->Text());
  }
  return FindTreeNode(names, tree);
}

TreeNode& DeselectInSelection(const TreeNode& node, TreeModel& selectionTree, UserInteraction* tellUser) {
  const std::vector<std::string> names = NodeNames(node);
  TreeNode* found = FindTreeNode(names, selectionTree);
  if (!found) throw Exception("TreeViewItem not found !");
  SetNodeChecked(*found, false);
  if (tellUser) {
    std::string joined = "\r";
    for (const std::string& name : names) joined += name + "\\";
    tellUser->Tell(MsgType::Information, FormatText("This item is now deselected: %s", joined));
  }
  return *found;
}

void ValidateSelection(TreeModel& registryTree, TreeModel& driveTree, UserInteraction& ui) {
  if (IsUncheckedTop(registryTree.FirstTop())) Confirm(ui, "No registry keys selected!\rContinue anyway?");
  if (IsUncheckedTop(driveTree.FirstTop())) Confirm(ui, "No drives selected!\rContinue anyway?");

  if (IsSelected(FindTreeNodeByPath("HKEY_DYN_DATA", registryTree, false)))
    Confirm(ui,
            "Don't monitor the HKEY_DYN_DATA section!\rChanges in this section cannot be restored - "
            "monitoring\rContinue anyway?");

  const TreeNode* classesRoot = FindTreeNodeByPath("HKEY_CLASSES_ROOT", registryTree, false);
  const TreeNode* machineClasses =
      classesRoot ? FindTreeNodeByPath("HKEY_LOCAL_MACHINE\\Software\\Classes", registryTree, false) : nullptr;
  if (IsSelected(classesRoot) && IsSelected(machineClasses))
    Confirm(ui,
            "HKEY_CLASSES_ROOT and HKEY_LOCAL_MACHINE\\Software\\Class\rboth contain the same data. Please "
            "don't select both!\rThis can restore the same value twice, which causes problems!\rContinue "
            "anyway?");

  const TreeNode* currentUser = FindTreeNodeByPath("HKEY_CURRENT_USER", registryTree, false);
  if (IsSelected(currentUser) && IsSelected(FindTreeNodeByPath("HKEY_USERS", registryTree, false)))
    Confirm(ui,
            "Some parts of  HKEY_CURRENT_USER and HKEY_USERS contain\ridentical data. Please don't select "
            "both as this may cause problems!\rThis can restore the same value twice, which causes "
            "problems!\rContinue anyway?");
}

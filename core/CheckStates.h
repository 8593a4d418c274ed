#pragma once
// The three-state check marks of the selection trees, held as state-image indexes, and the
// rules that keep parents and children consistent. A parent shows checked only when the user
// checked it directly; a parent whose children were checked one by one shows partly checked.
// Levels: the top node is 0; root keys, drives and system files are 1.

#include <string>
#include <vector>

#include "core/TreeModel.h"
#include "core/UserInteraction.h"

inline constexpr int kStateUnchecked = 3;
inline constexpr int kStateChecked = 4;
// At least one loaded child is not unchecked.
inline constexpr int kStatePartlyChecked = 5;

// A click on a node's state image, after the caller set the selection-changed flag and
// selected the node. Checked becomes unchecked; unchecked and partly checked become checked.
// A collapsed node below the top loses its loaded children when checked, so that they are
// loaded again with the new state. Any other state raises "unknown Stateindex".
void ClickStateImage(TreeNode& node);
// The click rule for a known outcome, whatever the state was.
void SetNodeChecked(TreeNode& node, bool checked);
// Recomputes the parents of node up to the top: unchecked when all loaded children are
// unchecked, partly checked otherwise.
void UpdateAncestors(TreeNode& node);
// Collapses node; below the top, a subtree that is not partly checked has one state
// everywhere, so its loaded children are discarded (the has-children flag stays).
void CollapseSelectionNode(TreeNode& node);

// The texts of node and its ancestors, from the top-level node down.
std::vector<std::string> NodeNames(const TreeNode& node);
// Walks names from the first top-level node, matching texts ignoring case and expanding the
// nodes on the way (so lazy loaders create the children). nullptr when a name is missing;
// the first top-level node for no names.
TreeNode* FindTreeNode(const std::vector<std::string>& names, TreeModel& tree);
// path is split at "\" (a trailing "\" is ignored); unless pathHasTop, the first top-level
// node's text is put in front.
TreeNode* FindTreeNodeByPath(const std::string& path, TreeModel& tree, bool pathHasTop);
// Unchecks the node of selectionTree that has the names of node (a result-tree node or a node
// of selectionTree itself), with its descendants, and updates its ancestors. Raises
// "TreeViewItem not found !" when selectionTree has no such node. With tellUser the user is
// told which item was deselected. The caller sets the selection-changed flag on return.
TreeNode& DeselectInSelection(const TreeNode& node, TreeModel& selectionTree, UserInteraction* tellUser);

// The questions before a configuration is saved, in order; each must be answered Yes, any
// other answer raises EMyAbort. Looking up HKEY_LOCAL_MACHINE\Software\Classes expands nodes
// of the registry tree.
void ValidateSelection(TreeModel& registryTree, TreeModel& driveTree, UserInteraction& ui);

#pragma once
// Shows a TreeModel in a Win32 tree view: mirrors inserts, removals and changes of the model,
// and forwards expansion, collapse, selection and clicks on state images back to the owner.
// The model stays the data; the view never is.

#include <windows.h>

#include <commctrl.h>

#include <functional>

#include "core/TreeModel.h"

class TreeViewBinding : public TreeModelObserver {
 public:
  // Whether a node gets no item in the view (nor its descendants) for now.
  using HidesNode = std::function<bool(const TreeNode&)>;

  // Fills the view from the model and follows it from then on. A node that hides asks again
  // when it changes or gets a child, and shows from then on once it no longer hides.
  TreeViewBinding(HWND treeView, TreeModel& model, HidesNode hides = {});
  ~TreeViewBinding() override;
  TreeViewBinding(const TreeViewBinding&) = delete;
  TreeViewBinding& operator=(const TreeViewBinding&) = delete;

  HWND Handle() const { return tree_; }
  TreeModel& Model() { return model_; }

  // Handles a WM_NOTIFY from this view; false when it came from another control.
  bool HandleNotify(const NMHDR& header, LRESULT& result);

  TreeNode* Selected() const;
  void Select(TreeNode* node);
  TreeNode* NodeAt(POINT clientPoint) const;

  // While locked, the user's expand, collapse and state-image clicks are refused (a command
  // that reads the model lets window messages run); changes of the model still show.
  void LockInput(bool locked) { inputLocked_ = locked; }

  // A click on the node's state image, or Space with the node selected.
  std::function<void(TreeNode&)> onStateClick;
  std::function<void(TreeNode*)> onSelect;     // the selection moved (nullptr: none)
  std::function<void(TreeNode&)> onCollapsed;  // the user collapsed the node
  // The user expands the node and its children are loaded; the view opens it after this.
  std::function<void(TreeNode&)> onExpanding;
  // Asked before the selection moves; false keeps the current node.
  std::function<bool()> canChangeSelection;

  void NodeInserted(TreeNode& node) override;
  void NodeRemoving(TreeNode& node) override;
  void NodeChanged(TreeNode& node) override;
  void UpdateBegun() override;
  void UpdateEnded() override;

 private:
  void InsertItem(TreeNode& node);
  // The node's item and those of its descendants, where the parents show.
  void InsertSubtree(TreeNode& node);
  bool Shows(const TreeNode& node) const;
  void ApplyAttributes(TreeNode& node);
  // Opens or closes the item as the node says; a new item starts closed.
  void SyncExpansion(TreeNode& node);
  void ForgetItems(TreeNode& node);

  HWND tree_;
  TreeModel& model_;
  HidesNode hides_;
  bool syncingExpansion_ = false;  // the view's own expand notifications come from us
  bool inputLocked_ = false;
};

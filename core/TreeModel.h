#pragma once
// Selection trees and result trees are data. A tree view shows a TreeModel (it mirrors the
// model through TreeModelObserver and forwards expand, collapse and state clicks back), and
// every engine operation works on the model alone, with no window.

#include <concepts>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TreeModel;

// The fields a node starts with; a node is added with all of them in one notice to the views.
struct NodeFields {
  std::string text;
  int stateIndex = -1;
  int imageIndex = -1;
  int selectedIndex = -1;
  bool hasChildren = false;
  int32_t data = 0;
  bool cut = false;
};

// A node's fields change only through its model, which tells the views; reading is free.
class TreeNode {
 public:
  const std::string& Text() const { return fields_.text; }
  int StateIndex() const { return fields_.stateIndex; }  // index into the image strip; -1 draws no state image
  int ImageIndex() const { return fields_.imageIndex; }
  int SelectedIndex() const { return fields_.selectedIndex; }
  bool HasChildren() const { return fields_.hasChildren; }  // children exist or can be loaded on expansion
  int32_t Data() const { return fields_.data; }
  bool Expanded() const { return expanded_; }
  bool Cut() const { return fields_.cut; }      // drawn greyed
  void* ViewItem() const { return viewItem_; }  // the item a view made for this node

  TreeNode* Parent() const { return parent_; }  // nullptr for a top-level node
  size_t Count() const { return children_.size(); }
  TreeNode* Child(size_t i) const { return children_[i].get(); }
  TreeNode* FirstChild() const { return children_.empty() ? nullptr : children_.front().get(); }
  // Position among the siblings.
  size_t Index() const { return index_; }
  // 0 for a top-level node.
  int Level() const;
  // The texts from the top-level node down to this one, joined with separator.
  std::string Path(const std::string& separator = "\\") const;
  TreeModel* Owner() const { return owner_; }

 private:
  friend class TreeModel;
  NodeFields fields_;
  bool expanded_ = false;
  void* viewItem_ = nullptr;
  TreeNode* parent_ = nullptr;
  TreeModel* owner_ = nullptr;
  size_t index_ = 0;
  std::vector<std::unique_ptr<TreeNode>> children_;
};

class TreeModelObserver {
 public:
  virtual ~TreeModelObserver() = default;
  virtual void NodeInserted(TreeNode& node) = 0;
  virtual void NodeRemoving(TreeNode& node) = 0;  // before node and its children go
  virtual void NodeChanged(TreeNode& node) = 0;   // text, images, state, flags
  virtual void UpdateBegun() {}
  virtual void UpdateEnded() {}
};

class TreeModel {
 public:
  // Fills the children of a node that has children but none loaded yet, on expansion.
  using Loader = std::function<void(TreeModel&, TreeNode&)>;

  TreeModel();
  ~TreeModel();
  TreeModel(const TreeModel&) = delete;
  TreeModel& operator=(const TreeModel&) = delete;

  size_t TopCount() const { return root_.Count(); }
  TreeNode* Top(size_t i) const { return root_.Child(i); }
  TreeNode* FirstTop() const { return root_.FirstChild(); }

  // parent nullptr adds a top-level node. Appends, or inserts before position index. The views
  // hear of the node once, with all its fields.
  TreeNode* Add(TreeNode* parent, NodeFields fields);
  // A node with its text only. A template, so that a braced list of fields never takes it for
  // the arguments of a string.
  template <class Text>
    requires std::convertible_to<Text, std::string>
  TreeNode* Add(TreeNode* parent, Text&& text) {
    return Add(parent, NodeFields{std::string(std::forward<Text>(text))});
  }
  TreeNode* Insert(TreeNode* parent, size_t index, NodeFields fields);
  void Delete(TreeNode* node);
  void DeleteChildren(TreeNode* node);  // nullptr: all nodes
  void Clear() { DeleteChildren(nullptr); }

  void SetText(TreeNode* node, std::string text);
  void SetState(TreeNode* node, int stateIndex);
  void SetImages(TreeNode* node, int imageIndex, int selectedIndex);
  void SetHasChildren(TreeNode* node, bool hasChildren);
  // The data integer is not shown: the views hear nothing of it.
  void SetData(TreeNode* node, int32_t data);
  void SetCut(TreeNode* node, bool cut);
  // A view's own record of the item it made for the node; the other views hear nothing of it.
  void SetViewItem(TreeNode* node, void* item) { node->viewItem_ = item; }
  // Stable sort of a node's children (nullptr: the top-level nodes).
  void SortChildren(TreeNode* node, const std::function<bool(const TreeNode&, const TreeNode&)>& less);

  // Loads the children through the loader when none are there yet, then marks it expanded; a
  // load that found none leaves it collapsed, to be tried again.
  void Expand(TreeNode* node);
  void Collapse(TreeNode* node);

  void SetLoader(Loader loader) { loader_ = std::move(loader); }
  void AddObserver(TreeModelObserver* observer);
  void RemoveObserver(TreeModelObserver* observer);

  // Many changes in a row: a view stops redrawing until the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();

  // Calls visit for every node, parents before children, in order.
  void ForEach(const std::function<void(TreeNode&)>& visit) const;

 private:
  friend class TreeNode;
  void Changed(TreeNode* node);
  static void Renumber(TreeNode& parent, size_t from);
  void NotifyRemoving(TreeNode& node);

  TreeNode root_;  // invisible; its children are the top-level nodes
  Loader loader_;
  std::vector<TreeModelObserver*> observers_;
  int updateDepth_ = 0;
};

// Scoped BeginUpdate/EndUpdate.
class TreeUpdate {
 public:
  explicit TreeUpdate(TreeModel& model) : model_(model) { model_.BeginUpdate(); }
  ~TreeUpdate() { model_.EndUpdate(); }
  TreeUpdate(const TreeUpdate&) = delete;
  TreeUpdate& operator=(const TreeUpdate&) = delete;

 private:
  TreeModel& model_;
};

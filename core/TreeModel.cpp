#include "core/TreeModel.h"

#include <algorithm>

// Positions are cached in the nodes so that a view inserting N siblings does not scan them N
// times; every change of a child list renumbers from the first node that moved.
void TreeModel::Renumber(TreeNode& parent, size_t from) {
  for (size_t i = from; i < parent.children_.size(); ++i) parent.children_[i]->index_ = i;
}

int TreeNode::Level() const {
  int level = 0;
  for (const TreeNode* p = parent_; p; p = p->parent_) ++level;
  return level;
}

std::string TreeNode::Path(const std::string& separator) const {
  std::vector<const TreeNode*> chain;
  for (const TreeNode* n = this; n; n = n->parent_) chain.push_back(n);
  std::string path;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (!path.empty() || it != chain.rbegin()) path += separator;
    path += (*it)->fields_.text;
  }
  return path;
}

TreeModel::TreeModel() { root_.owner_ = this; }

TreeModel::~TreeModel() = default;

TreeNode* TreeModel::Add(TreeNode* parent, NodeFields fields) {
  TreeNode& p = parent ? *parent : root_;
  return Insert(parent, p.children_.size(), std::move(fields));
}

TreeNode* TreeModel::Insert(TreeNode* parent, size_t index, NodeFields fields) {
  TreeNode& p = parent ? *parent : root_;
  auto node = std::make_unique<TreeNode>();
  node->fields_ = std::move(fields);
  node->parent_ = parent;
  node->owner_ = this;
  TreeNode* raw = node.get();
  index = std::min(index, p.children_.size());
  p.children_.insert(p.children_.begin() + static_cast<std::ptrdiff_t>(index), std::move(node));
  Renumber(p, index);
  if (parent && !parent->fields_.hasChildren) {
    parent->fields_.hasChildren = true;
    Changed(parent);
  }
  for (TreeModelObserver* o : observers_) o->NodeInserted(*raw);
  return raw;
}

void TreeModel::NotifyRemoving(TreeNode& node) {
  for (TreeModelObserver* o : observers_) o->NodeRemoving(node);
}

void TreeModel::Delete(TreeNode* node) {
  NotifyRemoving(*node);
  TreeNode& parent = node->parent_ ? *node->parent_ : root_;
  const size_t index = node->Index();
  parent.children_.erase(parent.children_.begin() + static_cast<std::ptrdiff_t>(index));
  Renumber(parent, index);
}

void TreeModel::DeleteChildren(TreeNode* node) {
  TreeNode& p = node ? *node : root_;
  while (!p.children_.empty()) {
    NotifyRemoving(*p.children_.back());
    p.children_.pop_back();
  }
}

void TreeModel::Changed(TreeNode* node) {
  for (TreeModelObserver* o : observers_) o->NodeChanged(*node);
}

void TreeModel::SetText(TreeNode* node, std::string text) {
  node->fields_.text = std::move(text);
  Changed(node);
}

void TreeModel::SetState(TreeNode* node, int stateIndex) {
  if (node->fields_.stateIndex == stateIndex) return;
  node->fields_.stateIndex = stateIndex;
  Changed(node);
}

void TreeModel::SetImages(TreeNode* node, int imageIndex, int selectedIndex) {
  node->fields_.imageIndex = imageIndex;
  node->fields_.selectedIndex = selectedIndex;
  Changed(node);
}

void TreeModel::SetHasChildren(TreeNode* node, bool hasChildren) {
  node->fields_.hasChildren = hasChildren;
  Changed(node);
}

void TreeModel::SetData(TreeNode* node, int32_t data) { node->fields_.data = data; }

void TreeModel::SetCut(TreeNode* node, bool cut) {
  node->fields_.cut = cut;
  Changed(node);
}

void TreeModel::SortChildren(TreeNode* node, const std::function<bool(const TreeNode&, const TreeNode&)>& less) {
  TreeNode& p = node ? *node : root_;
  // Views rebuild the moved items: tell them the children go and come back in order.
  for (auto& child : p.children_) NotifyRemoving(*child);
  std::stable_sort(
      p.children_.begin(), p.children_.end(),
      [&](const std::unique_ptr<TreeNode>& a, const std::unique_ptr<TreeNode>& b) { return less(*a, *b); });
  Renumber(p, 0);
  std::function<void(TreeNode&)> reinsert = [&](TreeNode& n) {
    for (TreeModelObserver* o : observers_) o->NodeInserted(n);
    for (auto& c : n.children_) reinsert(*c);
  };
  for (auto& child : p.children_) reinsert(*child);
}

void TreeModel::Expand(TreeNode* node) {
  if (node->expanded_) return;
  if (node->fields_.hasChildren && node->children_.empty() && loader_) {
    loader_(*this, *node);
    // Nothing loaded (an empty CD, a drive offline): the node stays collapsed, so the next
    // expansion tries again.
    if (node->children_.empty()) return;
  }
  node->expanded_ = true;
  Changed(node);
}

void TreeModel::Collapse(TreeNode* node) {
  if (!node->expanded_) return;
  node->expanded_ = false;
  Changed(node);
}

void TreeModel::AddObserver(TreeModelObserver* observer) { observers_.push_back(observer); }

void TreeModel::RemoveObserver(TreeModelObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void TreeModel::BeginUpdate() {
  if (updateDepth_++ == 0)
    for (TreeModelObserver* o : observers_) o->UpdateBegun();
}

void TreeModel::EndUpdate() {
  if (updateDepth_ > 0 && --updateDepth_ == 0)
    for (TreeModelObserver* o : observers_) o->UpdateEnded();
}

void TreeModel::ForEach(const std::function<void(TreeNode&)>& visit) const {
  std::function<void(const TreeNode&)> walk = [&](const TreeNode& n) {
    for (const auto& child : n.children_) {
      visit(*child);
      walk(*child);
    }
  };
  walk(root_);
}

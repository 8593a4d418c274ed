#pragma once
// The path stack of a section compare: the names from the result tree's top node down to the
// item being compared. It finds or creates the result nodes of the path and looks names up in
// the selection tree. Both remember what they found for every level of the stack, because a
// wide key is compared one subkey after the other and must not cost a walk from the top, or a
// search of its siblings, per subkey.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/TreeModel.h"

// What the lookup gives for a name the selection tree does not hold.
inline constexpr int kStateNotFound = 21;

// Whether a subkey of HKEY_LOCAL_MACHINE\SYSTEM is a control set, ignoring case: a numbered one
// (its name begins with "ControlSet") or CurrentControlSet. Other names that merely hold the
// word are ordinary keys. The default selection leaves the control sets out, and the compare
// skips them unless the selection holds them.
bool IsControlSetName(std::string_view name);

class ResultPath {
 public:
  ResultPath(TreeModel& resultTree, const TreeModel& selectionTree);
  ResultPath(const ResultPath&) = delete;
  ResultPath& operator=(const ResultPath&) = delete;

  void Push(std::string_view name);
  void Pop();
  size_t Size() const { return size_; }
  const std::string& Name(size_t level) const { return entries_[level].name; }

  // The result node of the whole path (nullptr for an empty path). Names match node texts
  // exactly; a missing node is added as the last child of its parent with the given images
  // and kind. The merges visit every path once, in order, so below the top two levels a node
  // made earlier for the path can only be the parent's last child.
  TreeNode* FindOrCreate(int image, int kind, int selectedImage);

  // The state index of the selection node for the path plus name, matched ignoring ASCII case
  // from the top; kStateNotFound when a name is missing, except that a missing
  // HKEY_LOCAL_MACHINE\SYSTEM\ControlSet* or CurrentControlSet counts as unchecked: the
  // control sets are compared only when the selection holds them, as the default selection
  // leaves them all out.
  int Lookup(const std::string& name);

 private:
  using ChildIndex = std::unordered_map<std::string, const TreeNode*>;
  struct Entry {
    std::string name;
    TreeNode* result = nullptr;
    bool selectionResolved = false;
    const TreeNode* selection = nullptr;
    // The selection node's children by upper-case text, made on the first lookup below it.
    std::unique_ptr<ChildIndex> children;
  };

  const TreeNode* SelectionChild(Entry& parent, const std::string& name);
  bool IsSkippedControlSet(const std::string& name) const;

  TreeModel& resultTree_;
  const TreeModel& selectionTree_;
  // The first size_ entries are the path. Entries above it are kept when the path shrinks, so
  // that pushing a name reuses their storage: a wide key pushes every one of its subkeys.
  std::vector<Entry> entries_;
  size_t size_ = 0;
};

// Adds a result node with its kind (state index) and images, the views told once.
TreeNode* AddResultNode(TreeModel& tree, TreeNode* parent, const std::string& text, int image, int kind,
                        int selectedImage);

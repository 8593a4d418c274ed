#pragma once
// A selection tree over a fixed key hierarchy, filled lazily the way the registry tree is:
// expanding a node loads its subkeys, each with the parent's state and selected image 1.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/CheckStates.h"
#include "core/TreeModel.h"

class FakeRegistryTree {
 public:
  // keys: paths below the top node ("HKEY_LOCAL_MACHINE\\Software\\Vendor"), every parent
  // listed before its children; children appear in list order.
  explicit FakeRegistryTree(std::vector<std::string> keys, std::string topText = "My Computer")
      : keys_(std::move(keys)) {
    model.SetLoader([this](TreeModel& tree, TreeNode& node) {
      ++loads;
      AddChildren(tree, node);
    });
    TreeNode* top =
        model.Add(nullptr, {.text = topText, .stateIndex = kStateUnchecked, .imageIndex = 2, .selectedIndex = 2});
    AddChildren(model, *top);
  }

  TreeNode& Top() const { return *model.FirstTop(); }

  // A loaded node by its path below the top, matched exactly and without expanding anything.
  TreeNode& Loaded(const std::string& path) const {
    TreeNode* node = &Top();
    size_t start = 0;
    while (node && start <= path.size()) {
      const size_t end = std::min(path.find('\\', start), path.size());
      const std::string name = path.substr(start, end - start);
      TreeNode* next = nullptr;
      for (size_t i = 0; i < node->Count() && !next; ++i)
        if (node->Child(i)->Text() == name) next = node->Child(i);
      node = next;
      start = end + 1;
    }
    if (!node) ADD_FAILURE() << "not loaded: " << path;
    return node ? *node : Top();
  }

  TreeModel model;
  int loads = 0;

 private:
  // Path of a node below the top: "" for the top itself.
  static std::string KeyPath(const TreeNode& node) {
    std::string path;
    for (const TreeNode* n = &node; n->Parent(); n = n->Parent()) path = n->Text() + (path.empty() ? "" : "\\" + path);
    return path;
  }

  static bool IsChildOf(const std::string& key, const std::string& parent) {
    if (parent.empty()) return key.find('\\') == std::string::npos;
    return key.size() > parent.size() + 1 && key.compare(0, parent.size() + 1, parent + "\\") == 0 &&
           key.find('\\', parent.size() + 1) == std::string::npos;
  }

  void AddChildren(TreeModel& tree, TreeNode& parent) {
    const std::string parentPath = KeyPath(parent);
    for (const std::string& key : keys_) {
      if (!IsChildOf(key, parentPath)) continue;
      bool hasChildren = false;
      for (const std::string& other : keys_) hasChildren = hasChildren || IsChildOf(other, key);
      tree.Add(&parent, {.text = key.substr(parentPath.empty() ? 0 : parentPath.size() + 1),
                         .stateIndex = parent.StateIndex(),
                         .imageIndex = 0,
                         .selectedIndex = 1,
                         .hasChildren = hasChildren});
    }
  }

  std::vector<std::string> keys_;
};

#pragma once
// Every field of every node of a tree as text, one line per node indented by level, so two
// trees compare with one EXPECT_EQ and a difference shows where it is.

#include <string>
#include <vector>

#include "core/TreeModel.h"

inline std::string DumpTree(const TreeModel& tree) {
  std::string dump;
  tree.ForEach([&](TreeNode& node) {
    dump += std::string(2 * static_cast<size_t>(node.Level()), ' ') + node.Text() + " | state " +
            std::to_string(node.StateIndex()) + " | images " + std::to_string(node.ImageIndex()) + "/" +
            std::to_string(node.SelectedIndex()) + (node.HasChildren() ? " | has children" : "") + " | data " +
            std::to_string(node.Data()) + (node.Cut() ? " | cut" : "") + "\n";
  });
  return dump;
}

// Records what a view of the tree would be told.
class RecordingObserver : public TreeModelObserver {
 public:
  explicit RecordingObserver(TreeModel& tree) : tree_(tree) { tree_.AddObserver(this); }
  ~RecordingObserver() override { tree_.RemoveObserver(this); }

  void NodeInserted(TreeNode&) override { ++inserted; }
  void NodeRemoving(TreeNode& node) override { removed.push_back(node.Text()); }
  void NodeChanged(TreeNode&) override { ++changed; }
  void UpdateBegun() override { ++updates, ++updateDepth; }
  void UpdateEnded() override { --updateDepth; }

  int inserted = 0;
  int changed = 0;
  std::vector<std::string> removed;
  int updates = 0;
  int updateDepth = 0;

 private:
  TreeModel& tree_;
};

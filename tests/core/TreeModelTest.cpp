#include "core/TreeModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(TreeModel, PathJoinsTextsFromTheTop) {
  TreeModel model;
  TreeNode* top = model.Add(nullptr, "My Computer");
  TreeNode* key = model.Add(model.Add(top, "HKEY_LOCAL_MACHINE"), "Software");
  EXPECT_EQ(key->Path(), "My Computer\\HKEY_LOCAL_MACHINE\\Software");
  EXPECT_EQ(key->Level(), 2);
  EXPECT_TRUE(top->HasChildren());
}

namespace {

// What the views hear, with the fields a node has at that moment.
class NoticeRecorder : public TreeModelObserver {
 public:
  void NodeInserted(TreeNode& node) override { notices.push_back("inserted " + Fields(node)); }
  void NodeRemoving(TreeNode& node) override { notices.push_back("removing " + node.Text()); }
  void NodeChanged(TreeNode& node) override { notices.push_back("changed " + Fields(node)); }

  static std::string Fields(const TreeNode& node) {
    return node.Text() + " " + std::to_string(node.StateIndex()) + "/" + std::to_string(node.ImageIndex()) + "/" +
           std::to_string(node.SelectedIndex()) + (node.HasChildren() ? " children" : "") + (node.Cut() ? " cut" : "") +
           " data " + std::to_string(node.Data());
  }

  std::vector<std::string> notices;
};

}  // namespace

TEST(TreeModel, ANodeComesWithAllItsFieldsInOneNoticeAndOnlyShownChangesAreTold) {
  TreeModel model;
  NoticeRecorder views;
  TreeNode* top = model.Add(nullptr, "My Computer");
  model.AddObserver(&views);
  TreeNode* key = model.Add(top, {.text = "HKEY_USERS",
                                  .stateIndex = 3,
                                  .imageIndex = 0,
                                  .selectedIndex = 1,
                                  .hasChildren = true,
                                  .data = 7,
                                  .cut = true});
  TreeNode* first = model.Insert(top, 0, {.text = "HKEY_CLASSES_ROOT"});
  EXPECT_EQ(views.notices, (std::vector<std::string>{"changed My Computer -1/-1/-1 children data 0",
                                                     "inserted HKEY_USERS 3/0/1 children cut data 7",
                                                     "inserted HKEY_CLASSES_ROOT -1/-1/-1 data 0"}));
  EXPECT_EQ(first->Index(), 0u);
  EXPECT_EQ(key->Index(), 1u);

  views.notices.clear();
  model.SetState(key, 3);  // as it was
  model.SetData(key, 9);   // not shown
  model.SetCut(key, false);
  model.SetViewItem(key, key);  // a view's own record
  EXPECT_EQ(views.notices, std::vector<std::string>{"changed HKEY_USERS 3/0/1 children data 9"});
  EXPECT_EQ(key->ViewItem(), key);
  model.RemoveObserver(&views);
}

// Positions are cached in the nodes: every change of a child list must keep them true.
TEST(TreeModel, IndexFollowsInsertsDeletesAndSorts) {
  TreeModel model;
  TreeNode* top = model.Add(nullptr, "top");
  auto expectPositions = [&](const std::vector<std::string>& texts) {
    ASSERT_EQ(top->Count(), texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
      EXPECT_EQ(top->Child(i)->Text(), texts[i]);
      EXPECT_EQ(top->Child(i)->Index(), i) << texts[i];
    }
  };
  model.Add(top, "d");
  model.Add(top, "b");
  model.Insert(top, 0, {.text = "c"});
  model.Insert(top, 1, {.text = "a"});
  expectPositions({"c", "a", "d", "b"});
  model.Delete(top->Child(1));
  expectPositions({"c", "d", "b"});
  model.SortChildren(top, [](const TreeNode& x, const TreeNode& y) { return x.Text() < y.Text(); });
  expectPositions({"b", "c", "d"});
  EXPECT_EQ(model.Add(nullptr, "second")->Index(), 1u);
}

TEST(TreeModel, AnExpansionThatLoadedNothingIsTriedAgain) {
  // A drive whose disc is put in only after the first try.
  TreeModel model;
  TreeNode* drive = model.Add(nullptr, {.text = "D:", .hasChildren = true});
  bool discIn = false;
  int loads = 0;
  model.SetLoader([&](TreeModel& tree, TreeNode& node) {
    ++loads;
    if (discIn) tree.Add(&node, "SETUP");
  });
  model.Expand(drive);
  EXPECT_FALSE(drive->Expanded());
  EXPECT_TRUE(drive->HasChildren()) << "the expand button stays";
  discIn = true;
  model.Expand(drive);
  EXPECT_TRUE(drive->Expanded());
  ASSERT_EQ(drive->Count(), 1u);
  model.Collapse(drive);
  model.Expand(drive);
  EXPECT_EQ(loads, 2) << "loaded children are not loaded again";
}

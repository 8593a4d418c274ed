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
  EXPECT_TRUE(top->hasChildren);
}

// Positions are cached in the nodes: every change of a child list must keep them true.
TEST(TreeModel, IndexFollowsInsertsDeletesAndSorts) {
  TreeModel model;
  TreeNode* top = model.Add(nullptr, "top");
  auto expectPositions = [&](const std::vector<std::string>& texts) {
    ASSERT_EQ(top->Count(), texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
      EXPECT_EQ(top->Child(i)->text, texts[i]);
      EXPECT_EQ(top->Child(i)->Index(), i) << texts[i];
    }
  };
  model.Add(top, "d");
  model.Add(top, "b");
  model.Insert(top, 0, "c");
  model.Insert(top, 1, "a");
  expectPositions({"c", "a", "d", "b"});
  model.Delete(top->Child(1));
  expectPositions({"c", "d", "b"});
  model.SortChildren(top, [](const TreeNode& x, const TreeNode& y) { return x.text < y.text; });
  expectPositions({"b", "c", "d"});
  EXPECT_EQ(model.Add(nullptr, "second")->Index(), 1u);
}

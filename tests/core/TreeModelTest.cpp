#include "core/TreeModel.h"

#include <gtest/gtest.h>

TEST(TreeModel, PathJoinsTextsFromTheTop) {
  TreeModel model;
  TreeNode* top = model.Add(nullptr, "My Computer");
  TreeNode* key = model.Add(model.Add(top, "HKEY_LOCAL_MACHINE"), "Software");
  EXPECT_EQ(key->Path(), "My Computer\\HKEY_LOCAL_MACHINE\\Software");
  EXPECT_EQ(key->Level(), 2);
  EXPECT_TRUE(top->hasChildren);
}

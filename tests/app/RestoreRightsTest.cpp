#include "app/RestoreRights.h"

#include <gtest/gtest.h>

#include "core/ScriptedInteraction.h"

namespace {

class RestoreRightsTest : public ::testing::Test {
 protected:
  // A registry result tree "My Computer" with the given root keys, each with a key "Software".
  TreeNode* Registry(std::initializer_list<const char*> roots) {
    TreeNode* top = tree.Add(nullptr, "My Computer");
    for (const char* root : roots) tree.Add(tree.Add(top, root), "Software");
    return top;
  }

  TreeModel tree;
  AppState app;
  ScriptedInteraction ui;
};

TEST_F(RestoreRightsTest, OnlyRegistryChangesOfTheCurrentUserNeedNoRights) {
  TreeNode* top = Registry({"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"});
  TreeNode* user = top->Child(0);
  TreeNode* machine = top->Child(1);
  EXPECT_TRUE(RestoreNeedsAdministratorRights(LogSection::Registry, *top));
  EXPECT_FALSE(RestoreNeedsAdministratorRights(LogSection::Registry, *user));
  EXPECT_FALSE(RestoreNeedsAdministratorRights(LogSection::Registry, *user->Child(0)));
  EXPECT_TRUE(RestoreNeedsAdministratorRights(LogSection::Registry, *machine->Child(0)));
  TreeModel userOnly;
  TreeNode* alone = userOnly.Add(nullptr, "My Computer");
  userOnly.Add(alone, "HKEY_CURRENT_USER");
  EXPECT_FALSE(RestoreNeedsAdministratorRights(LogSection::Registry, *alone));
  // Any file may lie in a protected folder.
  EXPECT_TRUE(RestoreNeedsAdministratorRights(LogSection::Drives, *user));
  EXPECT_TRUE(RestoreNeedsAdministratorRights(LogSection::SystemFiles, *user));
}

TEST_F(RestoreRightsTest, WithoutRightsTheUserIsAskedAndDecides) {
  TreeNode* machine = Registry({"HKEY_LOCAL_MACHINE"})->Child(0);
  EXPECT_TRUE(AcceptRestoreRights(app, ui, LogSection::Registry, *machine));
  EXPECT_TRUE(ui.messages.empty()) << "with the rights nothing is asked";

  app.administratorRights = false;
  for (const MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
    ui.answers.push_back(answer);
    EXPECT_EQ(AcceptRestoreRights(app, ui, LogSection::Registry, *machine), answer == MsgAnswer::Yes);
  }
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, kRestoreWithoutRightsText);
  EXPECT_EQ(ui.messages[0].type, MsgType::Warning);
  EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNo);
}

}  // namespace

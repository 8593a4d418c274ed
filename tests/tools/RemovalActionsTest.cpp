#include "tools/RemovalActions.h"

#include <gtest/gtest.h>

#include "core/CheckStates.h"

namespace {

TreeNode* Node(TreeModel& tree, TreeNode* parent, const std::string& text, int state) {
  return tree.Add(parent, NodeFields{text, state});
}

std::vector<std::string> Rows(const std::vector<RemovalAction>& actions) {
  std::vector<std::string> rows;
  for (const RemovalAction& action : actions)
    rows.push_back(std::string(RemovalTypeText(action.kind)) + "|" + action.path + "|" + action.status +
                   (action.ticked ? "|ticked" : "|not ticked"));
  return rows;
}

// A wholly ticked drive gives rows for its ticked folders, never for the drive; a ticked folder
// gives one row however many of its sub-folders are ticked with it; the four trees come in the
// order of the pages.
TEST(RemovalActions, CheckedNodesFromLevelTwoAreRowsAndTheirSubtreesAreNotWalked) {
  TreeModel programFiles, startMenu, software, fileTypes;
  TreeNode* drives = Node(programFiles, nullptr, "Drives", kStatePartlyChecked);
  TreeNode* c = Node(programFiles, drives, "C: System", kStatePartlyChecked);
  TreeNode* program = Node(programFiles, c, "Program Files", kStatePartlyChecked);
  TreeNode* acme = Node(programFiles, program, "Acme", kStateChecked);
  Node(programFiles, acme, "bin", kStateChecked);
  Node(programFiles, program, "Other", kStateUnchecked);
  TreeNode* partly = Node(programFiles, program, "Partly", kStatePartlyChecked);
  Node(programFiles, partly, "Deep", kStateChecked);
  TreeNode* d = Node(programFiles, drives, "D: Data", kStateChecked);
  Node(programFiles, d, "Apps", kStateChecked);

  TreeNode* menuDrives = Node(startMenu, nullptr, "Drives", kStatePartlyChecked);
  TreeNode* menuDrive = Node(startMenu, menuDrives, "C: System", kStatePartlyChecked);
  Node(startMenu, menuDrive, "Start Menu", kStateChecked);

  TreeNode* computer = Node(software, nullptr, "My Computer", kStatePartlyChecked);
  TreeNode* user = Node(software, computer, "HKEY_CURRENT_USER", kStatePartlyChecked);
  TreeNode* soft = Node(software, user, "Software", kStatePartlyChecked);
  Node(software, soft, "Acme", kStateChecked);
  Node(software, computer, "HKEY_LOCAL_MACHINE", kStateChecked);

  TreeNode* types = Node(fileTypes, nullptr, "My Computer", kStatePartlyChecked);
  TreeNode* classes = Node(fileTypes, types, "HKEY_CLASSES_ROOT", kStatePartlyChecked);
  Node(fileTypes, classes, ".acme", kStateChecked);
  Node(fileTypes, classes, "Acme.Document", kStateChecked);

  EXPECT_EQ(Rows(BuildRemovalActions({programFiles, startMenu, software, fileTypes})),
            (std::vector<std::string>{
                "Delete Folder|C:\\Program Files\\Acme|To Do|ticked",
                "Delete Folder|C:\\Program Files\\Partly\\Deep|To Do|ticked",
                "Delete Folder|D:\\Apps|To Do|ticked",
                "Delete Folder|C:\\Start Menu|To Do|ticked",
                "Delete Entry|HKEY_CURRENT_USER\\Software\\Acme|To Do|ticked",
                "Delete Entry|HKEY_CLASSES_ROOT\\.acme|To Do|ticked",
                "Delete Entry|HKEY_CLASSES_ROOT\\Acme.Document|To Do|ticked",
            }));
}

TEST(RemovalActions, TreesWithNothingTickedGiveNoRows) {
  TreeModel empty, unticked;
  TreeNode* top = Node(unticked, nullptr, "Drives", kStateUnchecked);
  Node(unticked, Node(unticked, top, "C: System", kStateUnchecked), "Windows", kStateUnchecked);
  EXPECT_TRUE(BuildRemovalActions({empty, unticked, empty, unticked}).empty());
}

}  // namespace

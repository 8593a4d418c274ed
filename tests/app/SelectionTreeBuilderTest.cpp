#include <gtest/gtest.h>

#include "app/SelectionTreeBuilder.h"
#include "app/Session.h"
#include "core/CheckStates.h"

TEST(SelectionTreeBuilder, DefaultRegistrySelectionLeavesTheControlSetsOut) {
  // Wine keeps only CurrentControlSet; a numbered copy stands in for the ones Windows has. The
  // current one is left out too: its device entries change at every start.
  HKEY created = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "System\\ControlSet0099\\Sub", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &created, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(created);
  struct Cleanup {
    ~Cleanup() {
      RegDeleteKeyA(HKEY_LOCAL_MACHINE, "System\\ControlSet0099\\Sub");
      RegDeleteKeyA(HKEY_LOCAL_MACHINE, "System\\ControlSet0099");
    }
  } cleanup;
  Session session;
  SelectionTrees trees = session.Selection();
  BuildRegistrySelectionTree(trees.registry);
  TreeNode* top = trees.registry.FirstTop();
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->Text(), "My Computer");
  ASSERT_NE(FindTreeNode({"My Computer", "HKEY_LOCAL_MACHINE"}, trees.registry), nullptr);

  ApplyDefaultSelection(trees);
  TreeNode* machine = FindTreeNode({"My Computer", "HKEY_LOCAL_MACHINE"}, trees.registry);
  EXPECT_EQ(machine->StateIndex(), kStatePartlyChecked);
  EXPECT_EQ(top->StateIndex(), kStatePartlyChecked);
  TreeNode* system = FindTreeNode({"My Computer", "HKEY_LOCAL_MACHINE", "SYSTEM"}, trees.registry);
  ASSERT_NE(system, nullptr);
  EXPECT_EQ(system->StateIndex(), kStatePartlyChecked);
  int controlSets = 0;
  for (size_t i = 0; i < system->Count(); ++i) {
    const TreeNode& child = *system->Child(i);
    bool isControlSet = _strnicmp(child.Text().c_str(), "ControlSet", 10) == 0 ||
                        _stricmp(child.Text().c_str(), "CurrentControlSet") == 0;
    controlSets += isControlSet;
    EXPECT_EQ(child.StateIndex(), isControlSet ? kStateUnchecked : kStateChecked) << child.Text();
  }
  EXPECT_GE(controlSets, 2);
  EXPECT_EQ(
      FindTreeNode({"My Computer", "HKEY_LOCAL_MACHINE", "SYSTEM", "CurrentControlSet"}, trees.registry)->StateIndex(),
      kStateUnchecked);
  EXPECT_EQ(FindTreeNode({"My Computer", "HKEY_USERS"}, trees.registry)->StateIndex(), kStateChecked);
  EXPECT_EQ(FindTreeNode({"My Computer", "HKEY_CLASSES_ROOT"}, trees.registry)->StateIndex(), kStateUnchecked);
}

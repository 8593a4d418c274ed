#include <gtest/gtest.h>

#include "app/SelectionTreeBuilder.h"
#include "app/Session.h"
#include "core/CheckStates.h"
#include "platform/WineDrives.h"

TEST(SelectionTreeBuilder, DefaultRegistrySelectionLeavesTheControlSetsOut) {
  // Wine keeps only CurrentControlSet; a numbered copy stands in for the ones Windows has. The
  // current one is left out too: its device entries change at every start. A key that merely
  // holds the word in its name stays selected.
  for (const char* key : {"System\\ControlSet0099\\Sub", "System\\MyControlSetBackup"}) {
    HKEY created = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(created);
  }
  struct Cleanup {
    ~Cleanup() {
      RegDeleteKeyA(HKEY_LOCAL_MACHINE, "System\\ControlSet0099\\Sub");
      RegDeleteKeyA(HKEY_LOCAL_MACHINE, "System\\ControlSet0099");
      RegDeleteKeyA(HKEY_LOCAL_MACHINE, "System\\MyControlSetBackup");
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
  TreeNode* backup =
      FindTreeNode({"My Computer", "HKEY_LOCAL_MACHINE", "SYSTEM", "MyControlSetBackup"}, trees.registry);
  ASSERT_NE(backup, nullptr);
  EXPECT_EQ(backup->StateIndex(), kStateChecked);
  EXPECT_EQ(FindTreeNode({"My Computer", "HKEY_USERS"}, trees.registry)->StateIndex(), kStateChecked);
  EXPECT_EQ(FindTreeNode({"My Computer", "HKEY_CLASSES_ROOT"}, trees.registry)->StateIndex(), kStateUnchecked);
}

TEST(SelectionTreeBuilder, DefaultDriveSelectionLeavesWinesUnixRootDriveOut) {
  // A new prefix maps "/" as Z: and the prefix's own drive_c as C:.
  EXPECT_TRUE(IsUnixRootDrive("Z:\\"));
  EXPECT_TRUE(IsUnixRootDrive("z:"));
  EXPECT_FALSE(IsUnixRootDrive("C:\\"));
  EXPECT_FALSE(IsUnixRootDrive(""));

  Session session;
  SelectionTrees trees = session.Selection();
  BuildDriveSelectionTree(trees.drives, [](HICON) { return 0; });
  ApplyDefaultSelection(trees);
  TreeNode* drives = trees.drives.FirstTop();
  ASSERT_NE(drives, nullptr);
  int seen = 0;
  for (size_t i = 0; i < drives->Count(); ++i) {
    const TreeNode& drive = *drives->Child(i);
    const std::string letter = drive.Text().substr(0, 1);
    if (letter == "C") {
      EXPECT_NE(drive.StateIndex(), kStateUnchecked) << "the fixed drive of the installation";
    }
    if (letter == "Z") {
      EXPECT_EQ(drive.StateIndex(), kStateUnchecked) << "the whole Unix file system";
    }
    seen += letter == "C" || letter == "Z";
  }
  EXPECT_EQ(seen, 2) << "both drives are listed";
}

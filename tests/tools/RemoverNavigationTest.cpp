#include "tools/RemoverNavigation.h"

#include <gtest/gtest.h>

namespace {

TEST(RemoverNavigation, AFolderPathFindsItsNodeThroughTheLastDriveOfItsLetter) {
  TreeModel tree;
  TreeNode* top = tree.Add(nullptr, "Drives");
  TreeNode* first = tree.Add(top, "C: Old");
  tree.Add(first, "Program Files");
  TreeNode* drive = tree.Add(top, "c: System");
  TreeNode* programs = tree.Add(drive, "Program Files");
  TreeNode* acme = tree.Add(programs, "Acme");

  EXPECT_EQ(FolderNodeOf("C:\\Program Files", tree), programs);
  EXPECT_EQ(FolderNodeOf("c:\\PROGRAM FILES\\acme\\", tree), acme);
  for (const char* path : {"", "C", "\\\\server\\share", "C:\\Missing", "D:\\Program Files"})
    EXPECT_EQ(FolderNodeOf(path, tree), nullptr) << path;
}

TEST(RemoverNavigation, TheFileTypesBeginAfterTheRunOfExtensions) {
  const struct {
    std::vector<const char*> children;
    const char* expected;  // nullptr: none
  } cases[] = {
      {{"*", ".a", ".b", "afile", "bfile"}, "afile"},
      {{".a", "afile"}, "afile"},
      {{"AppID", "CLSID", ".a", "afile", ".late"}, "afile"},
      {{".a", ".b"}, nullptr},
      {{"afile", "bfile"}, nullptr},
      {{}, nullptr},
  };
  for (const auto& test : cases) {
    TreeModel tree;
    TreeNode* classes = tree.Add(nullptr, "HKEY_CLASSES_ROOT");
    for (const char* name : test.children) tree.Add(classes, name);
    const TreeNode* found = FileTypeBlockNode(*classes);
    EXPECT_EQ(found ? found->Text() : "(none)", test.expected ? test.expected : "(none)") << test.children.size();
  }
}

}  // namespace

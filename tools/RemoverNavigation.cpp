#include "tools/RemoverNavigation.h"

#include <cctype>

#include "core/CheckStates.h"
#include "platform/TMyRegistry.h"

namespace {

bool SameLetter(char a, char b) {
  return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
}

bool BeginsWithDot(const TreeNode& node) { return !node.Text().empty() && node.Text()[0] == '.'; }

}  // namespace

TreeNode* FolderNodeOf(const std::string& path, TreeModel& driveTree) {
  const TreeNode* top = driveTree.FirstTop();
  if (!top || path.size() < 2 || path[1] != ':') return nullptr;
  std::string treePath = path;
  const TreeNode* drive = nullptr;
  for (size_t i = 0; i < top->Count(); ++i) {
    const std::string& text = top->Child(i)->Text();
    if (!text.empty() && SameLetter(text[0], path[0])) drive = top->Child(i);
  }
  if (drive) treePath.replace(0, 2, drive->Text());
  return FindTreeNodeByPath(top->Text() + "\\" + treePath, driveTree, true);
}

std::string RegistryText(HKEY root, const std::string& key, const std::string& value) {
  TMyRegistry reg(root, kRegAccessRead);
  if (!reg.OpenKey("\\" + key, false) || !reg.ValueExists(value)) return {};
  return reg.ReadString(value);
}

TreeNode* FileTypeBlockNode(const TreeNode& classesRoot) {
  size_t i = 0;
  while (i < classesRoot.Count() && !BeginsWithDot(*classesRoot.Child(i))) ++i;
  while (i < classesRoot.Count() && BeginsWithDot(*classesRoot.Child(i))) ++i;
  return i < classesRoot.Count() ? classesRoot.Child(i) : nullptr;
}

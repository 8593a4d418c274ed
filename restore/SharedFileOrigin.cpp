#include "restore/SharedFileOrigin.h"

#include <vector>

#include "compare/ResultRecords.h"
#include "core/TextCompare.h"
#include "datafiles/RegDataCode.h"
#include "restore/RegistryRestore.h"

namespace {

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) names.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

bool SameName(const std::string& a, const std::string& b) { return CompareTextLocale(a, b) == 0; }

// The child of node named name. The children of a new or deleted node stand in the change
// block until an expansion reads them; the batch trees have no loader, so read them here.
TreeNode* ChildNamed(TreeModel& tree, TreeNode& node, const std::string& name, const std::string& logFileName,
                     const LogPositions& positions, LogSection section, UserInteraction& ui) {
  if (node.Count() == 0 && node.HasChildren() && IsNewOrDeleted(KindOf(node.StateIndex())))
    ExpandResultNode(tree, node, logFileName, positions, section, ui);
  for (size_t i = 0; i < node.Count(); ++i)
    if (SameName(node.Child(i)->Text(), name)) return node.Child(i);
  return nullptr;
}

// The level-1 node of a drive result tree shows the letter first ("C:" or "C: (label)").
TreeNode* DriveNode(TreeModel& tree, const std::string& drive) {
  TreeNode* top = tree.FirstTop();
  if (!top || drive.size() != 2 || drive[1] != ':') return nullptr;
  for (size_t i = 0; i < top->Count(); ++i) {
    TreeNode* child = top->Child(i);
    if (child->Text().size() >= 2 && child->Text()[1] == ':' &&
        SameName(child->Text().substr(0, 1), drive.substr(0, 1)))
      return child;
  }
  return nullptr;
}

bool FileAdded(const std::string& path, TreeModel& tree, const std::string& logFileName, const LogPositions& positions,
               UserInteraction& ui) {
  const std::vector<std::string> names = SplitPath(path);
  if (names.size() < 2) return false;
  TreeNode* node = DriveNode(tree, names.front());
  for (size_t i = 1; node && i + 1 < names.size(); ++i)
    node = ChildNamed(tree, *node, names[i], logFileName, positions, LogSection::Drives, ui);
  if (!node) return false;
  std::vector<ResultRow> rows;
  ReadDriveRows(*node, logFileName, positions, rows);
  for (const ResultRow& row : rows)
    if (KindOf(row.kind) == kRecordNew && SameName(row.name, names.back())) return true;
  return false;
}

bool CounterAdded(const std::string& path, TreeModel& tree, const std::string& logFileName,
                  const LogPositions& positions, UserInteraction& ui) {
  TreeNode* node = tree.FirstTop();
  for (const std::string& name : SplitPath(kSharedDllsKeyPath)) {
    if (!node) return false;
    node = ChildNamed(tree, *node, name, logFileName, positions, LogSection::Registry, ui);
  }
  if (!node) return false;
  std::vector<ResultRow> rows;
  ReadRegistryRows(*node, logFileName, positions, "", "", rows);
  for (const ResultRow& row : rows)
    if (KindOf(row.kind) == kRecordNew && row.typeCode == kRdInteger && SameName(row.name, path)) return true;
  return false;
}

}  // namespace

SharedFileOrigin FindSharedFileOrigin(const std::string& path, const ResultTrees& trees, const std::string& logFileName,
                                      const LogPositions& positions, UserInteraction& ui) {
  SharedFileOrigin origin;
  if (logFileName.empty()) return origin;
  origin.fileAdded = FileAdded(path, trees.drives, logFileName, positions, ui);
  origin.counterAdded = CounterAdded(path, trees.registry, logFileName, positions, ui);
  return origin;
}

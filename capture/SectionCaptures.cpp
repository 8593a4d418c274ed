#include "capture/SectionCaptures.h"

#include "core/Errors.h"
#include "datafiles/ConfigurationFile.h"

namespace {

constexpr int kUnchecked = 3;

// The root-level nodes the user selected: the children of the top node not unchecked.
std::vector<const TreeNode*> SelectedRoots(const TreeModel& tree) {
  std::vector<const TreeNode*> roots;
  const TreeNode* top = tree.FirstTop();
  if (!top) return roots;
  for (size_t i = 0; i < top->Count(); ++i)
    if (top->Child(i)->stateIndex != kUnchecked) roots.push_back(top->Child(i));
  return roots;
}

// The walks of roots, drives and system files come with the selection trees that offer them;
// until then a selected node cannot exist, and meeting one is an internal error, never a
// silently incomplete file.
void RequireNoSelection(const TreeModel& tree, const char* method) {
  if (!SelectedRoots(tree).empty()) RaiseUnknownCase("SectionCaptures", method);
}

}  // namespace

void CaptureRegistrySection(TWriter& writer, TreeModel& registryTree, const CaptureProgress&) {
  RequireNoSelection(registryTree, "CaptureRegistrySection");
  writer.WriteListBegin();
  writer.WriteListEnd();
}

void CaptureDrivesSection(TWriter& writer, const TreeModel& driveTree, const CaptureProgress&) {
  RequireNoSelection(driveTree, "CaptureDrivesSection");
  writer.WriteString(kDrivesHeader);
  writer.WriteListBegin();
  writer.WriteListEnd();
}

void CaptureSystemFilesSection(TWriter& writer, const TreeModel& systemTree, const CaptureProgress&) {
  RequireNoSelection(systemTree, "CaptureSystemFilesSection");
  writer.WriteString(kSystemFilesHeader);
  writer.WriteListBegin();
  writer.WriteListEnd();
}

#include "tools/FileTypeLinks.h"

#include <algorithm>

#include "core/CheckStates.h"
#include "core/Errors.h"
#include "core/TextCompare.h"
#include "platform/TMyRegistry.h"

namespace {

constexpr int kShortestPause = 300;
constexpr int kPauseStep = 70;

bool IsExtensionName(const std::string& name) { return !name.empty() && (name[0] == '.' || name[0] == '*'); }

bool SameTextIgnoringCase(const std::string& a, const std::string& b) { return CompareTextLocale(a, b) == 0; }

// Ticked as a click would tick it, then shown, with the tree repainted before the next step.
void Tick(TreeNode& node, UserInteraction& ui, const FileTypeLinkSeams& seams) {
  SetNodeChecked(node, true);
  if (seams.showNode) seams.showNode(node);
  ui.ProcessMessages();
}

void OfferMatchingExtensions(TreeNode& classesRoot, const std::string& typeName, UserInteraction& ui,
                             const FileTypeLinkSeams& seams) {
  const std::vector<TreeNode*> matches = MatchingExtensions(classesRoot, typeName, seams);
  if (matches.empty()) return;
  const std::string question =
      "There are " + std::to_string(matches.size()) + " matching extensions!\rAlso select these extensions?";
  if (ui.Ask(MsgType::Confirmation, question, MsgButtons::YesNo) != MsgAnswer::Yes) return;
  ExtensionPacing pacing;
  for (TreeNode* extension : matches) {
    Tick(*extension, ui, seams);
    if (seams.pause) seams.pause(pacing.Next());
  }
}

}  // namespace

int ExtensionPacing::Next() {
  const int pause = pause_;
  pause_ = std::max(kShortestPause, pause_ - kPauseStep);
  return pause;
}

std::string ClassesRootDefaultValue(const std::string& keyName) {
  TMyRegistry reg(HKEY_CLASSES_ROOT, kRegAccessRead);
  if (keyName.empty() || !reg.OpenKey("\\" + keyName, false) || !reg.ValueExists("")) return {};
  return reg.ReadString("");
}

TreeNode* ClassesRootNode(TreeModel& tree) {
  const TreeNode* top = tree.FirstTop();
  if (!top) return nullptr;
  TreeNode* node = FindTreeNode({top->Text(), "HKEY_CLASSES_ROOT"}, tree);
  if (node && node->Count() == 0) tree.Expand(node);
  return node;
}

std::vector<TreeNode*> MatchingExtensions(TreeNode& classesRoot, const std::string& typeName,
                                          const FileTypeLinkSeams& seams) {
  std::vector<TreeNode*> matches;
  for (size_t i = 0; i < classesRoot.Count(); ++i) {
    TreeNode* extension = classesRoot.Child(i);
    if (!IsExtensionName(extension->Text())) break;
    if (extension->StateIndex() == kStateChecked) continue;
    if (SameTextIgnoringCase(seams.defaultValueOf(extension->Text()), typeName)) matches.push_back(extension);
  }
  return matches;
}

void LinkFileTypeSelection(TreeNode& node, UserInteraction& ui, const FileTypeLinkSeams& seams) {
  if (node.StateIndex() != kStateChecked && node.StateIndex() != kStatePartlyChecked) return;
  TreeNode* classesRoot = ClassesRootNode(*node.Owner());
  if (!classesRoot) return;
  if (!IsExtensionName(node.Text())) {
    OfferMatchingExtensions(*classesRoot, node.Text(), ui, seams);
    return;
  }
  const std::string typeName = seams.defaultValueOf(node.Text());
  if (typeName.empty()) return;
  TreeNode* type = nullptr;
  for (size_t i = 0; i < classesRoot->Count() && !type; ++i)
    if (SameTextIgnoringCase(classesRoot->Child(i)->Text(), typeName)) type = classesRoot->Child(i);
  if (!type) return;
  if (ui.Ask(MsgType::Confirmation, FormatText("Also select file type '%s'?", type->Text()), MsgButtons::YesNo) !=
      MsgAnswer::Yes)
    return;
  Tick(*type, ui, seams);
  OfferMatchingExtensions(*classesRoot, type->Text(), ui, seams);
}

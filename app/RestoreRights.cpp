#include "app/RestoreRights.h"

namespace {

constexpr char kCurrentUserRoot[] = "HKEY_CURRENT_USER";

}  // namespace

bool RestoreNeedsAdministratorRights(LogSection section, const TreeNode& node) {
  if (section != LogSection::Registry) return true;
  if (node.Level() == 0) {
    for (size_t i = 0; i < node.Count(); ++i)
      if (node.Child(i)->Text() != kCurrentUserRoot) return true;
    return false;
  }
  const TreeNode* rootKey = &node;
  while (rootKey->Level() > 1) rootKey = rootKey->Parent();
  return rootKey->Text() != kCurrentUserRoot;
}

bool AcceptRestoreRights(const AppState& app, UserInteraction& ui, LogSection section, const TreeNode& node) {
  if (app.administratorRights || !RestoreNeedsAdministratorRights(section, node)) return true;
  return ui.Ask(MsgType::Warning, kRestoreWithoutRightsText, MsgButtons::YesNo) == MsgAnswer::Yes;
}

bool AcceptRestoreAllRights(const AppState& app, UserInteraction& ui, const ResultTrees& results) {
  for (LogSection section : {LogSection::Registry, LogSection::Drives, LogSection::SystemFiles})
    if (const TreeNode* top = results.Of(section).FirstTop())
      if (RestoreNeedsAdministratorRights(section, *top)) return AcceptRestoreRights(app, ui, section, *top);
  return true;
}

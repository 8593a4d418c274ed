#include "app/RestoreCommands.h"

#include <optional>

#include "app/ConfirmDialog.h"
#include "app/RestoreAllDialog.h"
#include "app/RestoreRights.h"
#include "app/RestoreSettingsOf.h"
#include "app/SharedFileDialog.h"
#include "app/Workflows.h"
#include "core/Errors.h"
#include "datafiles/SystemFileText.h"

namespace {

constexpr char kNewFilesCaption[] = "Delete new (added) folders/files.";

// Puts the status panel back however the pass ends.
class StatusScope {
 public:
  StatusScope(UserInteraction& ui, const char* text) : ui_(ui) { ui_.SetStatus(StatusChannel::Main, text); }
  ~StatusScope() { ui_.SetStatus(StatusChannel::Main, "Status"); }
  StatusScope(const StatusScope&) = delete;
  StatusScope& operator=(const StatusScope&) = delete;

 private:
  UserInteraction& ui_;
};

// What one confirmation dialog restores; its passes all run from here.
struct ConfirmTarget {
  CommandEnvironment& environment;
  SharedFilePrompt& sharedFiles;
  LogSection section;
  TreeNode* root;
  std::optional<std::vector<FilterRow>> filter;

  void RunPass(int flags, bool executing, std::vector<ToDoItem>& items) {
    Session& session = environment.session;
    ResultPages& results = environment.results;
    TreeModel& tree = session.Results().Of(section);
    {
      WaitCursor wait(environment.ui);
      std::optional<StatusScope> status;
      if (!executing) status.emplace(environment.ui, "Generating To Do List...");
      // Every executing pass asks again before deleting a write-protected file.
      if (executing) session.State().deletion.askWriteProtected = true;
      // The pass opens the whole subtree; that must neither select nodes nor refill lists.
      ResultPages::BulkExpansion bulk(results);
      TreeUpdate update(tree);
      RunRestorePass(session, environment.ui, sharedFiles, section,
                     {tree, root, filter ? &*filter : nullptr, flags, executing, &items});
    }
    // The pass completed the changed pairs of the filter: the list shows what takes part.
    if (filter) results.ShowFilterSelection(section, *filter);
    // After the wait cursor: the drive tree refuses selection changes under it.
    results.Select(section, root);
    if (executing) results.ShowSelectedRows(section);
  }
};

void ShowConfirmation(HWND owner, ConfirmTarget& target, TfConfirm& form) {
  form.flags = kRestoreDefault;
  form.runPass = [&target](int flags, bool executing, std::vector<ToDoItem>& items) {
    target.RunPass(flags, executing, items);
  };
  form.DoModal(owner);
}

// Text files cannot be put back line by line; refused before anything opens.
void RefuseTextFile(const TreeNode& node) {
  if (node.Level() != 1 || IsIniType(SystemFileTypeOfText(node.Text()))) return;
  throw Exception("Automatic restore is not possible for text files.\rPlease restore the changes manually!");
}

}  // namespace

void RestoreChangesCommand(CommandEnvironment& environment, LogSection section, bool fromList) {
  TreeNode* root = environment.results.SelectedNode(section);
  if (!root) return;
  if (section == LogSection::SystemFiles) RefuseTextFile(*root);
  if (!AcceptRestoreRights(environment.session.State(), environment.ui, section, *root)) return;
  GuiSharedFilePrompt sharedFiles(environment.owner);
  ConfirmTarget target{environment, sharedFiles, section, root, std::nullopt};
  if (fromList) target.filter = environment.results.FilterRows(section);
  TfConfirm form;
  if (section == LogSection::Drives) {
    if (!fromList) form.newItemsCaption = kNewFilesCaption;
    // Deleted and changed files come back only from the file backup.
    form.changeBoxesEnabled = CurrentRestoreSettings(environment.session.State().programFolder).useDLLBackupRestore;
  }
  ShowConfirmation(environment.owner, target, form);
}

void RestoreAllCommand(CommandEnvironment& environment) {
  struct Area {
    bool RestoreAreas::*checked;
    LogSection section;
    const char* caption;
  };
  static constexpr Area kAreas[] = {
      {&RestoreAreas::registry, LogSection::Registry, ": Registry"},
      {&RestoreAreas::files, LogSection::Drives, ": Files/Folders"},
      {&RestoreAreas::systemFiles, LogSection::SystemFiles, ": System Files"},
  };
  if (!AcceptRestoreAllRights(environment.session.State(), environment.ui, environment.session.Results())) return;
  GuiSharedFilePrompt sharedFiles(environment.owner);
  TfRestoreAll form;
  form.restore = [&](HWND owner, const RestoreAreas& areas) {
    for (const Area& area : kAreas) {
      if (!(areas.*area.checked)) continue;
      TreeNode* root = environment.session.Results().Of(area.section).FirstTop();
      if (!root) continue;
      ConfirmTarget target{environment, sharedFiles, area.section, root, std::nullopt};
      TfConfirm confirm;
      confirm.captionSuffix = area.caption;
      if (area.section == LogSection::Drives) {
        confirm.newItemsCaption = kNewFilesCaption;
        confirm.changeBoxesVisible = false;
      }
      ShowConfirmation(owner, target, confirm);
    }
  };
  form.DoModal(environment.owner);
}

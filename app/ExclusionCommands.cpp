#include "app/ExclusionCommands.h"

#include "platform/SettingsAccess.h"
#include "platform/TMyRegistry.h"
#include "compare/ResultRecords.h"
#include "compare/UpperCase.h"
#include "core/CheckStates.h"

void DontCheckNextTimeCommand(CommandEnvironment& environment, LogSection section) {
  TreeNode* node = environment.results.SelectedNode(section);
  if (!node) return;
  SelectionTrees trees = environment.session.Selection();
  TreeModel& tree = section == LogSection::Registry ? trees.registry
                    : section == LogSection::Drives ? trees.drives
                                                    : trees.systemFiles;
  DeselectInSelection(*node, tree, &environment.ui);
  environment.session.State().selectionChanged = true;
}

void AddToExcludeList(Session& session, UserInteraction& ui, const std::vector<std::string>& paths) {
  AppState& app = session.State();
  int added = 0;
  for (const std::string& path : paths) {
    // The compare matches the list in upper case: two spellings of one file are one entry.
    const std::string upper = UpperCaseLocale(path);
    bool known = false;
    for (const std::string& entry : app.excludeList) known = known || UpperCaseLocale(entry) == upper;
    if (known) continue;
    app.excludeList.push_back(path);
    ++added;
  }
  app.selectionChanged = true;
  session.View().ExcludeListChanged();
  ui.Tell(MsgType::Information, std::to_string(added) + " files added to the \"Exclude Files\" list.");
}

void DontCheckFilesNextTimeCommand(CommandEnvironment& environment) {
  ResultPages& results = environment.results;
  TreeNode* folder = results.SelectedNode(LogSection::Drives);
  std::vector<std::string> paths;
  if (folder) {
    const std::string path = DriveFolderPath(*folder);
    for (const FilterRow& row : results.FilterRows(LogSection::Drives))
      if (row.selected) paths.push_back(path + row.name);
  }
  AddToExcludeList(environment.session, environment.ui, paths);
}

void AddExcludedFilesCommand(Session& session, UserInteraction& ui) {
  FileDialogSpec spec;
  spec.title = "Exclude files";
  spec.filter = "All files (*.*)|*.*";
  spec.fileMustExist = true;
  std::vector<std::string> paths;
  if (!ui.ChooseOpenFiles(spec, paths)) return;
  AddToExcludeList(session, ui, paths);
}

bool IsClassIdText(const std::string& text) {
  return !text.empty() && text[0] == '{' && text.find('-') == 9 && text.find('}') == 37;
}

void ShowClassIdNameCommand(CommandEnvironment& environment) {
  UserInteraction& ui = environment.ui;
  TreeNode* node = environment.results.SelectedNode(LogSection::Registry);
  if (!node) return;
  TMyRegistry classes(HKEY_CLASSES_ROOT, kRegAccessRead);
  if (!classes.OpenKey("CLSID\\" + node->Text(), false)) {
    ui.Tell(MsgType::Information, "CLSID entry not found.");
    return;
  }
  const std::string value = classes.ValueExists("") ? classes.ReadString("") : ReadRequiredText("EmptyText");
  ui.Tell(MsgType::Information, "CLSID:" + node->Text() + "\rCurrent value:" + value);
}

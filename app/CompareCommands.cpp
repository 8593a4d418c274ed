#include "app/CompareCommands.h"

#include "app/Workflows.h"
#include "platform/FileSystem.h"
#include "capture/SaveConfiguration.h"
#include "core/CheckStates.h"
#include "core/Errors.h"

namespace {

// Incremental Compare and Compare Configurations ask their own two questions instead of the
// full validation; No ends the command with the notice only.
bool ConfirmSomethingSelected(const SelectionTrees& trees, UserInteraction& ui) {
  const std::pair<TreeModel*, const char*> checks[] = {
      {&trees.registry, "No registry keys selected!\rContinue anyway?"},
      {&trees.drives, "No drives selected!\rContinue anyway?"}};
  for (const auto& [tree, question] : checks) {
    TreeNode* top = tree->FirstTop();
    if (top && top->StateIndex() == kStateUnchecked &&
        ui.Ask(MsgType::Confirmation, question, MsgButtons::YesNo) != MsgAnswer::Yes) {
      ui.Tell(MsgType::Information, "Operation aborted!");
      return false;
    }
  }
  return true;
}

}  // namespace

void CompareCommand(CommandEnvironment& environment, bool incremental) {
  Session& session = environment.session;
  const std::string& programFolder = session.State().programFolder;
  if (!FileExists(programFolder + kOldConfigFile))
    throw Exception(incremental ? "Please use 'Save Current Configuration' first, see Help for details!"
                                : "Please save your current configuration first\rwith `Save Current Configuration` -- "
                                  "see Help for details!");
  SelectionTrees selection = session.Selection();
  TreeUpdate update(selection.registry);
  if (incremental) {
    if (!ConfirmSomethingSelected(selection, environment.ui)) return;
  } else {
    ValidateSelection(selection.registry, selection.drives, environment.ui);
  }

  FileDialogSpec spec;
  spec.title = "Save a log file.";
  spec.filter = "Log file (*.SXL)|*.SXL";
  spec.defaultExt = "SXL";
  spec.initialDir = programFolder;
  spec.promptOverwrite = true;
  std::string logFile;
  if (!environment.ui.ChooseSaveFile(spec, logFile)) return;
  if (logFile.empty() && !incremental) throw Exception("No file name specified!");
  CompareIntoLog(session, environment.calls, environment.ui, logFile, incremental);
}

void CompareConfigurationsCommand(CommandEnvironment& environment, const CompareDialogRunner& runDialog) {
  if (!ConfirmSomethingSelected(environment.session.Selection(), environment.ui)) return;
  runDialog([&environment](const ConfigurationFiles& files) {
    CompareConfigurationFiles(environment.session, environment.ui, files.oldFile, files.newFile, files.logFile);
  });
}

void LoadLogFileCommand(CommandEnvironment& environment) {
  FileDialogSpec spec;
  spec.title = "Load Log File";
  spec.filter = "Log file (*.SXL)|*.SXL";
  spec.defaultExt = "SXL";
  spec.initialDir = environment.session.State().programFolder;
  spec.fileMustExist = true;
  std::string logFile;
  if (environment.ui.ChooseOpenFile(spec, logFile)) OpenLog(environment.session, environment.ui, logFile);
}

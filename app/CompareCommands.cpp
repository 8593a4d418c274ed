#include "app/CompareCommands.h"

#include "app/OwnPlacesOf.h"
#include "platform/FileSystem.h"
#include "capture/SaveConfiguration.h"
#include "compare/CompareConfigurations.h"
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
    if (top && top->stateIndex == kStateUnchecked &&
        ui.Ask(MsgType::Confirmation, question, MsgButtons::YesNo) != MsgAnswer::Yes) {
      ui.Tell(MsgType::Information, "Operation aborted!");
      return false;
    }
  }
  return true;
}

CompareTrees TreesOf(CompareCommandContext& context) {
  SelectionTrees selection = context.selection.Trees();
  ResultTrees results = context.results.Trees();
  return {selection.registry, selection.drives,    selection.systemFiles,   results.registry,
          results.drives,     results.systemFiles, SystemFileImages{-1, -1}};
}

// A compare or load that failed has left the result trees half filled and the positions
// half overwritten: nothing of them may be shown or restored as a log any more.
void ForgetLog(CompareCommandContext& context) {
  context.app.currentLogFile.clear();
  context.results.ShowNoLog();
}

// The compare driver, with the log forgotten when it fails or is aborted.
void Compare(CompareCommandContext& context, const std::string& oldFile, const std::string& newFile,
             const std::string& logFile) {
  try {
    CompareConfigurations(oldFile, newFile, logFile, TreesOf(context), context.app.excludeList,
                          context.app.logPositions, context.ui);
  } catch (...) {
    ForgetLog(context);
    throw;
  }
  context.app.currentLogFile = logFile;
}

}  // namespace

void CompareCommand(CompareCommandContext& context, bool incremental) {
  AppState& app = context.app;
  const std::string oldFile = app.programFolder + kOldConfigFile;
  const std::string newFile = app.programFolder + kNewConfigFile;
  if (!FileExists(oldFile))
    throw Exception(incremental ? "Please use 'Save Current Configuration' first, see Help for details!"
                                : "Please save your current configuration first\rwith `Save Current Configuration` -- "
                                  "see Help for details!");
  SelectionTrees selection = context.selection.Trees();
  TreeUpdate update(selection.registry);
  if (incremental) {
    if (!ConfirmSomethingSelected(selection, context.ui)) return;
  } else {
    ValidateSelection(selection.registry, selection.drives, context.ui);
  }

  FileDialogSpec spec;
  spec.title = "Save a log file.";
  spec.filter = "Log file (*.SXL)|*.SXL";
  spec.defaultExt = "SXL";
  spec.initialDir = app.programFolder;
  spec.promptOverwrite = true;
  std::string logFile;
  if (!context.ui.ChooseSaveFile(spec, logFile)) return;
  if (logFile.empty() && !incremental) throw Exception("No file name specified!");

  {
    WaitCursor wait(context.ui);
    OwnPlaces own = CurrentOwnPlaces(app);
    selection.ownPlaces = &own;
    WriteConfigurationFile(newFile, selection, context.calls, context.ui);
    context.results.ClearLists();
    Compare(context, oldFile, newFile, logFile);
    if (incremental) {
      // The state just captured is the baseline of the next compare.
      MoveReplacing(newFile, oldFile);
    }
  }
  context.showResults();
}

void CompareConfigurationsCommand(CompareCommandContext& context, const CompareDialogRunner& runDialog) {
  if (!ConfirmSomethingSelected(context.selection.Trees(), context.ui)) return;
  runDialog([&context](const ConfigurationFiles& files) {
    {
      WaitCursor wait(context.ui);
      context.results.ClearLists();
      Compare(context, files.oldFile, files.newFile, files.logFile);
    }
    context.showResults();
  });
}

void LoadLogFileCommand(CompareCommandContext& context) {
  FileDialogSpec spec;
  spec.title = "Load Log File";
  spec.filter = "Log file (*.SXL)|*.SXL";
  spec.defaultExt = "SXL";
  spec.initialDir = context.app.programFolder;
  spec.fileMustExist = true;
  std::string logFile;
  if (context.ui.ChooseOpenFile(spec, logFile)) OpenLogFile(context, logFile);
}

void OpenLogFile(CompareCommandContext& context, const std::string& logFile) {
  {
    WaitCursor wait(context.ui);
    SelectionTrees selection = context.selection.Trees();
    context.results.ClearLists();
    try {
      LoadLogFile(logFile, selection.registry, selection.drives, selection.systemFiles, context.app.excludeList,
                  context.results.Trees(), context.app.logPositions, context.ui, [&] {
                    context.selection.ExpandTops();
                    context.selection.Refresh();
                  });
    } catch (...) {
      // The result trees no longer match the log that was current.
      ForgetLog(context);
      throw;
    }
    context.selection.ShowExcludeList();
    context.app.currentLogFile = logFile;
    context.app.selectionChanged = true;
  }
  context.showResults();
}

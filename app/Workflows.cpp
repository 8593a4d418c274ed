#include "app/Workflows.h"

#include "app/OwnPlacesOf.h"
#include "app/RestoreSettingsOf.h"
#include "platform/FileSystem.h"
#include "capture/SaveConfiguration.h"
#include "core/CheckStates.h"
#include "restore/DriveRestore.h"
#include "restore/RegistryRestore.h"
#include "restore/SystemFileRestore.h"

namespace {

void Report(const StepReport& step, const std::string& status) {
  if (step) step(status);
}

// Runs save on the selection as a capture takes it: without the program's own places of this
// moment, so that a backup folder changed in the options is left out from the next save on.
template <class Save>
auto CaptureSelection(Session& session, Save save) {
  OwnPlaces own = CurrentOwnPlaces(session.State());
  SelectionTrees trees = session.Selection();
  trees.ownPlaces = &own;
  return save(trees);
}

// The compare driver into the session's result trees; the log becomes current only when it
// succeeded.
void CompareFiles(Session& session, UserInteraction& ui, const std::string& oldFile, const std::string& newFile,
                  const std::string& logFile) {
  AppState& state = session.State();
  session.View().ResultsReplacing();
  try {
    CompareConfigurations(oldFile, newFile, logFile, session.ForCompare(), state.excludeList, state.logPositions, ui);
  } catch (...) {
    session.ForgetLog();
    throw;
  }
  state.currentLogFile = logFile;
}

RestoreDriver DriverOf(LogSection section) {
  switch (section) {
    case LogSection::Registry:
      return RestoreRegistry;
    case LogSection::Drives:
      return RestoreDrives;
    case LogSection::SystemFiles:
      break;
  }
  return RestoreSystemFiles;
}

}  // namespace

void WriteSnapshot(Session& session, MainThreadCalls& calls, UserInteraction& ui, const std::string& path) {
  CaptureSelection(session, [&](const SelectionTrees& trees) { WriteConfigurationFile(path, trees, calls, ui); });
}

void SaveCurrentConfiguration(Session& session, MainThreadCalls& calls, UserInteraction& ui) {
  CaptureSelection(session, [&](const SelectionTrees& trees) {
    SaveCurrentConfiguration(session.State().programFolder, trees, calls, ui,
                             [&] { ValidateSelection(trees.registry, trees.drives, ui); });
  });
}

bool SaveConfigurationAs(Session& session, MainThreadCalls& calls, UserInteraction& ui) {
  return CaptureSelection(session, [&](const SelectionTrees& trees) {
    return SaveConfigurationAs(session.State().programFolder, trees, calls, ui);
  });
}

void CompareIntoLog(Session& session, MainThreadCalls& calls, UserInteraction& ui, const std::string& logFile,
                    bool incremental, const StepReport& step) {
  const std::string oldFile = session.State().programFolder + kOldConfigFile;
  const std::string newFile = session.State().programFolder + kNewConfigFile;
  {
    WaitCursor wait(ui);
    WriteSnapshot(session, calls, ui, newFile);
    Report(step, "Status: Creating log file.");
    CompareFiles(session, ui, oldFile, newFile, logFile);
    // The state just captured is the baseline of the next compare.
    if (incremental) MoveReplacing(newFile, oldFile);
  }
  session.View().ResultsShown(true);
}

void CompareConfigurationFiles(Session& session, UserInteraction& ui, const std::string& oldFile,
                               const std::string& newFile, const std::string& logFile) {
  {
    WaitCursor wait(ui);
    CompareFiles(session, ui, oldFile, newFile, logFile);
  }
  session.View().ResultsShown(false);
}

void OpenLog(Session& session, UserInteraction& ui, const std::string& logFile) {
  AppState& state = session.State();
  {
    WaitCursor wait(ui);
    session.View().ResultsReplacing();
    SelectionTrees selection = session.Selection();
    try {
      LoadLogFile(logFile, selection.registry, selection.drives, selection.systemFiles, state.excludeList,
                  session.Results(), state.logPositions, ui, [&] {
                    session.ExpandSelectionTops();
                    session.RefreshSelection(ui);
                  });
    } catch (...) {
      // The result trees no longer match the log that was current.
      session.ForgetLog();
      throw;
    }
    session.View().ExcludeListChanged();
    state.currentLogFile = logFile;
    state.selectionChanged = true;
  }
  session.View().ResultsShown(true);
}

void RunRestorePass(Session& session, UserInteraction& ui, SharedFilePrompt& sharedFiles, LogSection section,
                    const RestoreRequest& request) {
  AppState& state = session.State();
  RestoreEnvironment environment{state.currentLogFile,
                                 state.logPositions,
                                 CurrentRestoreSettings(state.programFolder),
                                 state.deletion,
                                 ui,
                                 sharedFiles,
                                 &session.Results().registry,
                                 CurrentOwnPlaces(state)};
  DriverOf(section)(request, environment);
}

void RestoreAll(Session& session, UserInteraction& ui, SharedFilePrompt& sharedFiles, const StepReport& step) {
  const std::pair<const char*, LogSection> passes[] = {{"Status: Restoring registry.", LogSection::Registry},
                                                       {"Status: Restoring files.", LogSection::Drives},
                                                       {"Status: Restoring system files.", LogSection::SystemFiles}};
  for (const auto& [status, section] : passes) {
    Report(step, status);
    TreeModel& tree = session.Results().Of(section);
    // Without a log the trees hold only the "<No log file loaded>" node: nothing to restore.
    TreeNode* root = session.HasLog() ? tree.FirstTop() : nullptr;
    RunRestorePass(session, ui, sharedFiles, section, {tree, root, nullptr, kRestoreDefault, true, nullptr});
  }
}

#include "app/BatchMode.h"

#include "app/OwnPlacesOf.h"
#include "app/RestoreSettingsOf.h"
#include "app/UnattendedSharedFilePrompt.h"
#include "platform/FileSystem.h"
#include "capture/SaveConfiguration.h"
#include "compare/CompareConfigurations.h"
#include "core/Errors.h"
#include "core/TextCompare.h"
#include "restore/DriveRestore.h"
#include "restore/RegistryRestore.h"
#include "restore/SystemFileRestore.h"

namespace {

void Status(BatchContext& context, const std::string& text) {
  if (context.showStatus) context.showStatus(text);
  context.ui.ProcessMessages();
}

void Notify(const std::function<void()>& callback) {
  if (callback) callback();
}

// The selection with the program's own places of this moment.
void WriteSnapshot(BatchContext& context, const char* fileName) {
  OwnPlaces own = CurrentOwnPlaces(context.app);
  SelectionTrees trees = context.selection;
  trees.ownPlaces = &own;
  WriteConfigurationFile(context.app.programFolder + fileName, trees, context.calls, context.ui);
}

void Store(BatchContext& context) {
  Status(context, "Status: Saving current configuration.");
  WaitCursor wait(context.ui);
  WriteSnapshot(context, kOldConfigFile);
}

void Compare(BatchContext& context, const std::string& argument) {
  Status(context, "Status: Saving current configuration.");
  const std::string logFile = BatchLogFileName(argument);
  AppState& app = context.app;
  WaitCursor wait(context.ui);
  WriteSnapshot(context, kNewConfigFile);
  Status(context, "Status: Creating log file.");
  CompareTrees trees{context.selection.registry, context.selection.drives, context.selection.systemFiles,
                     context.results.registry,   context.results.drives,   context.results.systemFiles,
                     SystemFileImages{-1, -1}};
  CompareConfigurations(app.programFolder + kOldConfigFile, app.programFolder + kNewConfigFile, logFile, trees,
                        app.excludeList, app.logPositions, context.ui);
  app.currentLogFile = logFile;
  Notify(context.showResults);
}

bool IsLogFileName(const std::string& path) {
  return path.size() >= 4 && CompareTextLocale(path.substr(path.size() - 4), ".SXL") == 0;
}

// Every change of the log undone, section by section, as Restore All does without asking.
void Uninstall(BatchContext& context, const std::string& argument) {
  Status(context, "Status: Loading log file.");
  const std::string logFile = BatchLogFileName(argument);
  AppState& app = context.app;
  WaitCursor wait(context.ui);
  if (IsLogFileName(logFile) && FileExists(logFile)) {
    LoadLogFile(logFile, context.selection.registry, context.selection.drives, context.selection.systemFiles,
                app.excludeList, context.results, app.logPositions, context.ui,
                [&] { Notify(context.selectionLoaded); });
    app.currentLogFile = logFile;
    Notify(context.showResults);
  }
  const RestoreSettings settings = CurrentRestoreSettings(app.programFolder);
  UnattendedSharedFilePrompt sharedFiles(settings.handleSharedDLLs, context.results, app.currentLogFile,
                                         app.logPositions, context.ui, context.writeLine);
  RestoreEnvironment environment{
      app.currentLogFile,        app.logPositions,     settings, app.deletion, context.ui, sharedFiles,
      &context.results.registry, CurrentOwnPlaces(app)};
  struct Pass {
    const char* status;
    RestoreDriver driver;
    LogSection section;
  };
  const Pass passes[] = {{"Status: Restoring registry.", RestoreRegistry, LogSection::Registry},
                         {"Status: Restoring files.", RestoreDrives, LogSection::Drives},
                         {"Status: Restoring system files.", RestoreSystemFiles, LogSection::SystemFiles}};
  for (const Pass& pass : passes) {
    Status(context, pass.status);
    TreeModel& tree = context.results.Of(pass.section);
    // Without a log the trees hold at most the "<No log file loaded>" node: nothing to restore.
    TreeNode* root = app.currentLogFile.empty() ? nullptr : tree.FirstTop();
    pass.driver({tree, root, nullptr, kRestoreDefault, true, nullptr}, environment);
  }
}

}  // namespace

void RunBatch(const CommandLineRequest& request, BatchContext& context) {
  switch (request.action) {
    case CommandLineAction::Store:
      Store(context);
      break;
    case CommandLineAction::Compare:
      Compare(context, request.argument);
      break;
    case CommandLineAction::Uninstall:
      Uninstall(context, request.argument);
      break;
    default:
      RaiseUnknownCase("TMainForm", "RunBatch");
  }
}

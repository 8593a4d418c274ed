#include "app/MainCommands.h"

#include "app/AddSystemFileDialog.h"
#include "app/CompareCommands.h"
#include "app/ExclusionCommands.h"
#include "app/ExportCommands.h"
#include "app/ExportSelectionDialog.h"
#include "app/OptionsDialog.h"
#include "app/OwnPlacesOf.h"
#include "app/RestoreCommands.h"
#include "app/SavedConfigRestore.h"
#include "app/SelectionCommands.h"
#include "app/SharedFileDialog.h"
#include "platform/NativeView.h"
#include "capture/SaveConfiguration.h"
#include "platform/SettingsAccess.h"
#include "core/CheckStates.h"
#include "core/Errors.h"
#include "res/resource.h"

void RunMainCommand(int commandId, MainCommandContext& context) {
  switch (commandId) {
    case IDM_SAVE_CURRENT_CONFIG: {
      OwnPlaces own = CurrentOwnPlaces(context.app);
      SelectionTrees trees = context.selection.Trees();
      trees.ownPlaces = &own;
      SaveCurrentConfiguration(context.app.programFolder, trees, context.calls, context.ui,
                               [&] { ValidateSelection(trees.registry, trees.drives, context.ui); });
      break;
    }
    case IDM_SAVE_CONFIG_AS: {
      OwnPlaces own = CurrentOwnPlaces(context.app);
      SelectionTrees trees = context.selection.Trees();
      trees.ownPlaces = &own;
      SaveConfigurationAs(context.app.programFolder, trees, context.calls, context.ui);
      break;
    }
    case IDM_COMPARE:
    case IDM_INCREMENTAL_COMPARE:
    case IDM_LOAD_LOG_FILE: {
      CompareCommandContext compare{context.app,       context.ui,      context.calls,
                                    context.selection, context.results, context.showResults};
      if (commandId == IDM_LOAD_LOG_FILE)
        LoadLogFileCommand(compare);
      else
        CompareCommand(compare, commandId == IDM_INCREMENTAL_COMPARE);
      break;
    }
    case IDM_COMPARE_CONFIGURATIONS: {
      CompareCommandContext compare{context.app,       context.ui,      context.calls,
                                    context.selection, context.results, context.showResultPages};
      CompareConfigurationsCommand(compare, [&](const std::function<void(const ConfigurationFiles&)>& run) {
        RunCompareDialog(context.owner, run);
      });
      break;
    }
    case IDM_EXPORT_REG_DATA:
    case IDM_EXPORT_DRIVE_DATA:
    case IDM_EXPORT_SYSTEM_DATA: {
      ExportCommandContext exportContext{context.app, context.ui, context.results, [&](ExportChoice& choice) {
                                           return RunExportSelectionDialog(context.owner, choice);
                                         }};
      ExportDataCommand(exportContext, static_cast<LogSection>(commandId - IDM_EXPORT_REG_DATA));
      break;
    }
    case IDM_LOAD_SELECTION:
      LoadSelectionCommand(context.app, context.selection, context.ui);
      break;
    case IDM_SAVE_SELECTION:
      SaveSelectionCommand(context.app, context.selection, context.ui);
      break;
    case IDM_RESET_SELECTIONS:
      ResetSelectionsCommand(context.app, context.selection, context.ui);
      break;
    case IDM_RESTORE_REGISTRY:
    case IDM_RESTORE_DRIVE:
    case IDM_RESTORE_SYSTEM:
    case IDM_RESTORE_REG_VALUES:
    case IDM_RESTORE_DRIVE_FILES:
    case IDM_RESTORE_SYSTEM_VALUES:
    case IDM_RESTORE_ALL: {
      GuiSharedFilePrompt sharedFiles(context.owner);
      RestoreCommandContext restore{context.owner, context.app, context.ui, context.results, sharedFiles};
      if (commandId == IDM_RESTORE_ALL)
        RestoreAllCommand(restore);
      else if (commandId >= IDM_RESTORE_REG_VALUES)
        RestoreChangesCommand(restore, static_cast<LogSection>(commandId - IDM_RESTORE_REG_VALUES), true);
      else
        RestoreChangesCommand(restore, static_cast<LogSection>(commandId - IDM_RESTORE_REGISTRY), false);
      break;
    }
    case IDM_DONT_CHECK_REGISTRY:
    case IDM_DONT_CHECK_DRIVE:
    case IDM_DONT_CHECK_SYSTEM:
      DontCheckNextTimeCommand(context.app, context.selection, context.results, context.ui,
                               static_cast<LogSection>(commandId - IDM_DONT_CHECK_REGISTRY));
      break;
    case IDM_DONT_CHECK_DRIVE_FILES:
      DontCheckFilesNextTimeCommand(context.app, context.selection, context.results, context.ui);
      break;
    case IDM_EXCLUDE_FILES:
      AddToExcludeList(context.app, context.selection, context.ui, context.selection.SelectedDriveFiles());
      break;
    case IDM_ADD_EXCLUDED_FILES:
      AddExcludedFilesCommand(context.app, context.selection, context.ui);
      break;
    case IDM_SHOW_CLSID_NAME:
      ShowClassIdNameCommand(context.results, context.ui);
      break;
    case IDM_ADD_USER_FILE:
      AddUserFileCommand(context.selection,
                         [&](UserFileChoice& choice) { return RunAddSystemFileDialog(context.owner, choice); });
      break;
    case IDM_DELETE_USER_FILE:
      context.selection.DeleteSelectedUserFile();
      break;
    case IDM_RESTORE_SAVED_CONFIG:
      RestoreSavedConfigCommand(context.app.programFolder, context.ui);
      break;
    case IDM_REFRESH_VIEW:
      context.selection.Refresh();
      break;
    case IDM_SETTINGS:
      RunOptionsDialog(context.owner, *StaticReg(), context.app.programFolder);
      break;
    case IDM_EXIT:
      PostMessageA(context.owner, WM_CLOSE, 0, 0);
      break;
    case IDM_ABOUT:
      context.ui.Tell(MsgType::Information,
                      std::string("Quorvel 1.0\rMonitors installations and undoes them.\rRecords: ") + RecordedView());
      break;
    default:
      RaiseUnknownCase("TMainForm", "RunMainCommand");
  }
}

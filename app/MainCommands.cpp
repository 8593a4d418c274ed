#include "app/MainCommands.h"

#include "app/AboutDialog.h"
#include "app/AddSystemFileDialog.h"
#include "app/CommandEnvironment.h"
#include "app/CompareCommands.h"
#include "app/ExclusionCommands.h"
#include "app/ExportCommands.h"
#include "app/ExportSelectionDialog.h"
#include "app/InstallFileCommands.h"
#include "app/OptionsDialog.h"
#include "app/RestoreCommands.h"
#include "app/SavedConfigRestore.h"
#include "app/SelectionCommands.h"
#include "app/Settings.h"
#include "app/SettingsEffects.h"
#include "app/Workflows.h"
#include "platform/SettingsAccess.h"
#include "res/resource.h"
#include "tools/DelExistingWindow.h"
#include "tools/DeleteFontsWindow.h"
#include "tools/DuplicatesWindow.h"
#include "tools/FileBackupWindow.h"
#include "tools/TempFilesWindow.h"
#include "ui/HelpRequests.h"

namespace {

using Environment = CommandEnvironment;

CommandRow Export(int id, const char* component, LogSection section) {
  return {id, component, true, [section](Environment& e) {
            ExportDataCommand(e, section,
                              [&](ExportChoice& choice) { return RunExportSelectionDialog(e.owner, choice); });
          }};
}

CommandRow Restore(int id, const char* component, LogSection section, bool fromList) {
  return {id, component, true, [section, fromList](Environment& e) { RestoreChangesCommand(e, section, fromList); }};
}

CommandRow InstallFiles(int id, const char* component, InstallExportCommand command) {
  return {id, component, true,
          [command](Environment& e) { CreateInstallFilesCommand(e, command, InstallFileDialogs(e.owner)); }};
}

CommandRow DontCheck(int id, const char* component, LogSection section) {
  return {id, component, true, [section](Environment& e) { DontCheckNextTimeCommand(e, section); }};
}

}  // namespace

void RegisterMainCommands(CommandTable& table) {
  const CommandRow rows[] = {
      {IDM_LOAD_SELECTION, "LoadSelectionMNU", false, [](Environment& e) { LoadSelectionCommand(e.session, e.ui); }},
      {IDM_SAVE_SELECTION, "SaveSelectionMNU", false, [](Environment& e) { SaveSelectionCommand(e.session, e.ui); }},
      {IDM_RESET_SELECTIONS, "ResetSelectionsMNU", false,
       [](Environment& e) { ResetSelectionsCommand(e.session, e.ui); }},
      {IDM_RESTORE_SAVED_CONFIG, "RestoreSavedConfigMNU", false,
       [](Environment& e) { RestoreSavedConfigCommand(e.session.State().programFolder, e.ui); }},
      {IDM_LOAD_LOG_FILE, "LoadResultsMNU", false, [](Environment& e) { LoadLogFileCommand(e); }},
      {IDM_EXIT, "ExitMNU", false, [](Environment& e) { PostMessageA(e.owner, WM_CLOSE, 0, 0); }},
      {IDM_SAVE_CURRENT_CONFIG, "WriteConfigurationMNU", false,
       [](Environment& e) {
         SaveCurrentConfiguration(e.session, e.calls, e.ui);
         const AppState& state = e.session.State();
         BackUpFilesAfterSave(e.owner, {SettingsKeyPath(state.exePath), state.programFolder});
       }},
      {IDM_COMPARE, "CreateLogfileMNU", false, [](Environment& e) { CompareCommand(e, false); }},
      {IDM_INCREMENTAL_COMPARE, "ChainingincrementalcompareMNU", false,
       [](Environment& e) { CompareCommand(e, true); }},
      {IDM_SAVE_CONFIG_AS, "SaveConfigurationas1", false,
       [](Environment& e) { SaveConfigurationAs(e.session, e.calls, e.ui); }},
      {IDM_COMPARE_CONFIGURATIONS, "Compareto1", false,
       [](Environment& e) {
         CompareConfigurationsCommand(
             e, [&](const std::function<void(const ConfigurationFiles&)>& run) { RunCompareDialog(e.owner, run); });
       }},
      Export(IDM_EXPORT_REG_DATA, "ExportRegDataMNU", LogSection::Registry),
      Export(IDM_EXPORT_DRIVE_DATA, "ExportDriveDataMNU", LogSection::Drives),
      Export(IDM_EXPORT_SYSTEM_DATA, "ExportSystemDataMNU", LogSection::SystemFiles),
      {IDM_REFRESH_VIEW, "RefreshViewMNU", false, [](Environment& e) { e.session.RefreshSelection(e.ui); }},
      {IDM_SETTINGS, "SettingsMNU", false,
       [](Environment& e) {
         if (RunOptionsDialog(e.owner, *StaticReg(), e.session.State().programFolder)) ApplySettingsToWindows(e.owner);
       }},
      {IDM_HELP, "HelpMNU", false, [](Environment&) { RequestHelp(kHelpContents); }},
      {IDM_ABOUT, "AboutMNU", false, [](Environment& e) { RunAboutDialog(e.owner); }},
      {IDM_RESTORE_ALL, "RestoreAllMNU", true, [](Environment& e) { RestoreAllCommand(e); }},
      Restore(IDM_RESTORE_REGISTRY, "RemoveChangesRegistryMNU", LogSection::Registry, false),
      Restore(IDM_RESTORE_DRIVE, "RemoveChangesDriveMNU", LogSection::Drives, false),
      Restore(IDM_RESTORE_SYSTEM, "RemoveChangesSysMNU", LogSection::SystemFiles, false),
      Restore(IDM_RESTORE_REG_VALUES, "RemoveChangesRegValuesMNU", LogSection::Registry, true),
      Restore(IDM_RESTORE_DRIVE_FILES, "RemoveChangesDriveFilesMNU", LogSection::Drives, true),
      Restore(IDM_RESTORE_SYSTEM_VALUES, "RemoveChangesSysValuesMNU", LogSection::SystemFiles, true),
      DontCheck(IDM_DONT_CHECK_REGISTRY, "DoNotWatchNextTimeRegistryMNU", LogSection::Registry),
      DontCheck(IDM_DONT_CHECK_DRIVE, "DoNotWatchNextTimeDriveMNU", LogSection::Drives),
      DontCheck(IDM_DONT_CHECK_SYSTEM, "DoNotWatchNextTimeSysMNU", LogSection::SystemFiles),
      {IDM_DONT_CHECK_DRIVE_FILES, "DoNotWatchNextTimeDriveFilesMNU", true,
       [](Environment& e) { DontCheckFilesNextTimeCommand(e); }},
      {IDM_EXCLUDE_FILES, "DoNotWatchFilesMNU", false,
       [](Environment& e) { AddToExcludeList(e.session, e.ui, e.selection.SelectedDriveFiles()); }},
      {IDM_ADD_EXCLUDED_FILES, "BitBtn2", false, [](Environment& e) { AddExcludedFilesCommand(e.session, e.ui); }},
      {IDM_SHOW_CLSID_NAME, "NameOfCLSIDShowValueMNU", true, [](Environment& e) { ShowClassIdNameCommand(e); }},
      {IDM_ADD_USER_FILE, "AddUserIniMNU", false,
       [](Environment& e) {
         AddUserFileCommand(e.selection,
                            [&](UserFileChoice& choice) { return RunAddSystemFileDialog(e.owner, choice); });
       }},
      {IDM_DELETE_USER_FILE, "DelUserIniMNU", false, [](Environment& e) { e.selection.DeleteSelectedUserFile(); }},
      {IDM_FIND_TEMP_FILES, "SearchTempfilesMNU", false,
       [](Environment& e) {
         AppState& state = e.session.State();
         RunTempFilesWindow(e.owner, {SettingsKeyPath(state.exePath), state.programFolder, &state.deletion});
       }},
      {IDM_FIND_DUPLICATES, "SearchDoublesMNU", false,
       [](Environment& e) {
         AppState& state = e.session.State();
         RunDuplicatesWindow(e.owner, {SettingsKeyPath(state.exePath), state.programFolder, &state.deletion});
       }},
      {IDM_DELETE_APPLICATIONS, "DeleteExistingMNU", false,
       [](Environment& e) {
         AppState& state = e.session.State();
         // Ticks in the remover's trees are no change of the selection to be saved.
         const bool selectionChanged = state.selectionChanged;
         try {
           RunDelExistingWindow(e.owner, {SettingsKeyPath(state.exePath), state.programFolder, &state.deletion,
                                          &state.selectionChanged});
         } catch (...) {
           state.selectionChanged = selectionChanged;
           throw;
         }
         state.selectionChanged = selectionChanged;
       }},
      {IDM_FILE_BACKUP, "FileBackupMNU", false,
       [](Environment& e) {
         const AppState& state = e.session.State();
         RunFileBackupWindow(e.owner, {SettingsKeyPath(state.exePath), state.programFolder});
       }},
      {IDM_DELETE_FONTS, "DeleteFontsMNU", false,
       [](Environment& e) {
         AppState& state = e.session.State();
         RunDeleteFontsWindow(e.owner, {SettingsKeyPath(state.exePath), state.programFolder, &state.deletion});
       }},
      InstallFiles(IDM_CREATE_INSTALL_FILES, "CreateInstallFilesAllMNU", InstallExportCommand::All),
      InstallFiles(IDM_CREATE_INSTALL_FILES_REGISTRY, "CreateInstallFilesRegistryMNU", InstallExportCommand::Registry),
      InstallFiles(IDM_CREATE_INSTALL_FILES_DRIVE, "CreateInstallFilesDriveMNU", InstallExportCommand::Drives),
      InstallFiles(IDM_CREATE_INSTALL_FILES_SYSTEM, "CreateInstallFilesSysMNU", InstallExportCommand::SystemFiles),
  };
  for (const CommandRow& row : rows) table.Add(row);
}

#include "app/CommandAvailability.h"

#include "res/resource.h"

namespace {

struct CommandInfo {
  int id;
  const char* component;  // the menu item's name in error details
  bool needsLog;          // acts on the loaded log's result trees
};

// The commands that work in this build. The others stay in the menus, disabled, until they land.
constexpr CommandInfo kCommands[] = {
    {IDM_LOAD_SELECTION, "LoadSelectionMNU", false},
    {IDM_SAVE_SELECTION, "SaveSelectionMNU", false},
    {IDM_RESET_SELECTIONS, "ResetSelectionsMNU", false},
    {IDM_RESTORE_SAVED_CONFIG, "RestoreSavedConfigMNU", false},
    {IDM_LOAD_LOG_FILE, "LoadResultsMNU", false},
    {IDM_EXIT, "ExitMNU", false},
    {IDM_SAVE_CURRENT_CONFIG, "WriteConfigurationMNU", false},
    {IDM_COMPARE, "CreateLogfileMNU", false},
    {IDM_INCREMENTAL_COMPARE, "ChainingincrementalcompareMNU", false},
    {IDM_SAVE_CONFIG_AS, "SaveConfigurationas1", false},
    {IDM_COMPARE_CONFIGURATIONS, "Compareto1", false},
    {IDM_EXPORT_REG_DATA, "ExportRegDataMNU", true},
    {IDM_EXPORT_DRIVE_DATA, "ExportDriveDataMNU", true},
    {IDM_EXPORT_SYSTEM_DATA, "ExportSystemDataMNU", true},
    {IDM_REFRESH_VIEW, "RefreshViewMNU", false},
    {IDM_SETTINGS, "SettingsMNU", false},
    {IDM_ABOUT, "AboutMNU", false},
    {IDM_RESTORE_ALL, "RestoreAllMNU", true},
    {IDM_RESTORE_REGISTRY, "RemoveChangesRegistryMNU", true},
    {IDM_RESTORE_DRIVE, "RemoveChangesDriveMNU", true},
    {IDM_RESTORE_SYSTEM, "RemoveChangesSysMNU", true},
    {IDM_RESTORE_REG_VALUES, "RemoveChangesRegValuesMNU", true},
    {IDM_RESTORE_DRIVE_FILES, "RemoveChangesDriveFilesMNU", true},
    {IDM_RESTORE_SYSTEM_VALUES, "RemoveChangesSysValuesMNU", true},
    {IDM_DONT_CHECK_REGISTRY, "DoNotWatchNextTimeRegistryMNU", true},
    {IDM_DONT_CHECK_DRIVE, "DoNotWatchNextTimeDriveMNU", true},
    {IDM_DONT_CHECK_SYSTEM, "DoNotWatchNextTimeSysMNU", true},
    {IDM_DONT_CHECK_DRIVE_FILES, "DoNotWatchNextTimeDriveFilesMNU", true},
    {IDM_EXCLUDE_FILES, "DoNotWatchFilesMNU", false},
    {IDM_ADD_EXCLUDED_FILES, "BitBtn2", false},
    {IDM_SHOW_CLSID_NAME, "NameOfCLSIDShowValueMNU", true},
    {IDM_ADD_USER_FILE, "AddUserIniMNU", false},
    {IDM_DELETE_USER_FILE, "DelUserIniMNU", false},
};

const CommandInfo* FindCommand(int commandId) {
  for (const CommandInfo& command : kCommands)
    if (command.id == commandId) return &command;
  return nullptr;
}

}  // namespace

bool IsCommandEnabled(int commandId, const CommandContext& context) {
  if (context.busy) return false;
  const CommandInfo* command = FindCommand(commandId);
  return command && (context.logLoaded || !command->needsLog);
}

bool IsCommandVisible(int commandId) {
  // The install-file export stays out of the menus.
  return commandId != IDM_CREATE_INSTALL_FILES;
}

const char* CommandComponentName(int commandId) {
  const CommandInfo* command = FindCommand(commandId);
  return command ? command->component : "MainForm";
}

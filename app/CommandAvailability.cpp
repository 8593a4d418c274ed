#include "app/CommandAvailability.h"

#include "res/resource.h"

namespace {

// Commands that work in this build. The others stay in the menus, disabled, until they land.
bool IsImplemented(int commandId) {
  switch (commandId) {
    case IDM_COMPARE:
    case IDM_INCREMENTAL_COMPARE:
    case IDM_LOAD_LOG_FILE:
    case IDM_COMPARE_CONFIGURATIONS:
    case IDM_EXPORT_REG_DATA:
    case IDM_EXPORT_DRIVE_DATA:
    case IDM_EXPORT_SYSTEM_DATA:
    case IDM_LOAD_SELECTION:
    case IDM_SAVE_SELECTION:
    case IDM_RESET_SELECTIONS:
    case IDM_REFRESH_VIEW:
    case IDM_SAVE_CURRENT_CONFIG:
    case IDM_SAVE_CONFIG_AS:
    case IDM_SETTINGS:
    case IDM_EXIT:
    case IDM_ABOUT:
    case IDM_RESTORE_SAVED_CONFIG:
    case IDM_RESTORE_ALL:
    case IDM_RESTORE_REGISTRY:
    case IDM_RESTORE_DRIVE:
    case IDM_RESTORE_SYSTEM:
    case IDM_RESTORE_REG_VALUES:
    case IDM_RESTORE_DRIVE_FILES:
    case IDM_RESTORE_SYSTEM_VALUES:
    case IDM_DONT_CHECK_REGISTRY:
    case IDM_DONT_CHECK_DRIVE:
    case IDM_DONT_CHECK_SYSTEM:
    case IDM_DONT_CHECK_DRIVE_FILES:
    case IDM_EXCLUDE_FILES:
    case IDM_ADD_EXCLUDED_FILES:
    case IDM_SHOW_CLSID_NAME:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool IsCommandEnabled(int commandId, const CommandContext& context) {
  if (context.busy) return false;
  switch (commandId) {
    case IDM_RESTORE_ALL:
    case IDM_RESTORE_REGISTRY:
    case IDM_RESTORE_DRIVE:
    case IDM_RESTORE_SYSTEM:
    case IDM_RESTORE_REG_VALUES:
    case IDM_RESTORE_DRIVE_FILES:
    case IDM_RESTORE_SYSTEM_VALUES:
    case IDM_DONT_CHECK_REGISTRY:
    case IDM_DONT_CHECK_DRIVE:
    case IDM_DONT_CHECK_SYSTEM:
    case IDM_DONT_CHECK_DRIVE_FILES:
    case IDM_SHOW_CLSID_NAME:
    case IDM_EXPORT_REG_DATA:
    case IDM_EXPORT_DRIVE_DATA:
    case IDM_EXPORT_SYSTEM_DATA:
      if (!context.logLoaded) return false;
      break;
    default:
      break;
  }
  return IsImplemented(commandId);
}

bool IsCommandVisible(int commandId) {
  // The install-file export stays out of the menus.
  return commandId != IDM_CREATE_INSTALL_FILES;
}

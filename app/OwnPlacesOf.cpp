#include "app/OwnPlacesOf.h"

#include "app/Settings.h"
#include "platform/SettingsAccess.h"

OwnPlaces CurrentOwnPlaces(const AppState& app) {
  const Settings defaults = DefaultSettings(app.programFolder);
  // Without a settings object (tests, a start that failed) the defaults stand.
  const bool stored = StaticReg() != nullptr;
  const std::string backupDir =
      stored ? SettingAsText(ReadSetting("BackupDir", defaults.backupDir)) : defaults.backupDir;
  const std::string dllBackupPath =
      stored ? SettingAsText(ReadSetting("DLLBackupPath", defaults.dllBackupPath)) : defaults.dllBackupPath;
  return BuildOwnPlaces(app.exePath, app.programFolder, backupDir, dllBackupPath,
                        app.exePath.empty() ? std::string() : SettingsKeyPath(app.exePath));
}

#include "app/RestoreSettingsOf.h"

#include "platform/SettingsAccess.h"

RestoreSettings RestoreSettingsOf(const Settings& settings) {
  RestoreSettings restore;
  restore.defaultText = settings.defaultText;
  restore.emptyText = settings.emptyText;
  restore.backupFiles = settings.backupFiles;
  restore.useRecycleBin = settings.useRecycleBin;
  restore.backupDir = settings.backupDir;
  restore.handleSharedDLLs = settings.handleSharedDLLs;
  restore.dllBackupPath = settings.dllBackupPath;
  restore.useDLLBackupRestore = settings.useDLLBackupRestore;
  return restore;
}

RestoreSettings CurrentRestoreSettings(const std::string& programFolder) {
  TMyRegistry* reg = StaticReg();
  return RestoreSettingsOf(reg ? LoadSettings(*reg, programFolder) : DefaultSettings(programFolder));
}

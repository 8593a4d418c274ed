#pragma once
// The fifteen user settings, stored as named values under the settings key of the current
// user. Readers elsewhere read one value at the moment they need it (ReadSetting /
// ReadRequiredSetting); this struct is what the options dialog edits and the start-up save
// writes.

#include <cstdint>
#include <string>

class TMyRegistry;

struct Settings {
  std::string pathToSystemFiles;    // PathToSystemFiles, "C:\"
  std::string defaultText;          // DefaultText, "(default)"
  std::string emptyText;            // EmptyText, "(value not set)"
  bool showHints = true;            // ShowHints
  uint32_t hintColor = 0;           // HintColor, 0x80000018 (system tooltip colour)
  uint32_t captionColor = 0;        // CaptionColor
  uint32_t captionTextActive = 0;   // CaptionTextActive
  uint32_t captionTextInActive = 0; // CaptionTextInActive
  bool useRecycleBin = true;        // UseRecycleBin
  bool backupFiles = false;         // BackupFiles
  std::string backupDir;            // BackupDir, program folder with trailing "\"
  int handleSharedDLLs = 0;         // HandleSharedDLLs: 0 confirm, 1 delete at zero, 2 keep
  bool makeDLLBackup = false;       // MakeDLLBackup
  std::string dllBackupPath;        // DLLBackupPath, program folder + "DLLBackup\"
  bool useDLLBackupRestore = true;  // UseDLLBackupRestore
};

// The defaults; programFolder ends with a backslash.
Settings DefaultSettings(const std::string& programFolder);

// Reads every setting from the open key of reg, each missing one with its default.
Settings LoadSettings(TMyRegistry& reg, const std::string& programFolder);

// Writes all fifteen values in table order: strings as REG_SZ, the rest as REG_DWORD.
void SaveSettings(TMyRegistry& reg, const Settings& settings);

// "Software\VXN\" + program name + "\1.0"; the program name is the exe's file name without
// folder, cut before its first ".".
std::string SettingsKeyPath(const std::string& exePath);

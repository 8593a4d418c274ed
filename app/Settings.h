#pragma once
// The fifteen user settings, stored as named values under the settings key of the current
// user. Readers elsewhere read one value at the moment they need it (ReadSetting /
// ReadRequiredSetting); this struct is what the options dialog edits and the start-up save
// writes.

#include <cstdint>
#include <memory>
#include <string>

class TMyRegistry;

// The fixed colours of the caption painter (COLORREF, 0x00BBGGRR) and the system tooltip
// colour, the defaults of the colour settings.
constexpr uint32_t kDefaultHintColor = 0x80000018;
constexpr uint32_t kDefaultCaptionColor = 0x00800000;
constexpr uint32_t kDefaultCaptionTextActive = 0x00FFFFFF;
constexpr uint32_t kDefaultCaptionTextInActive = 0x00C0C0C0;

struct Settings {
  std::string pathToSystemFiles;                               // PathToSystemFiles, "C:\"
  std::string defaultText;                                     // DefaultText, "(default)"
  std::string emptyText;                                       // EmptyText, "(value not set)"
  bool showHints = true;                                       // ShowHints
  uint32_t hintColor = kDefaultHintColor;                      // HintColor
  uint32_t captionColor = kDefaultCaptionColor;                // CaptionColor
  uint32_t captionTextActive = kDefaultCaptionTextActive;      // CaptionTextActive
  uint32_t captionTextInActive = kDefaultCaptionTextInActive;  // CaptionTextInActive
  bool useRecycleBin = true;                                   // UseRecycleBin
  bool backupFiles = false;                                    // BackupFiles
  std::string backupDir;                                       // BackupDir, program folder with trailing "\"
  int handleSharedDLLs = 0;                                    // HandleSharedDLLs: 0 confirm, 1 delete at zero, 2 keep
  bool makeDLLBackup = false;                                  // MakeDLLBackup
  std::string dllBackupPath;                                   // DLLBackupPath, program folder + "DLLBackup\"
  bool useDLLBackupRestore = true;                             // UseDLLBackupRestore
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

// The folder of the exe with its trailing backslash: the defaults of the backup folders.
std::string ProgramFolderOf(const std::string& exePath);

// The exe's full path with its last four characters (".EXE") replaced by ".HLP".
std::string HelpFilePath(const std::string& exePath);

// The settings object of the program's lifetime: opens (creating) keyPath below
// HKEY_CURRENT_USER with full access, writes every missing setting with its default, and
// installs itself as StaticReg; on destruction it puts back what was installed before and
// closes the key. A key that cannot be opened raises EMyRegistryException.
class StaticRegScope {
 public:
  StaticRegScope(const std::string& keyPath, const std::string& programFolder);
  ~StaticRegScope();
  StaticRegScope(const StaticRegScope&) = delete;
  StaticRegScope& operator=(const StaticRegScope&) = delete;

  TMyRegistry& Reg() const { return *reg_; }

 private:
  std::unique_ptr<TMyRegistry> reg_;
  TMyRegistry* previous_ = nullptr;
};

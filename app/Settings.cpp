#include "app/Settings.h"

#include <type_traits>
#include <variant>

#include "platform/SettingsAccess.h"
#include "platform/TMyRegistry.h"

namespace {

using SettingField = std::variant<std::string Settings::*, bool Settings::*, uint32_t Settings::*, int Settings::*>;

struct SettingEntry {
  const char* name;
  SettingField field;
};

// The order in which the values are written.
const SettingEntry kSettingTable[] = {
    {"PathToSystemFiles", &Settings::pathToSystemFiles},
    {"DefaultText", &Settings::defaultText},
    {"EmptyText", &Settings::emptyText},
    {"ShowHints", &Settings::showHints},
    {"HintColor", &Settings::hintColor},
    {"CaptionColor", &Settings::captionColor},
    {"CaptionTextActive", &Settings::captionTextActive},
    {"CaptionTextInActive", &Settings::captionTextInActive},
    {"UseRecycleBin", &Settings::useRecycleBin},
    {"BackupFiles", &Settings::backupFiles},
    {"BackupDir", &Settings::backupDir},
    {"HandleSharedDLLs", &Settings::handleSharedDLLs},
    {"MakeDLLBackup", &Settings::makeDLLBackup},
    {"DLLBackupPath", &Settings::dllBackupPath},
    {"UseDLLBackupRestore", &Settings::useDLLBackupRestore},
};

// The file name part of a path: after the last backslash, slash or drive colon.
std::string FileNameOf(const std::string& path) {
  std::string::size_type at = path.find_last_of("\\/:");
  return at == std::string::npos ? path : path.substr(at + 1);
}

}  // namespace

Settings DefaultSettings(const std::string& programFolder) {
  Settings settings;
  settings.pathToSystemFiles = "C:\\";
  settings.defaultText = "(default)";
  settings.emptyText = "(value not set)";
  settings.showHints = true;
  settings.hintColor = kDefaultHintColor;
  settings.captionColor = kDefaultCaptionColor;
  settings.captionTextActive = kDefaultCaptionTextActive;
  settings.captionTextInActive = kDefaultCaptionTextInActive;
  settings.useRecycleBin = true;
  settings.backupFiles = false;
  settings.backupDir = programFolder;
  settings.handleSharedDLLs = 0;
  settings.makeDLLBackup = false;
  settings.dllBackupPath = programFolder + "DLLBackup\\";
  settings.useDLLBackupRestore = true;
  return settings;
}

Settings LoadSettings(TMyRegistry& reg, const std::string& programFolder) {
  Settings settings = DefaultSettings(programFolder);
  for (const SettingEntry& entry : kSettingTable) {
    std::visit(
        [&](auto member) {
          auto& target = settings.*member;
          using T = std::remove_reference_t<decltype(target)>;
          if constexpr (std::is_same_v<T, std::string>) {
            target = SettingAsText(ReadSettingFrom(reg, entry.name, target));
          } else {
            // Booleans and colours are DWORDs in the registry.
            int32_t stored = SettingAsInt(ReadSettingFrom(reg, entry.name, static_cast<int32_t>(target)));
            if constexpr (std::is_same_v<T, bool>)
              target = stored != 0;
            else
              target = static_cast<T>(stored);
          }
        },
        entry.field);
  }
  return settings;
}

void SaveSettings(TMyRegistry& reg, const Settings& settings) {
  for (const SettingEntry& entry : kSettingTable) {
    std::visit(
        [&](auto member) {
          const auto& value = settings.*member;
          using T = std::remove_cv_t<std::remove_reference_t<decltype(value)>>;
          if constexpr (std::is_same_v<T, std::string>)
            reg.WriteString(entry.name, value);
          else
            reg.WriteInteger(entry.name, static_cast<int32_t>(value));
        },
        entry.field);
  }
}

std::string SettingsKeyPath(const std::string& exePath) {
  std::string name = FileNameOf(exePath);
  name = name.substr(0, name.find('.'));
  return "Software\\VXN\\" + name + "\\1.0";
}

std::string ProgramFolderOf(const std::string& exePath) {
  return exePath.substr(0, exePath.size() - FileNameOf(exePath).size());
}

std::string HelpFilePath(const std::string& exePath) {
  return exePath.substr(0, exePath.size() < 4 ? 0 : exePath.size() - 4) + ".HLP";
}

StaticRegScope::StaticRegScope(const std::string& keyPath, const std::string& programFolder)
    : reg_(std::make_unique<TMyRegistry>(HKEY_CURRENT_USER, kRegAccessFull)) {
  if (!reg_->OpenKey(keyPath, true)) throw EMyRegistryException(FormatText("Failed to create key %s", keyPath));
  // Every setting exists afterwards, so that ReadRequiredSetting finds it.
  SaveSettings(*reg_, LoadSettings(*reg_, programFolder));
  previous_ = SetStaticReg(reg_.get());
}

StaticRegScope::~StaticRegScope() { SetStaticReg(previous_); }

#include "tools/FontRegistrations.h"

#include <algorithm>

#include "core/HexText.h"
#include "core/TextCompare.h"
#include "datafiles/RegDataCode.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/TMyRegistry.h"

std::optional<std::string> FontRegistrationKeyOf(DWORD platformId) {
  switch (platformId) {
    case VER_PLATFORM_WIN32_WINDOWS:
      return "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Fonts";
    case VER_PLATFORM_WIN32_NT:
      return "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
    default:
      return std::nullopt;
  }
}

std::optional<std::string> RunningFontRegistrationKey() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&version)) return std::nullopt;
#pragma GCC diagnostic pop
  return FontRegistrationKeyOf(version.dwPlatformId);
}

std::vector<RegisteredFont> ReadRegisteredFonts(const std::string& keyPath) {
  TMyRegistry reg(HKEY_LOCAL_MACHINE, kRegAccessRead);
  std::vector<RegisteredFont> fonts;
  if (!reg.OpenKey(keyPath, false)) return fonts;
  std::vector<std::string> names;
  reg.GetValueNames(names);
  std::sort(names.begin(), names.end(), TextLess);
  for (const std::string& name : names) {
    // A value of another type names no file; reading it as text would end the whole list.
    if (!IsTextRegDataCode(reg.GetDataType(name))) continue;
    std::string file = reg.ReadString(name);
    if (!file.empty()) fonts.push_back({name, std::move(file)});
  }
  return fonts;
}

std::string FontsFolder() {
  std::string folder;
  TMyRegistry shell(HKEY_CURRENT_USER, kRegAccessRead);
  if (shell.OpenKey("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", false) &&
      shell.ValueExists("Fonts"))
    folder = shell.ReadString("Fonts");
  if (folder.empty()) {
    const std::string windows = WindowsFolder();
    const DWORD attributes = GetFileAttributesA((windows + "Fonts").c_str());
    if (!windows.empty() && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      folder = windows + "Fonts";
  }
  return WithTrailingBackslash(folder);
}

std::string FontFilePath(const std::string& fileName, const std::string& fontsFolder) {
  if (fileName.find_first_of("\\/:") != std::string::npos) return fileName;
  return fontsFolder + fileName;
}

uint32_t UserLocaleNumber() {
  TMyRegistry international(HKEY_CURRENT_USER, kRegAccessRead);
  std::string text;
  if (international.OpenKey("Control Panel\\International", false) && international.ValueExists("Locale"))
    text = international.ReadString("Locale");
  return HexTextToNumber(text);
}

#include "capture/SystemFileType.h"

#include <windows.h>

#include "capture/FileLines.h"
#include "capture/SettingsAccess.h"
#include "core/Errors.h"
#include "core/TextCompare.h"

namespace {

bool SameText(const std::string& a, const char* b) { return CompareTextLocale(a, b) == 0; }

std::string WindowsFolder() {
  char folder[MAX_PATH + 1] = {};
  UINT length = GetWindowsDirectoryA(folder, 200);
  std::string path(folder, length < 200 ? length : 200);
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

}  // namespace

SystemFileType GetSystemFileType(const std::string& nodeText, std::string& fullPath) {
  std::string text = TrimText(nodeText);
  if (SameText(text, "WIN.INI") || SameText(text, "SYSTEM.INI")) {
    fullPath = WindowsFolder() + text;
    return kSystemIni;
  }
  if (SameText(text, "AUTOEXEC.BAT") || SameText(text, "CONFIG.SYS")) {
    fullPath = ReadRequiredText("PathToSystemFiles") + text;
    return kSystemText;
  }
  if (text.size() > 5) {
    std::string marker = text.substr(text.size() - 5);
    if (SameText(marker, "(INI)") || SameText(marker, "(TXT)")) {
      fullPath = text.substr(0, text.size() - 5);
      return SameText(marker, "(INI)") ? kUserIni : kUserText;
    }
  }
  throw Exception(FormatText("Cannot determine file type of %s.", nodeText));
}

#include "capture/SystemFileType.h"

#include <windows.h>

#include "capture/SettingsAccess.h"

namespace {

std::string WindowsFolder() {
  char folder[MAX_PATH + 1] = {};
  UINT length = GetWindowsDirectoryA(folder, 200);
  std::string path(folder, length < 200 ? length : 200);
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

}  // namespace

SystemFileType GetSystemFileType(const std::string& nodeText, std::string& fullPath) {
  SystemFileType type = SystemFileTypeOfText(nodeText);
  std::string name = SystemFileNameOfText(nodeText);
  switch (type) {
    case kSystemIni: fullPath = WindowsFolder() + name; break;
    case kSystemText: fullPath = ReadRequiredText("PathToSystemFiles") + name; break;
    default: fullPath = name; break;
  }
  return type;
}

#include "capture/SystemFileType.h"

#include <windows.h>

#include "platform/SettingsAccess.h"

namespace {

// Asks for the length first: a folder longer than a fixed buffer is not written into it at all.
std::string WindowsFolder() {
  std::string path(GetWindowsDirectoryA(nullptr, 0), '\0');
  UINT length = path.empty() ? 0 : GetWindowsDirectoryA(path.data(), static_cast<UINT>(path.size()));
  path.resize(length < path.size() ? length : 0);
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

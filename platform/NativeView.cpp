#include "platform/NativeView.h"

#include <windows.h>

#include <cstring>

#include "platform/PathText.h"

bool RunsUnderWow64() {
  BOOL wow64 = FALSE;
  return sizeof(void*) == 4 && IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

const char* RecordedView() { return sizeof(void*) == 8 || RunsUnderWow64() ? "64-bit view" : "32-bit Windows"; }

std::string NativeFilePath(const std::string& path) {
  if (!RunsUnderWow64()) return path;
  char windows[MAX_PATH];
  const UINT length = GetSystemWindowsDirectoryA(windows, sizeof windows);
  if (length == 0 || length >= sizeof windows) return path;
  const std::string system32 = WithTrailingBackslash(std::string(windows, length)) + "System32";
  if (path.size() < system32.size() || _strnicmp(path.c_str(), system32.c_str(), system32.size()) != 0 ||
      (path.size() > system32.size() && path[system32.size()] != '\\'))
    return path;
  return system32.substr(0, system32.size() - 8) + "Sysnative" + path.substr(system32.size());
}

NativeFileSystemScope::NativeFileSystemScope() {
  if (RunsUnderWow64()) disabled_ = Wow64DisableWow64FsRedirection(&oldValue_);
}

NativeFileSystemScope::~NativeFileSystemScope() {
  if (disabled_) Wow64RevertWow64FsRedirection(oldValue_);
}

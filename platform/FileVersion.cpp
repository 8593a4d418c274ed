#include "platform/FileVersion.h"

#include <windows.h>

#include <cstdio>
#include <vector>

std::string FileVersionNumber(const std::string& accessPath) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(accessPath.c_str(), &handle);
  if (size == 0) return "";
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(accessPath.c_str(), 0, size, data.data())) return "";
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info ||
      length < sizeof(VS_FIXEDFILEINFO))
    return "";
  char text[64];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS));
  return text;
}

std::string FileVersionInfoText(const std::string& accessPath) {
  std::string number = FileVersionNumber(accessPath);
  return number.empty() ? number : ", Ver: " + number;
}

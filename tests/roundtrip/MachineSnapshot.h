#pragma once
// The state of parts of the machine as sorted text lines, for tests that undo an installation
// and must find the machine as it was: keys with their values (type and bytes), folders with
// their attributes, files with size, attributes and a hash of their content.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace machine {

inline std::string Hex(const BYTE* data, DWORD size) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (DWORD i = 0; i < size; ++i) {
    text += digits[data[i] >> 4];
    text += digits[data[i] & 15];
  }
  return text;
}

// Wine's display driver adds an adapter key below Control\Video whenever a process starts
// without a display it can reach; that is the platform's bookkeeping, not a change of the
// installation or of the undo, and it would make the snapshots differ by chance.
inline bool IsDisplayAdapterKey(const std::string& path) {
  constexpr std::string_view kVideo = "\\Control\\Video";
  return path.rfind("HKEY_LOCAL_MACHINE\\System\\", 0) == 0 && path.size() >= kVideo.size() &&
         path.compare(path.size() - kVideo.size(), kVideo.size(), kVideo) == 0;
}

inline void DumpKey(HKEY key, const std::string& path, std::vector<std::string>& lines) {
  lines.push_back("key " + path);
  if (IsDisplayAdapterKey(path)) return;
  DWORD subkeys = 0, values = 0, longestName = 0, longestData = 0;
  if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, &longestName, &longestData,
                       nullptr, nullptr) != ERROR_SUCCESS)
    return;
  std::vector<char> name(std::max<DWORD>(longestName, 512) + 2);
  std::vector<BYTE> data(longestData + 2);
  for (DWORD i = 0; i < values; ++i) {
    DWORD nameLength = static_cast<DWORD>(name.size()), dataLength = static_cast<DWORD>(data.size()), type = 0;
    if (RegEnumValueA(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &dataLength) != ERROR_SUCCESS)
      continue;
    lines.push_back("value " + path + " | " + std::string(name.data(), nameLength) + " | " + std::to_string(type) +
                    " | " + Hex(data.data(), dataLength));
  }
  for (DWORD i = 0;; ++i) {
    char subkey[512];
    DWORD length = sizeof subkey;
    if (RegEnumKeyExA(key, i, subkey, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY child = nullptr;
    if (RegOpenKeyExA(key, subkey, 0, KEY_READ, &child) != ERROR_SUCCESS) continue;
    DumpKey(child, path + "\\" + subkey, lines);
    RegCloseKey(child);
  }
}

inline uint64_t ContentHash(const std::string& path) {
  uint64_t hash = 1469598103934665603ull;
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
    for (DWORD i = 0; i < read; ++i) hash = (hash ^ static_cast<unsigned char>(buffer[i])) * 1099511628211ull;
  CloseHandle(file);
  return hash;
}

inline void DumpFolder(const std::string& folder, std::vector<std::string>& lines) {
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = folder + name;
    char line[128];
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      snprintf(line, sizeof line, " | attributes %lx", entry.dwFileAttributes);
      lines.push_back("folder " + path + line);
      DumpFolder(path + "\\", lines);
    } else {
      snprintf(line, sizeof line, " | size %lu | attributes %lx | content %016llx", entry.nFileSizeLow,
               entry.dwFileAttributes, static_cast<unsigned long long>(ContentHash(path)));
      lines.push_back("file " + path + line);
    }
  } while (FindNextFileA(find, &entry));
  FindClose(find);
}

}  // namespace machine

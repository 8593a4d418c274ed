#pragma once
// Changes of the machine made with plain platform calls, as an installation makes them, for the
// tests that record and undo one. Each raises Exception when the platform refuses.

#include <windows.h>

#include <string>

#include "core/Errors.h"

namespace machine {

inline void Check(bool ok, const std::string& what) {
  if (!ok) throw Exception("failed: " + what);
}

inline HKEY CreateKey(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  Check(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS,
        "create key " + path);
  return key;
}

inline void SetValue(HKEY root, const std::string& path, const std::string& name, DWORD type, const std::string& data) {
  HKEY key = CreateKey(root, path);
  LONG rc = RegSetValueExA(key, name.empty() ? nullptr : name.c_str(), 0, type,
                           reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
  RegCloseKey(key);
  Check(rc == ERROR_SUCCESS, "set value " + path + "\\" + name);
}

inline void SetText(HKEY root, const std::string& path, const std::string& name, const std::string& text) {
  SetValue(root, path, name, REG_SZ, text + '\0');
}

inline void SetDword(HKEY root, const std::string& path, const std::string& name, DWORD number) {
  SetValue(root, path, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&number), 4));
}

inline void DeleteValue(HKEY root, const std::string& path, const std::string& name) {
  HKEY key = CreateKey(root, path);
  LONG rc = RegDeleteValueA(key, name.c_str());
  RegCloseKey(key);
  Check(rc == ERROR_SUCCESS, "delete value " + name);
}

inline void WriteFileText(const std::string& path, const std::string& text, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  Check(file != INVALID_HANDLE_VALUE, "write " + path);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  SetFileAttributesA(path.c_str(), attributes);
}

inline void MakeFolder(const std::string& path) {
  Check(CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS, "folder " + path);
}

inline std::string WinIni() {
  char folder[MAX_PATH];
  UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
  return std::string(folder, length) + "\\win.ini";
}

inline void SetIniEntry(const char* section, const char* name, const char* value) {
  Check(WritePrivateProfileStringA(section, name, value, WinIni().c_str()), std::string("win.ini ") + section);
}

}  // namespace machine

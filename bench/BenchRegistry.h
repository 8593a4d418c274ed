#pragma once
// Registry and file helpers of the compare benchmark's changes: values read and written as raw
// type and bytes, and whole keys taken out with a snapshot that puts them back.

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/TMyRegistry.h"
#include "core/Errors.h"

struct RegData {
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;
};

inline void CheckRegCall(LONG rc, const std::string& what) {
  if (rc != ERROR_SUCCESS) throw Exception(what + " failed with " + std::to_string(rc));
}

inline UniqueHKey OpenRegKey(HKEY parent, const std::string& path, REGSAM access = KEY_READ | KEY_WRITE) {
  HKEY key = nullptr;
  CheckRegCall(RegOpenKeyExA(parent, path.c_str(), 0, access, &key), "opening key " + path);
  return UniqueHKey(key);
}

// A key that must not exist yet: the benchmark's new keys are new.
inline UniqueHKey CreateNewRegKey(HKEY parent, const std::string& name) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  CheckRegCall(RegCreateKeyExA(parent, name.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, &disposition),
               "creating key " + name);
  UniqueHKey owned(key);
  if (disposition != REG_CREATED_NEW_KEY) throw Exception("key " + name + " exists already");
  return owned;
}

inline RegData ReadRegValue(HKEY key, const std::string& name) {
  RegData data;
  DWORD size = 0;
  CheckRegCall(RegQueryValueExA(key, name.c_str(), nullptr, &data.type, nullptr, &size), "sizing value " + name);
  data.bytes.resize(size);
  CheckRegCall(RegQueryValueExA(key, name.c_str(), nullptr, &data.type, data.bytes.data(), &size),
               "reading value " + name);
  data.bytes.resize(size);
  return data;
}

inline void WriteRegValue(HKEY key, const std::string& name, const RegData& data) {
  static const BYTE kNoBytes = 0;
  CheckRegCall(RegSetValueExA(key, name.c_str(), 0, data.type, data.bytes.empty() ? &kNoBytes : data.bytes.data(),
                              static_cast<DWORD>(data.bytes.size())),
               "writing value " + name);
}

// Subkey names and value names of a key, in the platform's order.
inline std::pair<std::vector<std::string>, std::vector<std::string>> RegKeyNames(HKEY key) {
  DWORD subkeys = 0, maxSubkey = 0, values = 0, maxName = 0;
  CheckRegCall(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, &maxSubkey, nullptr, &values, &maxName,
                                nullptr, nullptr, nullptr),
               "querying a key");
  // Lengths of RegQueryInfoKeyA are in characters of the wide form: room for any ANSI form.
  std::vector<char> name(std::max(maxSubkey, maxName) * 2 + 2);
  std::pair<std::vector<std::string>, std::vector<std::string>> names;
  for (DWORD i = 0; i < subkeys; ++i) {
    DWORD length = static_cast<DWORD>(name.size());
    CheckRegCall(RegEnumKeyExA(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr), "listing subkeys");
    names.first.emplace_back(name.data(), length);
  }
  for (DWORD i = 0; i < values; ++i) {
    DWORD length = static_cast<DWORD>(name.size());
    CheckRegCall(RegEnumValueA(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr), "listing values");
    names.second.emplace_back(name.data(), length);
  }
  return names;
}

// A key with everything below it, as it stood before it was deleted.
struct KeySnapshot {
  std::string name;
  std::vector<std::pair<std::string, RegData>> values;
  std::vector<KeySnapshot> subkeys;
};

inline KeySnapshot DeleteRegKeyTree(HKEY parent, const std::string& name) {
  KeySnapshot snapshot;
  snapshot.name = name;
  {
    UniqueHKey key = OpenRegKey(parent, name);
    auto [subkeys, values] = RegKeyNames(key.Get());
    for (const std::string& value : values) snapshot.values.emplace_back(value, ReadRegValue(key.Get(), value));
    for (const std::string& subkey : subkeys) snapshot.subkeys.push_back(DeleteRegKeyTree(key.Get(), subkey));
  }
  CheckRegCall(RegDeleteKeyA(parent, name.c_str()), "deleting key " + name);
  return snapshot;
}

inline void RecreateRegKeyTree(HKEY parent, const KeySnapshot& snapshot) {
  UniqueHKey key = CreateNewRegKey(parent, snapshot.name);
  for (const auto& [name, data] : snapshot.values) WriteRegValue(key.Get(), name, data);
  for (const KeySnapshot& subkey : snapshot.subkeys) RecreateRegKeyTree(key.Get(), subkey);
}

inline void CheckFileCall(BOOL ok, const std::string& what) {
  if (!ok) throw Exception(what + " failed with " + std::to_string(GetLastError()));
}

// A folder the benchmark made, with what it put into it.
inline void DeleteFolderTree(const std::string& folder) {
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        DeleteFolderTree(folder + "\\" + name);
      else
        CheckFileCall(DeleteFileA((folder + "\\" + name).c_str()), "deleting " + name);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  CheckFileCall(RemoveDirectoryA(folder.c_str()), "removing " + folder);
}

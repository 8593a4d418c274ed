#pragma once
// One folder's entries as the cleaning tools walk them: each entry with the name the "A"
// functions can open it by, and its time packed as the data files keep it.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

struct FolderEntry {
  std::string_view name;  // the long name, or the short name when the code page cannot spell it
  bool isFolder;
  uint32_t time;  // packed MS-DOS date and time, local time
  int32_t size;
  uint32_t attributes;
};

// Calls visit for each entry of pattern ("C:\TEMP\*.TMP") in enumeration order. Entries whose
// name is no usable path (unspellable and without a short name) are left out; so are "." and
// "..". False when the pattern matched nothing or the folder cannot be read.
bool ForEachFolderEntry(const std::string& pattern, const std::function<void(const FolderEntry&)>& visit);

uint32_t PackedLocalTime(const FILETIME& written);

#pragma once
// One folder's entries as the cleaning tools walk them: each entry with the name the "A"
// functions can open it by, and its time packed as the data files keep it.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

struct FolderEntry {
  std::string_view name;       // the long name, or the short name when the code page cannot spell it
  std::string_view shortName;  // the 8.3 name where the system keeps one apart, else empty
  bool isFolder;
  uint32_t time;  // packed MS-DOS date and time, local time
  int32_t size;
  uint32_t attributes;
};

// Calls visit for each entry of pattern ("C:\TEMP\*.TMP") in enumeration order. Entries whose
// name is no usable path (unspellable and without a short name) are left out; so are "." and
// "..". False when the pattern matched nothing or the folder cannot be read.
bool ForEachFolderEntry(const std::string& pattern, const std::function<void(const FolderEntry&)>& visit);

class FileMask;

// The files of folder ("C:\TEMP\") that mask matches, in listing order; with subfolders given,
// the names of its sub-folders but for "." names are appended to it, each ended by a '\0'.
// The folder is listed once where the mask allows it, else once for the mask and once for the
// sub-folders. False when nothing was listed: the folder cannot be read (or is an empty root).
bool ForEachMatchingFile(const std::string& folder, const FileMask& mask,
                         const std::function<void(const FolderEntry&)>& visitFile, std::string* subfolders);

uint32_t PackedLocalTime(const FILETIME& written);

#include "tools/FolderEntries.h"

#include <cstring>

#include "platform/Handle.h"

uint32_t PackedLocalTime(const FILETIME& written) {
  FILETIME local;
  WORD date = 0, time = 0;
  if (!FileTimeToLocalFileTime(&written, &local) || !FileTimeToDosDateTime(&local, &date, &time)) return 0;
  return (static_cast<uint32_t>(date) << 16) | time;
}

bool ForEachFolderEntry(const std::string& pattern, const std::function<void(const FolderEntry&)>& visit) {
  WIN32_FIND_DATAA data;
  UniqueFind find(FindFirstFileA(pattern.c_str(), &data));
  if (!find) return false;
  do {
    const char* name = data.cFileName;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
    // "?" stands for a character the code page cannot spell; only the short name opens it.
    if (std::strchr(name, '?')) {
      if (data.cAlternateFileName[0] == '\0') continue;
      name = data.cAlternateFileName;
    }
    FolderEntry entry{name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                      PackedLocalTime(data.ftLastWriteTime), static_cast<int32_t>(data.nFileSizeLow),
                      data.dwFileAttributes};
    visit(entry);
  } while (FindNextFileA(find.Get(), &data));
  return true;
}

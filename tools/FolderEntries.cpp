#include "tools/FolderEntries.h"

#include <cstring>

#include "platform/Handle.h"
#include "tools/FileMask.h"

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
    FolderEntry entry{name,
                      data.cAlternateFileName,
                      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                      PackedLocalTime(data.ftLastWriteTime),
                      static_cast<int32_t>(data.nFileSizeLow),
                      data.dwFileAttributes};
    visit(entry);
  } while (FindNextFileA(find.Get(), &data));
  return true;
}

bool ForEachMatchingFile(const std::string& folder, const FileMask& mask,
                         const std::function<void(const FolderEntry&)>& visitFile, std::string* subfolders) {
  const auto keepSubfolder = [&](const FolderEntry& entry) {
    if (!subfolders || entry.name.front() == '.') return;
    subfolders->append(entry.name);
    subfolders->push_back('\0');
  };
  if (mask.Usable()) {
    return ForEachFolderEntry(folder + "*.*", [&](const FolderEntry& entry) {
      if (entry.isFolder)
        keepSubfolder(entry);
      else if (mask.Matches(entry.name, entry.shortName))
        visitFile(entry);
    });
  }
  const bool read = ForEachFolderEntry(folder + mask.Text(), [&](const FolderEntry& entry) {
    if (!entry.isFolder) visitFile(entry);
  });
  if (!subfolders) return read;
  return ForEachFolderEntry(folder + "*.*",
                            [&](const FolderEntry& entry) {
                              if (entry.isFolder) keepSubfolder(entry);
                            }) ||
         read;
}

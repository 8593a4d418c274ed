#pragma once
// The files a cleaning tool found. Each folder path is kept once and each name once in a pool,
// so a file costs a small fixed record and its bare name, not a copy of its full path.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct FoundFile {
  uint32_t folder;  // index of the folder path in the catalog
  uint32_t name;    // offset of the zero-terminated name in the catalog's pool
  uint32_t time;    // packed MS-DOS date (high word) and time (low word), local time
  int32_t size;     // low 32 bits, as the file search reports it
  uint32_t attributes;
};

class FileCatalog {
 public:
  // path ends with a backslash. Returns its index.
  uint32_t AddFolder(std::string path);
  // Returns the name's offset for FoundFile::name.
  uint32_t AddName(std::string_view name);
  void Clear();

  const std::string& Folder(uint32_t index) const { return folders_[index]; }
  size_t FolderCount() const { return folders_.size(); }
  const char* Name(const FoundFile& file) const { return names_.data() + file.name; }
  std::string PathOf(const FoundFile& file) const { return Folder(file.folder) + Name(file); }

 private:
  std::vector<std::string> folders_;
  std::string names_;
};

// Removes the elements at the given indexes (any order, no repeats) and keeps the rest in order.
template <class T>
void EraseIndexes(std::vector<T>& items, std::vector<size_t> indexes) {
  std::vector<bool> gone(items.size(), false);
  for (size_t index : indexes)
    if (index < items.size()) gone[index] = true;
  size_t kept = 0;
  for (size_t i = 0; i < items.size(); ++i)
    if (!gone[i]) items[kept++] = std::move(items[i]);
  items.resize(kept);
}

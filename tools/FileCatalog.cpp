#include "tools/FileCatalog.h"

uint32_t FileCatalog::AddFolder(std::string path) {
  folders_.push_back(std::move(path));
  return static_cast<uint32_t>(folders_.size() - 1);
}

uint32_t FileCatalog::AddName(std::string_view name) {
  const uint32_t offset = static_cast<uint32_t>(names_.size());
  names_.append(name);
  names_.push_back('\0');
  return offset;
}

void FileCatalog::Clear() {
  // Gives the memory of a large search back rather than keeping it for the next.
  std::vector<std::string>().swap(folders_);
  std::string().swap(names_);
}

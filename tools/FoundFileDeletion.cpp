#include "tools/FoundFileDeletion.h"

#include "core/Errors.h"

std::string DeletionQuestion(size_t selected, size_t rows, const std::string& firstPath,
                             const std::string& allWarning) {
  if (selected == rows && selected >= 2) return "Really delete all files?\r" + allWarning;
  if (selected < 2) return FormatText("Delete file %s?", firstPath);
  return "Really delete these " + std::to_string(selected) + " files?";
}

void DeleteListedFiles(const std::vector<size_t>& owners, const std::function<std::string(size_t)>& pathOf,
                       const std::function<bool(const std::string&)>& deleteFile, std::vector<size_t>& deleted) {
  for (size_t owner : owners)
    if (deleteFile(pathOf(owner))) deleted.push_back(owner);
}

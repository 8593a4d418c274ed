#include "tools/TempFileSearch.h"

#include "core/Errors.h"
#include "platform/PathText.h"
#include "tools/FileMask.h"
#include "tools/FolderEntries.h"

namespace {

// Counters are repainted (and messages let run) every this many files.
constexpr uint64_t kFilesPerRefresh = 10;

}  // namespace

void TempFileSearch::Clear() {
  results_.clear();
  catalog_.Clear();
  counters_ = {};
}

void TempFileSearch::Run(const std::vector<SearchDefinition>& definitions) {
  Clear();
  running_ = true;
  results_.resize(definitions.size());
  for (size_t i = 0; i < definitions.size(); ++i) {
    const SearchDefinition& definition = definitions[i];
    DefinitionResult& result = results_[i];
    abort_ = false;
    try {
      Walk(WithTrailingBackslash(definition.folder), FileMask(definition.mask), definition.recurse, result);
    } catch (...) {
      progress_.ReportError(std::current_exception());
    }
    result.found = result.files.size();
  }
  running_ = false;
  progress_.ShowCounters(counters_);
  progress_.SetStatus("Search completed.");
}

void TempFileSearch::Walk(const std::string& folder, const FileMask& mask, bool recurse, DefinitionResult& result) {
  ++counters_.folders;
  progress_.SetStatus("Search files in " + folder);
  progress_.ShowCounters(counters_);
  progress_.ProcessMessages();
  if (abort_) RaiseAbort();

  // The folder is kept only when it holds a match: a deep walk meets many empty folders.
  uint32_t folderIndex = 0;
  bool folderKept = false;
  // The sub-folders are walked after the listing has closed its find handle, so a deep tree
  // holds one find handle at a time.
  std::string subfolders;
  ForEachMatchingFile(
      folder, mask,
      [&](const FolderEntry& entry) {
        if (!folderKept) {
          folderIndex = catalog_.AddFolder(folder);
          folderKept = true;
        }
        result.files.push_back({folderIndex, catalog_.AddName(entry.name), entry.time, entry.size, entry.attributes});
        if (++counters_.files % kFilesPerRefresh == 0) {
          progress_.ShowCounters(counters_);
          progress_.ProcessMessages();
        }
      },
      recurse ? &subfolders : nullptr);
  for (size_t at = 0; at < subfolders.size();) {
    const std::string name = subfolders.c_str() + at;
    at += name.size() + 1;
    Walk(folder + name + "\\", mask, recurse, result);
  }
}

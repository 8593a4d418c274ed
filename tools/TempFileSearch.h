#pragma once
// The temp-file finder's search: every definition's folder walked for its mask (into the
// sub-folders when it says so), each definition's files kept in walk order. Cancel stops the
// running definition at its next folder; the others are still searched.

#include <vector>

#include "tools/FileCatalog.h"
#include "tools/SearchDefinitions.h"
#include "tools/ToolProgress.h"

struct DefinitionResult {
  std::vector<FoundFile> files;  // shrinks as files are deleted
  uint64_t found = 0;            // what the walk found, the "Found" column
};

class FileMask;

class TempFileSearch {
 public:
  explicit TempFileSearch(ToolProgress& progress) : progress_(progress) {}

  // Replaces every earlier result. An error in one definition's walk (the cancel's abort
  // included) goes to the progress's error report and the next definition is searched.
  void Run(const std::vector<SearchDefinition>& definitions);
  // Read at each folder the walk enters.
  void Cancel() { abort_ = true; }
  bool Running() const { return running_; }

  const FileCatalog& Catalog() const { return catalog_; }
  std::vector<DefinitionResult>& Results() { return results_; }
  const std::vector<DefinitionResult>& Results() const { return results_; }
  const SearchCounters& Counters() const { return counters_; }
  void Clear();

 private:
  void Walk(const std::string& folder, const FileMask& mask, bool recurse, DefinitionResult& result);

  ToolProgress& progress_;
  FileCatalog catalog_;
  std::vector<DefinitionResult> results_;
  SearchCounters counters_;
  bool abort_ = false;
  bool running_ = false;
};

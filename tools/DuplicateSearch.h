#pragma once
// The duplicate finder's search: a walk of the chosen drives (into every sub-folder, or into
// the ones ticked in the drive tree), one sort of all files by name, and the detection of files
// sharing name and size and either their time or their content. Groups come out in name order
// and, within one name, in the order of their first member; members in walk order.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/ContentClasses.h"
#include "tools/FileCatalog.h"
#include "tools/ToolProgress.h"

enum class DuplicateTest { NameSizeDate, NameSizeContent };

// Check states of the drive tree's nodes as the selective walk reads them.
enum class FolderSelection { Unchecked = 3, Checked = 4, Partial = 5, NotFound = 21 };

// The state of a folder's node, found by the names from the tree's top node down to it.
using FolderSelectionLookup = std::function<FolderSelection(const std::vector<std::string>& names)>;

struct DuplicateRoot {
  std::string folder;              // the drive's root, "C:\"
  std::vector<std::string> names;  // the names of its node and those above it, from the top
  bool selective = false;          // partly checked: enter only sub-folders ticked in the tree
};

struct DuplicateFile {
  FoundFile file;
  bool grouped;  // joined a group beyond its first pair
};

struct DuplicateGroup {
  std::vector<uint32_t> members;  // indexes into Files(), in walk order
};

class DuplicateSearch {
 public:
  DuplicateSearch(ToolProgress& progress, FolderSelectionLookup lookup)
      : progress_(progress), lookup_(std::move(lookup)) {}

  // Replaces every earlier result. Cancel's abort ("Operation aborted!") and any other error
  // reach the caller; what was found until then stays.
  void Run(const std::vector<DuplicateRoot>& roots, DuplicateTest test);
  // Read every 100 files of the walk, at each new percentage of the detection and before each
  // file the content test reads.
  void Cancel() { abort_ = true; }
  bool Running() const { return running_; }

  const FileCatalog& Catalog() const { return catalog_; }
  const std::vector<DuplicateFile>& Files() const { return files_; }
  std::vector<DuplicateGroup>& Groups() { return groups_; }
  const std::vector<DuplicateGroup>& Groups() const { return groups_; }
  const SearchCounters& Counters() const { return counters_; }
  const ContentReadCounters& ContentReads() const { return reads_; }
  std::string PathOf(uint32_t file) const { return catalog_.PathOf(files_[file].file); }
  const char* NameOf(uint32_t file) const { return catalog_.Name(files_[file].file); }

 private:
  void Walk(const std::string& folder, std::vector<std::string>& names, bool selective);
  void SortByName();
  void Detect(DuplicateTest test);
  void DetectInRun(uint32_t first, uint32_t last, DuplicateTest test);
  void AddGroup(std::vector<uint32_t> members);

  ToolProgress& progress_;
  FolderSelectionLookup lookup_;
  FileCatalog catalog_;
  std::vector<DuplicateFile> files_;
  std::vector<DuplicateGroup> groups_;
  SearchCounters counters_;
  ContentReadCounters reads_;
  bool abort_ = false;
  bool running_ = false;
};

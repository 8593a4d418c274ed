#pragma once
// The file backup: every file a definition finds is copied into a mirror tree under the backup
// folder, whose first folder is the source's drive letter (C:\WINDOWS\X.DLL goes to
// <backup>\C\WINDOWS\X.DLL). A copy with the same time and size is left alone; a different
// one is replaced only when the user agrees, and a "to all" answer holds for the whole run.
// The file restore takes changed and deleted files back from this tree.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/UserInteraction.h"
#include "restore/OverwriteQuestion.h"
#include "tools/SearchDefinitions.h"
#include "tools/ToolProgress.h"

// Where source ("C:\DIR\X.DLL") is kept below backupRoot (ending with "\"): its first ":" left out.
std::string MirrorPath(const std::string& backupRoot, const std::string& source);

class FileMask;

enum class CopyState { Missing, Identical, SizeDiffers, TimeDiffers };
// Either file missing, else how the backup copy differs: time first, then size.
CopyState CompareWithCopy(const std::string& source, const std::string& copy);

class FileBackup {
 public:
  FileBackup(ToolProgress& progress, UserInteraction& ui) : progress_(progress), ui_(ui), overwrite_(ui) {}

  // Backs up every definition in order below backupRoot; false (after saying so) when there is
  // none. An error that ends one definition's walk (the cancel's abort included) goes to the
  // progress's error report and the next definition runs. onDefinition is told the index of
  // each definition as it starts.
  bool Run(const std::vector<SearchDefinition>& definitions, const std::string& backupRoot,
           const std::function<void(size_t)>& onDefinition = {});
  // Read at each folder the walk enters.
  void Cancel() { abort_ = true; }
  bool Running() const { return running_; }

  // Per definition: the files handled by the last run (copied, skipped, declined or failed).
  const std::vector<uint64_t>& Found() const { return found_; }
  const SearchCounters& Counters() const { return counters_; }

 private:
  void Walk(const std::string& folder, const FileMask& mask, bool recurse, uint64_t& found);
  void BackUpFile(const std::string& source);

  ToolProgress& progress_;
  UserInteraction& ui_;
  OverwriteQuestion overwrite_;
  std::string backupRoot_;
  std::vector<uint64_t> found_;
  SearchCounters counters_;
  bool abort_ = false;
  bool running_ = false;
};

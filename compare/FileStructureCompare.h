#pragma once
// The drives section of a compare: the drive entries of both files side by side (matched by
// drive letter), and below each drive present on both sides a merge of the sorted folder and
// file lists at every level. Reports new and deleted folders and new, deleted and changed
// files (time stamp, size or attributes) into the drive result tree and its own change block.
// Files on the exclude list are never reported.

#include <string>
#include <vector>

#include "compare/ChangeBlock.h"
#include "compare/CompareRun.h"
#include "compare/LogLayout.h"
#include "compare/ResultPath.h"
#include "core/TreeModel.h"
#include "datafiles/TWriter.h"

class FileStructureCompare {
 public:
  FileStructureCompare(CompareRun& run, TreeModel& resultTree, const TreeModel& selectionTree,
                       const std::vector<std::string>& excludeList);

  // Both readers stand at the drives header. Writes the section's result tree, change block
  // length and change block to log.
  void Run(TWriter& log, SectionPositions& positions);

  // Whether the file name in the folder at the top of the path is on the exclude list.
  bool IsExcludedFile(const std::string& name) const;

 private:
  void ReadDriveName(CompareSide& side, std::string& name, bool& atEnd);
  void CompareDrives();
  void CompareFolder(bool lookup);
  void FileStep(MergeStep step, const std::string& name, NameList& oldFiles, NameList& newFiles, int& counter);
  TreeNode& ChangedFolderNode();

  CompareRun& run_;
  TreeModel& tree_;
  ChangeBlock block_;
  ResultPath path_;
  // The exclude list in upper case, converted once for the whole walk.
  std::vector<std::string> excluded_;
  std::string status_;  // made anew per folder in storage kept from folder to folder
};

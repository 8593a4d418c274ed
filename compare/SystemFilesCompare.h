#pragma once
// The system-files section of a compare: the system-file entries of both files side by side,
// INI files section by section and entry by entry (values compared ignoring case), text files
// as sorted sets of lines, so that a line that only moved is not a change. Reports into the
// system-file result tree and its own change block.

#include <string>

#include "compare/ChangeBlock.h"
#include "compare/CompareConfigurations.h"
#include "compare/CompareRun.h"
#include "compare/ResultPath.h"
#include "core/TreeModel.h"
#include "datafiles/TWriter.h"

class SystemFilesCompare {
 public:
  SystemFilesCompare(CompareRun& run, TreeModel& resultTree, const TreeModel& selectionTree, SystemFileImages images);

  // Both readers stand at the system-files header. Writes the section's result tree, change
  // block length and change block to log.
  void Run(TWriter& log, SectionPositions& positions);

 private:
  void ReadEntryName(CompareSide& side, std::string& name, bool& atEnd);
  void CompareFiles();
  // With sections set (INI files at file level) the section lists, otherwise the entry list
  // at the readers' position: a section's entries or a text file's lines.
  void CompareSystemFile(int type, bool sections);
  void SectionStep(MergeStep step, const std::string& name, NameList& oldSections, NameList& newSections, int type);
  void EntryStep(MergeStep step, const std::string& name, NameList& oldEntries, NameList& newEntries, int type,
                 int& counter);
  TreeNode& ChangedNode(int type);
  int FileImage(int type) const;

  CompareRun& run_;
  TreeModel& tree_;
  SystemFileImages images_;
  ChangeBlock block_;
  ResultPath path_;
  // The old name of the previous entry found on both sides of the current entry list: an INI
  // section that holds a name twice cannot be exported to install files.
  std::string previousOldEntry_;
  std::string oldValue_;
  std::string newValue_;
};

#pragma once
// The registry section of a compare: the root entries of both files side by side, and below
// each root present on both sides a merge of the sorted subkey and value lists at every level.
// Reports new and deleted keys, and new, deleted and changed values, into the registry result
// tree and change block. Keys the selection tree marks unchecked are read past unreported.

#include <string>

#include "compare/ChangeBlock.h"
#include "compare/CompareRun.h"
#include "compare/RecordCopier.h"
#include "compare/ResultPath.h"
#include "core/TreeModel.h"

class RegistryCompare {
 public:
  RegistryCompare(CompareRun& run, TreeModel& resultTree, const TreeModel& selectionTree, ChangeBlock& block);

  // Both readers stand before the registry section's list; on return after it. The result
  // tree is cleared first and gets the top node "My Computer".
  void Run();

 private:
  void ReadRootName(CompareSide& side, std::string& name, bool& atEnd);
  // Both readers stand at the key record of the key at the top of the path.
  void CompareKey(bool lookup);
  void ValueStep(MergeStep step, const std::string& name, NameList& oldValues, NameList& newValues, int& counter);
  // The node of the key at the top of the path, marked as having changed values.
  TreeNode& ChangedKeyNode();

  CompareRun& run_;
  TreeModel& tree_;
  ChangeBlock& block_;
  ResultPath path_;
  RegistryValue oldValue_;
  RegistryValue newValue_;
};

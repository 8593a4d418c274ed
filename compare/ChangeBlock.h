#pragma once
// A section's change block, built in memory while the section is compared. Records of the
// item being compared collect in the pending stream and move to the change block when the
// item is done, so a node's record offset can be known before its records are complete: it
// is the change block's length plus what is pending before the records.

#include <cstdint>
#include <string_view>

#include "compare/LogLayout.h"
#include "core/TreeModel.h"
#include "datafiles/Stream.h"
#include "datafiles/TWriter.h"

class ChangeBlock {
 public:
  // The block begins with header, so no record offset is ever 0.
  explicit ChangeBlock(std::string_view header);
  ChangeBlock(const ChangeBlock&) = delete;
  ChangeBlock& operator=(const ChangeBlock&) = delete;

  TWriter& Pending() { return pending_; }

  // Where a block begins that is written to the pending stream from now on.
  int32_t RecordOffset() const;
  // After the sublists of an item: the subtrees of new and deleted items copied meanwhile move
  // into the change block.
  void MovePending();
  // After the records of an item: their count, then the records, when there are any.
  void MoveCounted(int32_t count);

  // The result tree (pruned), the block's length and the block, at the log writer's position.
  void WriteSection(TWriter& log, TreeModel& resultTree, SectionPositions& positions);

 private:
  TMemoryStream changeStream_;
  TMemoryStream pendingStream_;
  TWriter change_;
  TWriter pending_;
};

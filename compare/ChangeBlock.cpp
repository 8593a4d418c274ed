#include "compare/ChangeBlock.h"

#include <limits>

#include "compare/RecordOffsets.h"
#include "core/Errors.h"
#include "datafiles/TreeBlock.h"

namespace {

// Offsets live in 32-bit node data and lengths in 32-bit integers of the log.
int32_t CheckedLength(int64_t length) {
  if (length > std::numeric_limits<int32_t>::max()) throw Exception(ErrorKind::EWriteError, "Log file too large");
  return static_cast<int32_t>(length);
}

}  // namespace

ChangeBlock::ChangeBlock(std::string_view header)
    : change_(changeStream_, kStreamBufferSize), pending_(pendingStream_, kStreamBufferSize) {
  change_.WriteString(header);
}

int32_t ChangeBlock::RecordOffset() const {
  // Writer positions count their buffered bytes, so they are exact without a flush.
  return CheckedLength(change_.Position() + pending_.Position());
}

void ChangeBlock::MovePending() {
  if (pending_.Position() == 0) return;
  pending_.FlushBuffer();
  change_.Write(pendingStream_.Data(), pendingStream_.Bytes().size());
  pendingStream_.Clear();
  pending_.SetPosition(0);
}

void ChangeBlock::MoveCounted(int32_t count) {
  if (count < 1) return;
  change_.WriteInteger(count);
  MovePending();
}

void ChangeBlock::WriteSection(TWriter& log, TreeModel& resultTree, SectionPositions& positions) {
  MovePending();
  log.FlushBuffer();
  positions.treePosition = log.Position();
  WriteTreeBlock(log, resultTree, false, true);
  change_.FlushBuffer();
  const int32_t length = CheckedLength(changeStream_.Size());
  log.WriteInteger(length);
  log.FlushBuffer();
  positions.baseOffset = log.Position();
  positions.nodeOffsets = SortedNodeOffsets(resultTree);
  if (length > 0) log.Write(changeStream_.Data(), static_cast<size_t>(length));
}

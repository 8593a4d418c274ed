#include "restore/RestorePass.h"

#include "compare/LogLoader.h"
#include "core/Errors.h"
#include "datafiles/TreeBlock.h"
#include "restore/ShellFileOperations.h"

namespace {

std::string MessageOf(const std::exception& error) {
  if (const auto* own = dynamic_cast<const Exception*>(&error)) return own->Message();
  return error.what();
}

[[noreturn]] void RaiseLogChanged(const std::string& logFileName) {
  throw Exception(ErrorKind::EWriteError,
                  FormatText("The log file %s is not the one the result was loaded from (it was replaced or changed "
                             "meanwhile). Load it again before you restore.",
                             logFileName));
}

// The log takes the restored marks; where it cannot, nothing may be undone, or the next pass
// would undo it again (a shared-file counter lowered twice).
std::unique_ptr<TFileStream> OpenLogForMarks(const std::string& logFileName) {
  const std::string refusal = FormatText(
      "The log file %s cannot be written (it is read-only or on a read-only medium), so the restore could not "
      "record what it undoes. Nothing was restored.",
      logFileName);
  // The attribute is asked for itself: a user who may write anyway (an administrator, or root
  // under Wine) would otherwise change a log the user protected.
  if (IsReadOnlyFile(logFileName)) throw Exception(ErrorKind::EWriteError, refusal);
  try {
    return std::make_unique<TFileStream>(logFileName, FileMode::OpenReadWrite);
  } catch (const Exception& error) {
    throw Exception(ErrorKind::EWriteError, refusal + "\r" + error.Message());
  }
}

// The result tree as the log stores it: pruned, so the children a pass loaded from the change
// block are left out again and only kinds can differ from the stored block.
TMemoryStream TreeBytes(TreeModel& tree) {
  TMemoryStream bytes;
  TWriter writer(bytes, kStreamBufferSize);
  WriteTreeBlock(writer, tree, false, true);
  writer.FlushBuffer();
  return bytes;
}

// The flag that undoes a record kind; 0 for kinds no pass acts on.
int FlagOfRecordKind(int kind) {
  switch (kind) {
    case kRecordNew:
      return kRestoreAdditions;
    case kRecordDeleted:
      return kRestoreDeletions;
    case kRecordOldSide:
    case kRecordNewSide:
      return kRestoreModifications;
  }
  return 0;
}

RestorePass::Outcome PairOutcome(RestorePass::Outcome oldSide, RestorePass::Outcome newSide) {
  using Outcome = RestorePass::Outcome;
  if (oldSide == Outcome::Failed || newSide == Outcome::Failed) return Outcome::Failed;
  if (oldSide == Outcome::Undone || newSide == Outcome::Undone) return Outcome::Undone;
  return Outcome::None;
}

}  // namespace

RestorePass::RestorePass(const RestoreRequest& request, RestoreEnvironment& environment, LogSection section)
    : request_(request), environment_(environment), section_(section), mask_(KindMask(request.flags)) {
  if (request_.filter) CompleteChangedPairs(*request_.filter);
  if (request_.executing) log_ = OpenLogForMarks(environment_.logFileName);
  if (request_.root && section_ != LogSection::SystemFiles)
    ExpandSubtree(request_.tree, *request_.root, environment_.logFileName, environment_.positions, section_,
                  environment_.ui);
  block_ = std::make_unique<ChangeBlockReader>(environment_.logFileName, environment_.positions, section_,
                                               kStreamBufferSize);
  if (request_.executing) CheckLogUnchanged();
}

RestorePass::~RestorePass() {
  if (finished_ || !log_) return;
  // What was undone before the error is marked already; the nodes' marks must not be lost either.
  try {
    WriteTree();
  } catch (...) {
  }
}

// The tree block in the file must be the one this tree was loaded from (and later passes wrote):
// only then do the record positions the tree points to hold this log's records.
void RestorePass::CheckLogUnchanged() {
  const TMemoryStream expected = TreeBytes(request_.tree);
  std::string stored(static_cast<size_t>(expected.Size()), '\0');
  log_->SetPosition(PositionsOf(environment_.positions, section_).treePosition);
  if (log_->Read(stored.data(), stored.size()) != stored.size() ||
      stored.compare(0, stored.size(), reinterpret_cast<const char*>(expected.Data()), stored.size()) != 0)
    RaiseLogChanged(environment_.logFileName);
}

int32_t RestorePass::SeekRecords(const TreeNode& node) {
  if (node.Data() == 0) return 0;
  block_->Seek(node.Data());
  if (section_ != LogSection::SystemFiles && IsNewOrDeleted(KindOf(node.StateIndex()))) block_->SkipSubList();
  return block_->ReadCount();
}

RestorePass::Record RestorePass::ReadKind(std::string name) {
  Record record;
  record.kindPosition = block_->BaseOffset() + block_->Position();
  record.kind = Reader().ReadInteger() & mask_;
  record.passes = !request_.filter || IsSelectedInFilter(*request_.filter, record.kindPosition);
  record.name = std::move(name);
  return record;
}

bool RestorePass::RunItem(ToDoItem item, const std::function<std::string()>& perform) {
  bool succeeded = true;
  if (!request_.executing) {
    item.status = kStatusToDo;
  } else {
    try {
      item.status = perform();
    } catch (const std::exception& error) {
      item.status = kStatusNotDone + MessageOf(error);
      succeeded = false;
      ++failures_;
    }
  }
  AddToDoItem(request_.toDo, std::move(item));
  return succeeded;
}

void RestorePass::RecordDone(const Record& record, Outcome outcome) {
  if (!request_.executing || !record.passes) return;
  const int kind = KindOf(record.kind);
  const int flag = FlagOfRecordKind(kind);
  if (outcome == Outcome::None && kind == record.kind && flag != 0 && !Flag(flag)) ++leftOut_;
  if (kind == kRecordOldSide) {
    SettlePendingOldSide();
    pendingOldSide_ = PendingOldSide{record, outcome};
    return;
  }
  if (kind == kRecordNewSide && pendingOldSide_ && pendingOldSide_->record.name == record.name) {
    const PendingOldSide oldSide = *pendingOldSide_;
    pendingOldSide_.reset();
    if (PairOutcome(oldSide.outcome, outcome) != Outcome::Undone) return;
    WriteMark(oldSide.record);
    WriteMark(record);
    return;
  }
  SettlePendingOldSide();
  if (outcome == Outcome::Undone) WriteMark(record);
}

// An old side whose new side never came (a damaged log) counts on its own.
void RestorePass::SettlePendingOldSide() {
  if (!pendingOldSide_) return;
  const PendingOldSide oldSide = *pendingOldSide_;
  pendingOldSide_.reset();
  if (oldSide.outcome == Outcome::Undone) WriteMark(oldSide.record);
}

void RestorePass::WriteMark(const Record& record) {
  uint8_t kind[2] = {};
  log_->SetPosition(record.kindPosition);
  if (log_->Read(kind, 2) != 2 || kind[0] != kTagInt8 || KindOf(kind[1]) != KindOf(record.kind))
    RaiseLogChanged(environment_.logFileName);
  kind[1] = static_cast<uint8_t>(KindOf(record.kind) | kRestoredBit);
  log_->SetPosition(record.kindPosition);
  log_->Write(kind, 2);
}

void RestorePass::MarkRestored(TreeNode& node) { request_.tree.SetState(&node, node.StateIndex() | kRestoredBit); }

void RestorePass::MarkVisited(TreeNode& node, size_t unfinishedBefore) {
  if (!request_.executing || request_.filter || Unfinished() != unfinishedBefore) return;
  if (IsNewOrDeleted(KindOf(node.StateIndex())) && !(node.StateIndex() & kRestoredBit)) {
    ++leftOut_;  // its parents are not done either
    return;
  }
  request_.tree.SetCut(&node, true);
  MarkRestored(node);
}

void RestorePass::Finish() {
  SettlePendingOldSide();
  block_.reset();
  finished_ = true;
  if (log_) WriteTree();
}

void RestorePass::WriteTree() {
  const int64_t treePosition = PositionsOf(environment_.positions, section_).treePosition;
  const TMemoryStream treeBytes = TreeBytes(request_.tree);
  {
    // Only kinds changed, so the tree is as long as the block in the log; anything else means
    // the log is no longer the one the tree belongs to, and it stays as it is.
    TReader reader(*log_, kStreamBufferSize);
    reader.SetPosition(treePosition);
    TreeModel stored;
    ReadTreeBlock(reader, stored, false);
    if (reader.Position() - treePosition != treeBytes.Size()) RaiseLogChanged(environment_.logFileName);
  }
  log_->SetPosition(treePosition);
  log_->Write(treeBytes.Data(), static_cast<size_t>(treeBytes.Size()));
}

#include "restore/RestorePass.h"

#include "compare/LogLoader.h"
#include "core/Errors.h"
#include "datafiles/TreeBlock.h"

namespace {

std::string MessageOf(const std::exception& error) {
  if (const auto* own = dynamic_cast<const Exception*>(&error)) return own->Message();
  return error.what();
}

[[noreturn]] void RaiseLogChanged() {
  throw Exception(ErrorKind::EWriteError,
                  "The log file does not match the loaded result; the restored marks were not written.");
}

}  // namespace

RestorePass::RestorePass(const RestoreRequest& request, RestoreEnvironment& environment, LogSection section)
    : request_(request), environment_(environment), section_(section), mask_(KindMask(request.flags)) {
  if (request_.filter) CompleteChangedPairs(*request_.filter);
  if (request_.root && section_ != LogSection::SystemFiles)
    ExpandSubtree(request_.tree, *request_.root, environment_.logFileName, environment_.positions, section_,
                  environment_.ui);
  block_ = std::make_unique<ChangeBlockReader>(environment_.logFileName, environment_.positions, section_,
                                               kStreamBufferSize);
}

RestorePass::~RestorePass() = default;

int32_t RestorePass::SeekRecords(const TreeNode& node) {
  if (node.data == 0) return 0;
  block_->Seek(node.data);
  if (section_ != LogSection::SystemFiles && IsNewOrDeleted(KindOf(node.stateIndex))) block_->SkipSubList();
  return block_->ReadCount();
}

RestorePass::Record RestorePass::ReadKind(std::string name) {
  Record record;
  record.kindPosition = block_->BaseOffset() + block_->Position();
  record.kind = Reader().ReadInteger() & mask_;
  record.passes = !request_.filter || IsSelectedInFilter(*request_.filter, name, environment_.settings.defaultText);
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
    }
  }
  AddToDoItem(request_.toDo, std::move(item));
  return succeeded;
}

void RestorePass::RecordDone(const Record& record, bool succeeded) {
  if (!request_.executing || !succeeded || !record.passes) return;
  donePositions_.push_back(record.kindPosition);
  doneKinds_.push_back(record.kind);
}

void RestorePass::MarkRestored(TreeNode& node) { request_.tree.SetState(&node, node.stateIndex | kRestoredBit); }

void RestorePass::MarkVisited(TreeNode& node, bool nodeOperationFailed) {
  if (!request_.executing || request_.filter || nodeOperationFailed) return;
  request_.tree.SetCut(&node, true);
  MarkRestored(node);
}

void RestorePass::Finish() {
  block_.reset();
  if (request_.executing) WriteMarks();
}

void RestorePass::WriteMarks() {
  const int64_t treePosition = PositionsOf(environment_.positions, section_).treePosition;

  // The tree as it is now, in pruned form: only kinds changed, so it is as long as the block
  // in the log, unless the tree and the log no longer belong together.
  TMemoryStream treeBytes;
  {
    TWriter treeWriter(treeBytes, kStreamBufferSize);
    WriteTreeBlock(treeWriter, request_.tree, false, true);
    treeWriter.FlushBuffer();
  }

  TFileStream file(environment_.logFileName, FileMode::OpenReadWrite);
  {
    // Check everything before the first byte is written, so a mismatch leaves the log whole.
    TReader reader(file, kStreamBufferSize);
    reader.SetPosition(treePosition);
    TreeModel stored;
    ReadTreeBlock(reader, stored, false);
    if (reader.Position() - treePosition != treeBytes.Size()) RaiseLogChanged();
    for (size_t i = 0; i < donePositions_.size(); ++i) {
      uint8_t kind[2] = {};
      file.SetPosition(donePositions_[i]);
      if (file.Read(kind, 2) != 2 || kind[0] != kTagInt8 ||
          (kind[1] & kNodeKindMask) != (doneKinds_[i] & kNodeKindMask))
        RaiseLogChanged();
    }
  }

  file.SetPosition(0);
  TWriter writer(file, kStreamBufferSize);
  for (size_t i = 0; i < donePositions_.size(); ++i) {
    writer.SetPosition(donePositions_[i]);
    writer.WriteInteger(doneKinds_[i] | kRestoredBit);
  }
  writer.SetPosition(treePosition);
  writer.Write(treeBytes.Data(), static_cast<size_t>(treeBytes.Size()));
  writer.FlushBuffer();
}

#include "compare/CompareRun.h"

#include <algorithm>

#include "core/Errors.h"

CompareSide::CompareSide(const std::string& fileName)
    : stream_(fileName, FileMode::OpenRead), reader_(stream_, kStreamBufferSize), knownSize_(stream_.Size()) {}

int64_t CompareSide::Remaining() { return knownSize_ - reader_.Position(); }

void CompareSide::RequireBytes(int64_t count) {
  if (count < 0) {
    failed_ = true;
    throw EReadError("Invalid property value");
  }
  if (count <= Remaining()) return;
  knownSize_ = stream_.Size();
  if (count > Remaining()) {
    failed_ = true;
    throw EReadError("Stream read error");
  }
}

int32_t CompareSide::ReadCount() {
  const int32_t count = reader_.ReadInteger();
  if (count < 0) {
    failed_ = true;
    throw EReadError("Invalid property value");
  }
  return count;
}

bool CompareSide::AtEndOfStream() {
  if (Remaining() > 0) return false;
  knownSize_ = stream_.Size();
  return Remaining() <= 0;
}

CompareRun::CompareRun(const std::string& oldFile, const std::string& newFile, UserInteraction& ui)
    : oldSide(oldFile), newSide(newFile), ui(ui), oldFile(oldFile), newFile(newFile) {}

MergeLists& CompareRun::LevelLists() {
  while (levelLists_.size() < static_cast<size_t>(depth_)) levelLists_.emplace_back();
  return levelLists_[static_cast<size_t>(depth_) - 1];
}

void CompareRun::StartList(CompareSide& side, NameList& list, ReadNextStrVariant variant) {
  list.Start(side.ReadCount());
  Advance(side, list, variant);
}

void CompareRun::AdvanceSlowly(CompareSide& side, NameList& list, ReadNextStrVariant variant) {
  const int before = list.index;
  list.atEnd = ReadNextStr(side.Reader(), list.name, list.count, list.index, ui, variant);
  if (list.atEnd || list.index != before) return;
  // The name could not be read and the user has been told. What follows is read from where
  // the failed read left off; at the end of the stream nothing can follow, and a stream that
  // fails again and again is not a configuration file any more.
  side.MarkFailed();
  if (side.AtEndOfStream()) throw EReadError("Stream read error");
  if (++nameReadFailures_ >= kMaxNameReadFailures) throw EReadError("Invalid property value");
}

void CompareRun::Status(const std::string& text) {
  if (!statusShown_ || text != lastStatus_) {
    ui.SetStatus(StatusChannel::Main, text);
    lastStatus_ = text;
    statusShown_ = true;
  }
  ui.ProcessMessages();
}

void CompareRun::ProgressMax(int max) {
  progressMax_ = std::max(max, 0);
  ui.SetProgress(StatusChannel::Main, progressMax_, 0);
}

void CompareRun::ProgressPosition(int position) { ui.SetProgress(StatusChannel::Main, progressMax_, position); }

NestingLevel::NestingLevel(CompareRun& run) : run_(run) {
  if (run_.depth_ >= kMaxNesting) throw EReadError("Invalid property value");
  ++run_.depth_;
}

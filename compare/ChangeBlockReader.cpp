#include "compare/ChangeBlockReader.h"

#include <algorithm>
#include <vector>

#include "core/Errors.h"

namespace {

[[noreturn]] void RaiseInvalidValue() { throw EReadError("Invalid property value"); }
[[noreturn]] void RaiseReadPastEnd() { throw EReadError("Stream read error"); }

// Short skips go through the reader's buffer; longer ones move the stream.
constexpr int64_t kSkipByReading = 4096;

int64_t BlockEnd(const LogPositions& positions, LogSection section, int64_t fileSize) {
  const int64_t base = PositionsOf(positions, section).baseOffset;
  if (section != LogSection::SystemFiles) {
    const auto next = static_cast<LogSection>(static_cast<int>(section) + 1);
    const int64_t nextTree = PositionsOf(positions, next).treePosition;
    if (nextTree > base) return std::min(nextTree, fileSize);
  }
  return fileSize;
}

}  // namespace

TBlockStream::TBlockStream(TStream& inner, int64_t begin, int64_t end)
    : inner_(inner), begin_(begin), end_(std::max(begin, end)) {
  inner_.SetPosition(begin_);
}

size_t TBlockStream::Read(void* buffer, size_t count) {
  const int64_t left = end_ - inner_.Position();
  if (left <= 0) return 0;
  return inner_.Read(buffer, static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(count))));
}

void TBlockStream::Write(const void*, size_t) { throw Exception(ErrorKind::EWriteError, "Stream write error"); }

void TBlockStream::SetPosition(int64_t position) {
  if (position < 0) RaiseReadPastEnd();
  inner_.SetPosition(begin_ + position);
}

ChangeBlockReader::ChangeBlockReader(const std::string& logFileName, const LogPositions& positions, LogSection section,
                                     size_t bufferSize)
    : file_(logFileName, FileMode::OpenRead),
      section_(section),
      base_(std::clamp<int64_t>(PositionsOf(positions, section).baseOffset, 0, file_.Size())),
      block_(file_, base_, BlockEnd(positions, section, file_.Size())),
      reader_(block_, bufferSize) {}

int64_t ChangeBlockReader::Remaining() const { return std::max<int64_t>(block_.Size() - reader_.Position(), 0); }

void ChangeBlockReader::Seek(int32_t recordOffset) {
  if (recordOffset <= 0 || recordOffset >= block_.Size()) RaiseReadPastEnd();
  reader_.SetPosition(recordOffset);
}

int32_t ChangeBlockReader::ReadCount() {
  const int32_t count = reader_.ReadInteger();
  if (count < 0) RaiseInvalidValue();
  return count;
}

std::string ChangeBlockReader::ReadBytes() {
  const int32_t length = ReadCount();
  if (length > Remaining()) RaiseReadPastEnd();
  std::string bytes(static_cast<size_t>(length), '\0');
  reader_.Read(bytes.data(), bytes.size());
  return bytes;
}

void ChangeBlockReader::Skip(int64_t count) {
  if (count < 0) RaiseInvalidValue();
  if (count > Remaining()) RaiseReadPastEnd();
  if (count > kSkipByReading) {
    reader_.SetPosition(reader_.Position() + count);
    return;
  }
  char scratch[kSkipByReading];
  reader_.Read(scratch, static_cast<size_t>(count));
}

void ChangeBlockReader::SkipRegistryData(int32_t typeCode) {
  if (IsTextRegDataCode(typeCode)) {
    std::string text;
    reader_.ReadString(text);
  } else if (typeCode == kRdInteger) {
    reader_.ReadInteger();
  } else {
    Skip(ReadCount());
  }
}

void ChangeBlockReader::SkipLeafList() {
  std::string name;
  for (int32_t i = ReadCount(); i > 0; --i) {
    reader_.ReadString(name);
    switch (section_) {
      case LogSection::Registry:
        reader_.ReadInteger();  // record kind
        SkipRegistryData(reader_.ReadInteger());
        break;
      case LogSection::Drives:
        for (int field = 0; field < 4; ++field) reader_.ReadInteger();  // kind, time, size, attributes
        break;
      case LogSection::SystemFiles:
        RaiseUnknownCase("ChangeBlockReader", "SkipLeafList");
    }
  }
}

int32_t ChangeBlockReader::SkipItemRecord() {
  // One entry per open record: its sub-items still to be read. Damaged nesting ends at the end
  // of the block, as every level costs bytes.
  const int32_t subItems = ReadCount();
  std::vector<int32_t> open{subItems};
  std::string name;
  while (!open.empty()) {
    if (open.back() > 0) {
      --open.back();
      reader_.ReadString(name);
      open.push_back(ReadCount());
    } else {
      open.pop_back();
      SkipLeafList();
    }
  }
  return subItems;
}

void ChangeBlockReader::SkipSubList() {
  std::string name;
  for (int32_t i = ReadCount(); i > 0; --i) {
    reader_.ReadString(name);
    SkipItemRecord();
  }
}

#pragma once
// Reads one section's change block of a log file. The reader sees only the bytes of that
// block, with position 0 at its first byte, so its positions are record offsets, and a damaged
// offset or count ends in the reader's "Stream read error" at the block's end instead of
// reading another section's bytes or the tree blocks.

#include <cstdint>
#include <string>

#include "compare/LogLayout.h"
#include "datafiles/RegDataCode.h"
#include "datafiles/Stream.h"
#include "datafiles/TReader.h"

// Event handlers (expansion, list fills, exports) read a little at a time.
inline constexpr size_t kEventReaderBufferSize = 1024;

// A read-only window [begin, end) of another stream, with positions counted from begin.
class TBlockStream : public TStream {
 public:
  TBlockStream(TStream& inner, int64_t begin, int64_t end);

  size_t Read(void* buffer, size_t count) override;
  // A change block is only ever read through this window; restores write the file directly.
  void Write(const void* buffer, size_t count) override;
  int64_t Position() const override { return inner_.Position() - begin_; }
  void SetPosition(int64_t position) override;
  int64_t Size() const override { return end_ - begin_; }

 private:
  TStream& inner_;
  int64_t begin_;
  int64_t end_;
};

class ChangeBlockReader {
 public:
  // Opens the log read-only (EFOpenError when it cannot be opened). The block runs from the
  // section's base offset to the next section's tree position, or to the end of the file.
  ChangeBlockReader(const std::string& logFileName, const LogPositions& positions, LogSection section,
                    size_t bufferSize = kEventReaderBufferSize);
  ChangeBlockReader(const ChangeBlockReader&) = delete;
  ChangeBlockReader& operator=(const ChangeBlockReader&) = delete;

  TReader& Reader() { return reader_; }
  LogSection Section() const { return section_; }
  int64_t BaseOffset() const { return base_; }
  // Position in the block of the next unread byte.
  int64_t Position() const { return reader_.Position(); }
  // Bytes left in the block after the read position.
  int64_t Remaining() const;

  // Moves to a node's block; an offset outside the block is a read error.
  void Seek(int32_t recordOffset);

  // A count from the block; negative counts are format errors. Never used to reserve memory.
  int32_t ReadCount();
  // Reads a byte-data length and its bytes; a length beyond the block fails before any
  // allocation.
  std::string ReadBytes();
  // Reads past count raw bytes; fails like a read when the block ends first.
  void Skip(int64_t count);
  // Reads past one key record (registry) or folder record (drives) and returns its number of
  // subkeys or subfolders. Nesting is walked without recursion.
  int32_t SkipItemRecord();
  // Reads past the subkey or subfolder list at the start of a key or folder record, so the
  // reader stands at its value or file list.
  void SkipSubList();
  // Reads past the value list (registry) or file list (drives) that ends a key or folder
  // record.
  void SkipLeafList();
  // Reads past the data of a registry value after its type code.
  void SkipRegistryData(int32_t typeCode);

 private:
  TFileStream file_;
  LogSection section_;
  int64_t base_;
  TBlockStream block_;
  TReader reader_;
};

#pragma once
// Byte streams under the tagged value readers and writers. Implementations: TMemoryStream (the
// capture threads' and the compare's in-memory blocks) and TFileStream (data files on disk).
// Only the buffered TReader/TWriter talk to a stream per value, and only once per buffer.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class TStream {
 public:
  virtual ~TStream() = default;

  // Copies up to count bytes from the current position; fewer (0 at the end) when the stream
  // ends first.
  virtual size_t Read(void* buffer, size_t count) = 0;
  // Writes all count bytes at the current position or throws (EWriteError).
  virtual void Write(const void* buffer, size_t count) = 0;

  virtual int64_t Position() const = 0;
  virtual void SetPosition(int64_t position) = 0;
  virtual int64_t Size() const = 0;
};

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

  size_t Read(void* buffer, size_t count) override;
  void Write(const void* buffer, size_t count) override;
  int64_t Position() const override { return position_; }
  void SetPosition(int64_t position) override;
  int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }

  const uint8_t* Data() const { return bytes_.data(); }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  // Empties the stream and moves to 0, keeping the allocation for the next block.
  void Clear();

 private:
  std::vector<uint8_t> bytes_;
  int64_t position_ = 0;
};

enum class FileMode {
  Create,         // create or truncate; reading back is allowed too
  OpenRead,       // existing file, read only
  OpenReadWrite,  // existing file, read and overwrite in place
};

class TFileStream : public TStream {
 public:
  // Throws EFCreateError (Create) or EFOpenError naming the file and the system's reason.
  TFileStream(const std::string& fileName, FileMode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  size_t Read(void* buffer, size_t count) override;
  void Write(const void* buffer, size_t count) override;
  int64_t Position() const override;
  void SetPosition(int64_t position) override;
  int64_t Size() const override;

  const std::string& FileName() const { return fileName_; }

 private:
  enum class LastOp { None, Read, Write };
  // stdio needs a seek between a read and a following write, and the other way round.
  void SwitchTo(LastOp op);

  std::string fileName_;
  FILE* file_ = nullptr;
  LastOp lastOp_ = LastOp::None;
};

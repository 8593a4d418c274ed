#pragma once
// An append-only in-memory stream kept in fixed-size chunks. Growing never copies what was
// written (a vector that doubles holds the old and the new block at once), so the memory a
// capture needs stays its output plus one chunk.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "datafiles/Stream.h"

class TChunkedMemoryStream : public TStream {
 public:
  static constexpr size_t kChunkSize = 1 << 20;

  size_t Read(void* buffer, size_t count) override;
  // Appends only: writing anywhere but at the end raises a stream error.
  void Write(const void* buffer, size_t count) override;
  int64_t Position() const override { return position_; }
  void SetPosition(int64_t position) override;
  int64_t Size() const override { return size_; }

  // Calls visit with every filled piece of the content, in order.
  void ForEachChunk(const std::function<void(const uint8_t* data, size_t size)>& visit) const;
  std::vector<uint8_t> Bytes() const;

 private:
  std::vector<std::unique_ptr<uint8_t[]>> chunks_;
  int64_t size_ = 0;
  int64_t position_ = 0;
};

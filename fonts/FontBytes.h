#pragma once
// Where a font's bytes come from: a file read piece by piece, or a buffer. The name-table reader
// asks for exact ranges; a range the source does not hold in full is refused, never filled up.

#include <cstddef>
#include <cstdint>
#include <vector>

class FontBytes {
 public:
  virtual ~FontBytes() = default;
  virtual uint64_t Size() const = 0;
  // Copies length bytes at offset into out; false when they are not all there or cannot be read.
  virtual bool ReadAt(uint64_t offset, size_t length, uint8_t* out) const = 0;
};

// Bytes held in memory (tests, fuzzing); the buffer must outlive the object.
class MemoryFontBytes : public FontBytes {
 public:
  MemoryFontBytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  explicit MemoryFontBytes(const std::vector<uint8_t>& bytes) : MemoryFontBytes(bytes.data(), bytes.size()) {}

  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, size_t length, uint8_t* out) const override;

 private:
  const uint8_t* data_;
  size_t size_;
};

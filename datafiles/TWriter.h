#pragma once
// Buffered writer of the tagged value stream: every data file is a flat sequence of values, each
// a tag byte and its little-endian payload. Values go into the buffer; the stream sees one
// Write per full buffer, because a large capture writes millions of values of a few bytes.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "datafiles/Stream.h"

// The tags of the stream. Any other byte where a value is expected is a format error.
enum ValueTag : uint8_t {
  kTagListEnd = 0,
  kTagListBegin = 1,
  kTagInt8 = 2,
  kTagInt16 = 3,
  kTagInt32 = 4,
  kTagShortString = 6,
  kTagFalse = 8,
  kTagTrue = 9,
  kTagLongString = 12,
};

// The buffer size every reader and writer of the data files uses.
inline constexpr size_t kStreamBufferSize = 102400;

class TWriter {
 public:
  // Does not own the stream; destroy the writer before the stream.
  TWriter(TStream& stream, size_t bufferSize);
  // Flushes what is left but never throws: a caller whose data matter calls FlushBuffer
  // itself on its success path and sees the error there.
  ~TWriter();
  TWriter(const TWriter&) = delete;
  TWriter& operator=(const TWriter&) = delete;

  // The smallest of the 8-, 16- and 32-bit tags whose range holds value.
  void WriteInteger(int32_t value);
  // Up to 255 characters a short string, longer ones a long string.
  void WriteString(std::string_view text);
  void WriteBoolean(bool flag) { WriteTag(flag ? kTagTrue : kTagFalse); }
  void WriteListBegin() { WriteTag(kTagListBegin); }
  void WriteListEnd() { WriteTag(kTagListEnd); }
  // Raw bytes without tag or length.
  void Write(const void* bytes, size_t count);

  void FlushBuffer();
  // Stream position plus the bytes still in the buffer.
  int64_t Position() const { return stream_.Position() + static_cast<int64_t>(count_); }
  // Flushes and moves the stream, so later values overwrite what stands at position.
  void SetPosition(int64_t position);

 private:
  static size_t EncodeInteger(uint8_t* out, int32_t value);
  void WriteTag(uint8_t tag);
  void WriteStringSlow(std::string_view text);
  void WriteSlow(const void* bytes, size_t count);

  TStream& stream_;
  std::unique_ptr<uint8_t[]> buffer_;
  size_t capacity_;
  size_t count_ = 0;
};

inline size_t TWriter::EncodeInteger(uint8_t* out, int32_t value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  out[1] = static_cast<uint8_t>(bits);
  if (value >= -128 && value <= 127) {
    out[0] = kTagInt8;
    return 2;
  }
  out[2] = static_cast<uint8_t>(bits >> 8);
  if (value >= -32768 && value <= 32767) {
    out[0] = kTagInt16;
    return 3;
  }
  out[0] = kTagInt32;
  out[3] = static_cast<uint8_t>(bits >> 16);
  out[4] = static_cast<uint8_t>(bits >> 24);
  return 5;
}

inline void TWriter::WriteTag(uint8_t tag) {
  if (count_ < capacity_)
    buffer_[count_++] = tag;
  else
    WriteSlow(&tag, 1);
}

inline void TWriter::WriteInteger(int32_t value) {
  if (capacity_ - count_ >= 5) {
    count_ += EncodeInteger(buffer_.get() + count_, value);
  } else {
    uint8_t encoded[5];
    WriteSlow(encoded, EncodeInteger(encoded, value));
  }
}

inline void TWriter::Write(const void* bytes, size_t count) {
  if (capacity_ - count_ >= count) {
    if (count) std::memcpy(buffer_.get() + count_, bytes, count);
    count_ += count;
  } else {
    WriteSlow(bytes, count);
  }
}

inline void TWriter::WriteString(std::string_view text) {
  const size_t length = text.size();
  if (length <= 255 && capacity_ - count_ >= length + 2) {
    uint8_t* out = buffer_.get() + count_;
    out[0] = kTagShortString;
    out[1] = static_cast<uint8_t>(length);
    if (length) std::memcpy(out + 2, text.data(), length);
    count_ += length + 2;
  } else {
    WriteStringSlow(text);
  }
}

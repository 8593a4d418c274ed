#pragma once
// Buffered reader of the tagged value stream (see TWriter.h for the encoding). Values whose
// bytes are all in the buffer are decoded inline; the stream is read once per buffer.
// Malformed data raise EReadError: "Invalid property value" for a wrong tag, "Stream read
// error" for a read past the end, so a truncated or foreign file ends in an error, not a crash.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "datafiles/Stream.h"
#include "datafiles/TWriter.h"

class TReader {
 public:
  // Does not own the stream; reading starts at the stream's current position.
  TReader(TStream& stream, size_t bufferSize);
  TReader(const TReader&) = delete;
  TReader& operator=(const TReader&) = delete;

  // Accepts the 8-, 16- and 32-bit tags and sign-extends.
  int32_t ReadInteger();
  std::string ReadString();
  // Reuses text's storage when the value lies in the buffer; text is left unchanged when the
  // read fails.
  void ReadString(std::string& text);
  // Reads a short string that lies whole in the buffer and answers true; otherwise reads nothing
  // and answers false (ReadString then reads it, or raises the error). Never raises.
  bool ReadBufferedString(std::string& text);
  // Consumes one byte; true only for the true tag.
  bool ReadBoolean();
  void ReadListBegin() { ExpectTag(kTagListBegin); }
  void ReadListEnd() { ExpectTag(kTagListEnd); }
  // True when the next value is a list end; consumes nothing. Lists carry no count, so this
  // is how a reader finds their end.
  bool EndOfList();
  // Raw bytes without tag or length.
  void Read(void* bytes, size_t count);

  // The logical read position: the stream position of the next unread byte.
  int64_t Position() const { return bufferOrigin_ + static_cast<int64_t>(next_); }
  // Moves the stream and discards the buffer.
  void SetPosition(int64_t position);
  // Puts the stream where the reader logically stands and discards the buffer, so that the
  // stream's position tells the truth again (for instance before an error is reported).
  void SyncStream() { SetPosition(Position()); }

  // Whether this reader has raised a read error: with two files read side by side, it tells
  // which one was damaged.
  bool Failed() const { return failed_; }

 private:
  [[noreturn]] void RaiseInvalidValue();
  [[noreturn]] void RaiseReadPastEnd();
  uint8_t ReadByte();
  void ExpectTag(uint8_t tag);
  int32_t ReadIntegerSlow();
  void ReadStringSlow(std::string& text);
  void ReadSlow(uint8_t* bytes, size_t count);
  // Bytes from the logical position to the end of the stream.
  int64_t Remaining() const;
  // Refills an empty buffer; false at the end of the stream.
  bool Fill();

  TStream& stream_;
  std::unique_ptr<uint8_t[]> buffer_;
  size_t capacity_;
  size_t next_ = 0;           // next unread byte in the buffer
  size_t end_ = 0;            // bytes held in the buffer
  int64_t bufferOrigin_ = 0;  // stream position of buffer_[0]
  bool failed_ = false;
};

inline int32_t TReader::ReadInteger() {
  if (end_ - next_ >= 5) {
    const uint8_t* p = buffer_.get() + next_;
    switch (p[0]) {
      case kTagInt8:
        next_ += 2;
        return static_cast<int8_t>(p[1]);
      case kTagInt16:
        next_ += 3;
        return static_cast<int16_t>(p[1] | p[2] << 8);
      case kTagInt32:
        next_ += 5;
        return static_cast<int32_t>(p[1] | p[2] << 8 | p[3] << 16 | static_cast<uint32_t>(p[4]) << 24);
    }
  }
  return ReadIntegerSlow();
}

inline bool TReader::ReadBufferedString(std::string& text) {
  if (end_ - next_ >= 2) {
    const uint8_t* p = buffer_.get() + next_;
    const size_t length = p[1];
    if (p[0] == kTagShortString && end_ - next_ >= length + 2) {
      text.assign(reinterpret_cast<const char*>(p + 2), length);
      next_ += length + 2;
      return true;
    }
  }
  return false;
}

inline void TReader::ReadString(std::string& text) {
  if (!ReadBufferedString(text)) ReadStringSlow(text);
}

inline std::string TReader::ReadString() {
  std::string text;
  ReadString(text);
  return text;
}

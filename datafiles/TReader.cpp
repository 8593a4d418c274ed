#include "datafiles/TReader.h"

#include <algorithm>

#include "core/Errors.h"

void TReader::RaiseInvalidValue() {
  failed_ = true;
  throw EReadError("Invalid property value");
}

void TReader::RaiseReadPastEnd() {
  failed_ = true;
  throw EReadError("Stream read error");
}

TReader::TReader(TStream& stream, size_t bufferSize)
    : stream_(stream),
      buffer_(new uint8_t[std::max<size_t>(bufferSize, 1)]),
      capacity_(std::max<size_t>(bufferSize, 1)),
      bufferOrigin_(stream.Position()) {}

bool TReader::Fill() {
  bufferOrigin_ += static_cast<int64_t>(end_);
  next_ = end_ = 0;
  end_ = stream_.Read(buffer_.get(), capacity_);
  return end_ > 0;
}

uint8_t TReader::ReadByte() {
  if (next_ == end_ && !Fill()) RaiseReadPastEnd();
  return buffer_[next_++];
}

void TReader::ExpectTag(uint8_t tag) {
  if (ReadByte() != tag) RaiseInvalidValue();
}

bool TReader::ReadBoolean() { return ReadByte() == kTagTrue; }

bool TReader::EndOfList() {
  if (next_ == end_ && !Fill()) RaiseReadPastEnd();
  return buffer_[next_] == kTagListEnd;
}

int32_t TReader::ReadIntegerSlow() {
  uint8_t payload[4] = {};
  switch (ReadByte()) {
    case kTagInt8:
      Read(payload, 1);
      return static_cast<int8_t>(payload[0]);
    case kTagInt16:
      Read(payload, 2);
      return static_cast<int16_t>(payload[0] | payload[1] << 8);
    case kTagInt32:
      Read(payload, 4);
      return static_cast<int32_t>(payload[0] | payload[1] << 8 | payload[2] << 16 |
                                  static_cast<uint32_t>(payload[3]) << 24);
    default:
      RaiseInvalidValue();
  }
}

void TReader::ReadStringSlow(std::string& text) {
  size_t length;
  switch (ReadByte()) {
    case kTagShortString:
      length = ReadByte();
      break;
    case kTagLongString: {
      uint8_t bytes[4];
      Read(bytes, 4);
      const uint32_t value = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
      // A damaged length must not make us allocate gigabytes before the read fails.
      if (static_cast<int64_t>(value) > Remaining()) RaiseReadPastEnd();
      length = value;
      break;
    }
    default:
      RaiseInvalidValue();
  }
  std::string value(length, '\0');
  Read(value.data(), length);
  text = std::move(value);
}

int64_t TReader::Remaining() const { return std::max<int64_t>(stream_.Size() - Position(), 0); }

void TReader::Read(void* bytes, size_t count) {
  if (end_ - next_ >= count) {
    if (count) std::memcpy(bytes, buffer_.get() + next_, count);
    next_ += count;
  } else {
    ReadSlow(static_cast<uint8_t*>(bytes), count);
  }
}

void TReader::ReadSlow(uint8_t* bytes, size_t count) {
  const size_t buffered = end_ - next_;
  std::memcpy(bytes, buffer_.get() + next_, buffered);
  next_ = end_;
  bytes += buffered;
  count -= buffered;
  while (count > 0) {
    if (count >= capacity_) {
      // Large blocks go straight from the stream into the caller's memory.
      bufferOrigin_ += static_cast<int64_t>(end_);
      next_ = end_ = 0;
      const size_t n = stream_.Read(bytes, count);
      bufferOrigin_ += static_cast<int64_t>(n);
      if (n == 0) RaiseReadPastEnd();
      bytes += n;
      count -= n;
    } else {
      if (!Fill()) RaiseReadPastEnd();
      const size_t n = std::min(count, end_);
      std::memcpy(bytes, buffer_.get(), n);
      next_ = n;
      bytes += n;
      count -= n;
    }
  }
}

void TReader::SetPosition(int64_t position) {
  stream_.SetPosition(position);
  bufferOrigin_ = position;
  next_ = end_ = 0;
}

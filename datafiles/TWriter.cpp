#include "datafiles/TWriter.h"

#include "core/Errors.h"

TWriter::TWriter(TStream& stream, size_t bufferSize)
    : stream_(stream), buffer_(new uint8_t[bufferSize]), capacity_(bufferSize) {}

TWriter::~TWriter() {
  try {
    FlushBuffer();
  } catch (...) {
    // A destructor may run while another error unwinds; the caller's own FlushBuffer reports.
  }
}

void TWriter::FlushBuffer() {
  if (count_ == 0) return;
  // Emptied first, so a failing stream is not written the same block again by the destructor.
  const size_t count = count_;
  count_ = 0;
  stream_.Write(buffer_.get(), count);
}

void TWriter::SetPosition(int64_t position) {
  FlushBuffer();
  stream_.SetPosition(position);
}

void TWriter::WriteSlow(const void* bytes, size_t count) {
  const auto* source = static_cast<const uint8_t*>(bytes);
  if (count >= capacity_) {
    // A block as large as the buffer (a memory stream copied into the file) goes straight on.
    FlushBuffer();
    stream_.Write(source, count);
    return;
  }
  const size_t room = capacity_ - count_;
  if (count <= room) {
    std::memcpy(buffer_.get() + count_, source, count);
    count_ += count;
    return;
  }
  std::memcpy(buffer_.get() + count_, source, room);
  count_ = capacity_;
  FlushBuffer();
  std::memcpy(buffer_.get(), source + room, count - room);
  count_ = count - room;
}

void TWriter::WriteStringSlow(std::string_view text) {
  const size_t length = text.size();
  uint8_t header[5];
  size_t headerSize;
  if (length <= 255) {
    header[0] = kTagShortString;
    header[1] = static_cast<uint8_t>(length);
    headerSize = 2;
  } else {
    if (length > 0xFFFFFFFFu) throw Exception(ErrorKind::EWriteError, "String too long for the data file");
    const uint32_t bits = static_cast<uint32_t>(length);
    header[0] = kTagLongString;
    for (int i = 0; i < 4; ++i) header[1 + i] = static_cast<uint8_t>(bits >> (8 * i));
    headerSize = 5;
  }
  Write(header, headerSize);
  Write(text.data(), length);
}

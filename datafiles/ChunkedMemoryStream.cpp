#include "datafiles/ChunkedMemoryStream.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/Errors.h"

size_t TChunkedMemoryStream::Read(void* buffer, size_t count) {
  auto* out = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  while (done < count && position_ < size_) {
    size_t chunk = static_cast<size_t>(position_ / kChunkSize);
    size_t offset = static_cast<size_t>(position_ % kChunkSize);
    size_t n = std::min({count - done, kChunkSize - offset, static_cast<size_t>(size_ - position_)});
    std::memcpy(out + done, chunks_[chunk].get() + offset, n);
    done += n;
    position_ += static_cast<int64_t>(n);
  }
  return done;
}

void TChunkedMemoryStream::Write(const void* buffer, size_t count) {
  if (position_ != size_)
    throw Exception(ErrorKind::EStreamError, "Invalid stream position " + std::to_string(position_));
  const auto* in = static_cast<const uint8_t*>(buffer);
  while (count > 0) {
    size_t offset = static_cast<size_t>(size_ % kChunkSize);
    if (offset == 0 && static_cast<size_t>(size_ / kChunkSize) == chunks_.size())
      chunks_.push_back(std::make_unique<uint8_t[]>(kChunkSize));
    size_t n = std::min(count, kChunkSize - offset);
    std::memcpy(chunks_.back().get() + offset, in, n);
    in += n;
    count -= n;
    size_ += static_cast<int64_t>(n);
  }
  position_ = size_;
}

void TChunkedMemoryStream::SetPosition(int64_t position) {
  if (position < 0 || position > size_)
    throw Exception(ErrorKind::EStreamError, "Invalid stream position " + std::to_string(position));
  position_ = position;
}

void TChunkedMemoryStream::ForEachChunk(const std::function<void(const uint8_t*, size_t)>& visit) const {
  int64_t left = size_;
  for (const auto& chunk : chunks_) {
    size_t n = static_cast<size_t>(std::min<int64_t>(left, kChunkSize));
    if (n == 0) break;
    visit(chunk.get(), n);
    left -= static_cast<int64_t>(n);
  }
}

std::vector<uint8_t> TChunkedMemoryStream::Bytes() const {
  std::vector<uint8_t> bytes;
  bytes.reserve(static_cast<size_t>(size_));
  ForEachChunk([&](const uint8_t* data, size_t n) { bytes.insert(bytes.end(), data, data + n); });
  return bytes;
}

// Large files need 64-bit offsets from stdio also in a 32-bit native build.
#define _FILE_OFFSET_BITS 64

#include "datafiles/Stream.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "core/Errors.h"

namespace {

std::string Reason(int error) { return std::generic_category().message(error); }

[[noreturn]] void RaiseFileError(ErrorKind kind, const char* what, const std::string& fileName, int error) {
  throw Exception(kind, std::string(what) + " \"" + fileName + "\". " + Reason(error));
}

[[noreturn]] void RaiseBadPosition(int64_t position) {
  throw Exception(ErrorKind::EStreamError, "Invalid stream position " + std::to_string(position));
}

int Seek(FILE* file, int64_t offset, int origin) {
#ifdef _WIN32
  return _fseeki64(file, offset, origin);
#else
  return fseeko(file, static_cast<off_t>(offset), origin);
#endif
}

int64_t Tell(FILE* file) {
#ifdef _WIN32
  return _ftelli64(file);
#else
  return static_cast<int64_t>(ftello(file));
#endif
}

}  // namespace

size_t TMemoryStream::Read(void* buffer, size_t count) {
  const int64_t size = Size();
  if (position_ >= size || count == 0) return 0;
  const size_t available = static_cast<size_t>(size - position_);
  const size_t n = count < available ? count : available;
  std::memcpy(buffer, bytes_.data() + position_, n);
  position_ += static_cast<int64_t>(n);
  return n;
}

void TMemoryStream::Write(const void* buffer, size_t count) {
  if (count == 0) return;
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  const size_t position = static_cast<size_t>(position_);
  if (position == bytes_.size()) {
    // Appending is the common case; insert grows geometrically without zero-filling first.
    bytes_.insert(bytes_.end(), bytes, bytes + count);
  } else {
    if (position + count > bytes_.size()) bytes_.resize(position + count);
    std::memcpy(bytes_.data() + position, bytes, count);
  }
  position_ += static_cast<int64_t>(count);
}

void TMemoryStream::SetPosition(int64_t position) {
  if (position < 0) RaiseBadPosition(position);
  position_ = position;
}

void TMemoryStream::Clear() {
  bytes_.clear();
  position_ = 0;
}

TFileStream::TFileStream(const std::string& fileName, FileMode mode) : fileName_(fileName) {
  const char* flags = mode == FileMode::Create ? "w+b" : mode == FileMode::OpenRead ? "rb" : "r+b";
  file_ = std::fopen(fileName.c_str(), flags);
  if (!file_) {
    const int error = errno;
    if (mode == FileMode::Create) RaiseFileError(ErrorKind::EFCreateError, "Cannot create file", fileName, error);
    RaiseFileError(ErrorKind::EFOpenError, "Cannot open file", fileName, error);
  }
}

TFileStream::~TFileStream() { std::fclose(file_); }

void TFileStream::SwitchTo(LastOp op) {
  if (lastOp_ != LastOp::None && lastOp_ != op) Seek(file_, 0, SEEK_CUR);
  lastOp_ = op;
}

size_t TFileStream::Read(void* buffer, size_t count) {
  SwitchTo(LastOp::Read);
  return std::fread(buffer, 1, count, file_);
}

void TFileStream::Write(const void* buffer, size_t count) {
  SwitchTo(LastOp::Write);
  // Flushing each block (the writers hand over 100 KB at a time) makes a full disk fail here,
  // at the write, and not silently when the file is closed.
  if (std::fwrite(buffer, 1, count, file_) != count || std::fflush(file_) != 0) {
    const int error = errno;
    std::clearerr(file_);
    RaiseFileError(ErrorKind::EWriteError, "Cannot write to file", fileName_, error);
  }
}

int64_t TFileStream::Position() const { return Tell(file_); }

void TFileStream::SetPosition(int64_t position) {
  if (position < 0 || Seek(file_, position, SEEK_SET) != 0) RaiseBadPosition(position);
  lastOp_ = LastOp::None;
}

int64_t TFileStream::Size() const {
  // Writes are flushed as they happen, so the descriptor's size is current.
#ifdef _WIN32
  struct _stati64 info;
  if (_fstati64(_fileno(file_), &info) != 0) return 0;
#else
  struct stat info;
  if (fstat(fileno(file_), &info) != 0) return 0;
#endif
  return static_cast<int64_t>(info.st_size);
}

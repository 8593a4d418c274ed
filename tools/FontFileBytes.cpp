#include "tools/FontFileBytes.h"

#include <algorithm>

#include "restore/ShellFileOperations.h"

FontFileBytes::FontFileBytes(const std::string& path)
    : file_(CreateFileA(AccessPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
  LARGE_INTEGER size{};
  if (file_ && GetFileSizeEx(file_.Get(), &size)) size_ = static_cast<uint64_t>(size.QuadPart);
}

bool FontFileBytes::ReadAt(uint64_t offset, size_t length, uint8_t* out) const {
  if (!file_ || offset > size_ || length > size_ - offset) return false;
  while (length > 0) {
    // A synchronous handle reads at the offset the OVERLAPPED names.
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(length, 1u << 20));
    DWORD read = 0;
    if (!ReadFile(file_.Get(), out, chunk, &read, &at) || read == 0) return false;
    offset += read;
    out += read;
    length -= read;
  }
  return true;
}

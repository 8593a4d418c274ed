#pragma once
// A font file read where the name-table reader asks, instead of loaded whole (a font of East
// Asian glyphs runs to tens of megabytes). Opened read-only, letting others read, write and
// delete it meanwhile, as the system has its fonts open.

#include <windows.h>

#include <string>

#include "fonts/FontBytes.h"
#include "platform/Handle.h"

class FontFileBytes : public FontBytes {
 public:
  explicit FontFileBytes(const std::string& path);
  bool IsOpen() const { return static_cast<bool>(file_); }

  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, size_t length, uint8_t* out) const override;

 private:
  UniqueFile file_;
  uint64_t size_ = 0;
};

#include "fonts/FontBytes.h"

#include <cstring>

bool MemoryFontBytes::ReadAt(uint64_t offset, size_t length, uint8_t* out) const {
  // Written so that no sum can wrap: offset and length may be anything a hostile file says.
  if (offset > size_ || length > size_ - offset) return false;
  if (length > 0) std::memcpy(out, data_ + offset, length);
  return true;
}

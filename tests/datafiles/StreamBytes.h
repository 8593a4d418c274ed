#pragma once
// Helpers for byte-exact tests of the tagged value stream.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "datafiles/Stream.h"
#include "datafiles/TWriter.h"

using Bytes = std::vector<uint8_t>;

// "06 04 50 61" -> {0x06, 0x04, 0x50, 0x61}; commas and spaces separate.
inline Bytes Hex(std::string_view text) {
  Bytes bytes;
  std::string digits;
  for (char c : text) {
    if (c == ' ' || c == ',') continue;
    digits += c;
    if (digits.size() == 2) {
      bytes.push_back(static_cast<uint8_t>(std::stoi(digits, nullptr, 16)));
      digits.clear();
    }
  }
  return bytes;
}

inline Bytes TextBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// What a writer puts into a fresh stream for the given calls, flushed.
inline Bytes Encode(const std::function<void(TWriter&)>& write, size_t bufferSize = kStreamBufferSize) {
  TMemoryStream stream;
  {
    TWriter writer(stream, bufferSize);
    write(writer);
    writer.FlushBuffer();
  }
  return stream.Bytes();
}

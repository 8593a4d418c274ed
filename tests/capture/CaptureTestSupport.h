#pragma once
// What the capture tests share: a host that runs a capture inline and records what it showed,
// an encoder of expected bytes that does not use TWriter, a capture into memory, and (from
// TestFolder.h) a folder of the running test's own under the temp folder.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "capture/SectionCaptures.h"
#include "core/ScriptedInteraction.h"
#include "datafiles/Stream.h"
#include "datafiles/TWriter.h"
#include "tests/capture/TestFolder.h"

// Runs the capture on the test's thread; keeps every progress display in order.
class RecordingHost : public DirectCaptureHost {
 public:
  explicit RecordingHost(ScriptedInteraction& ui, StatusChannel channel = StatusChannel::Main)
      : DirectCaptureHost(ui, channel) {}

  std::vector<Progress> shown;

 protected:
  void DisplayProgress(const Progress& p) override {
    shown.push_back(p);
    DirectCaptureHost::DisplayProgress(p);
  }
};

inline bool operator==(const CaptureHost::Progress& a, const CaptureHost::Progress& b) {
  return a.status == b.status && a.max == b.max && a.position == b.position;
}

inline void PrintTo(const CaptureHost::Progress& p, std::ostream* os) {
  *os << "{\"" << p.status << "\", " << p.max << ", " << p.position << "}";
}

// Expected bytes of the tagged value stream, spelled out by hand.
class Bytes {
 public:
  Bytes& Int(int32_t v) {
    if (v >= -128 && v <= 127) return Tag(2).Little(v, 1);
    if (v >= -32768 && v <= 32767) return Tag(3).Little(v, 2);
    return Tag(4).Little(v, 4);
  }
  Bytes& Str(const std::string& s) {
    if (s.size() <= 255)
      Tag(6).Little(static_cast<int32_t>(s.size()), 1);
    else
      Tag(12).Little(static_cast<int32_t>(s.size()), 4);
    return Raw(s);
  }
  Bytes& Raw(const std::string& raw) {
    bytes_ += raw;
    return *this;
  }
  Bytes& Begin() { return Tag(1); }
  Bytes& End() { return Tag(0); }
  // A key or folder with nothing in it.
  Bytes& Empty() { return Int(0).Int(0); }
  Bytes& Append(const Bytes& other) { return Raw(other.bytes_); }

  const std::string& Get() const { return bytes_; }

 private:
  Bytes& Tag(uint8_t tag) {
    bytes_ += static_cast<char>(tag);
    return *this;
  }
  Bytes& Little(int32_t v, int width) {
    for (int i = 0; i < width; ++i) bytes_ += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
    return *this;
  }
  std::string bytes_;
};

// What capture writes, as bytes.
inline std::string Captured(const std::function<void(TWriter&)>& capture) {
  TMemoryStream stream;
  {
    TWriter writer(stream, kStreamBufferSize);
    capture(writer);
    writer.FlushBuffer();
  }
  return std::string(stream.Bytes().begin(), stream.Bytes().end());
}

// Shows bytes as hex, so a failed comparison points at the first differing byte.
inline std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += kDigits[c >> 4];
    hex += kDigits[c & 15];
    hex += ' ';
  }
  return hex;
}

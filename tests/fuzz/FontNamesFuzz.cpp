// The name-table reader over arbitrary bytes: a crash, a sanitizer report or a record that no
// valid font could give is a finding. The buffer libFuzzer hands over has exactly the input's
// size, so any read past the end is seen.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "fonts/TrueTypeNames.h"

namespace {

// A name may hold line breaks of its own, so the lines cannot be told apart; but the text starts
// with a label, ends with a carriage return, and no text holds a NUL (it would cut it short).
bool WellFormed(const TFontInfoRec& info) {
  const std::string& text = info.infoText;
  if (text.find('\0') != std::string::npos || info.familyName.find('\0') != std::string::npos) return false;
  if (text.empty()) return true;
  if (text.back() != '\r') return false;
  for (const char* label : kFontNameLabels)
    if (text.rfind(std::string(label) + ":  ", 0) == 0) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<TFontInfoRec> info = TrueTypeNameReader(0x0409).Read(MemoryFontBytes(data, size));
  if (info && !WellFormed(*info)) std::abort();
  return 0;
}

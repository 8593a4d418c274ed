// Longer runs of the compare over arbitrary configuration files than the unit tests afford,
// by hand: compare_fuzz [corpus folder] (libFuzzer options apply). The input is the damaged side
// as CompareInput.h describes it. Anything but our own exceptions, and any flood of messages, is
// a finding.

#include <cstdint>

#include "tests/fuzz/CompareInput.h"
#include "tests/fuzz/FuzzWorkspace.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CountingInteraction ui;
  CompareInput(data, size, Workspace().PathOf("Result.SXL"), ui);
  return 0;
}

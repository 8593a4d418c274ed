// Whatever the compare accepts, its own log must read back completely: loaded, every result node
// expanded, every list row read and the text export built, without any error. The input is that
// of compare_fuzz (CompareInput.h).

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "tests/fuzz/CompareInput.h"
#include "tests/fuzz/FuzzWorkspace.h"
#include "tests/fuzz/LogReadBack.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string logFile = Workspace().PathOf("Result.SXL");
  CountingInteraction compareUi;
  if (!CompareInput(data, size, logFile, compareUi)) return 0;
  ScriptedInteraction readUi;
  try {
    ReadBackLog(logFile, readUi);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "the compare's own log does not read back: %s\n", error.what());
    std::abort();
  }
  if (!readUi.messages.empty()) {
    std::fprintf(stderr, "reading the compare's own log back told the user: %s\n", readUi.messages[0].text.c_str());
    std::abort();
  }
  return 0;
}

// Arbitrary bytes as a log file, read back as the window would read all of it (LogReadBack.h):
// our own exceptions are the answer to a damaged log; a crash, a sanitizer report, another
// exception or a timeout is a finding.

#include <cstdint>

#include "core/Errors.h"
#include "core/ScriptedInteraction.h"
#include "tests/fuzz/FuzzWorkspace.h"
#include "tests/fuzz/LogReadBack.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string logFile = Workspace().Write("Fuzz.SXL", data, size);
  ScriptedInteraction ui;
  try {
    ReadBackLog(logFile, ui);
  } catch (const Exception&) {
  }
  return 0;
}

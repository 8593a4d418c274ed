// Arbitrary bytes as a selection file. A damaged file ends in one of our own exceptions or in the
// notice that the exclude list could not be read; anything else is a finding.

#include <cstdint>

#include "core/Errors.h"
#include "core/ScriptedInteraction.h"
#include "datafiles/SelectionFile.h"
#include "tests/fuzz/FuzzWorkspace.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string fileName = Workspace().Write("Fuzz.SXS", data, size);
  TreeModel registry, drives, systemFiles;
  std::vector<std::string> excludeList;
  ScriptedInteraction ui;
  try {
    LoadSelections(fileName, registry, drives, systemFiles, excludeList, ui, {});
  } catch (const Exception&) {
  }
  return 0;
}

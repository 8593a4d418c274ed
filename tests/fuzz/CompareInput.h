#pragma once
// The compare over one fuzz input: the first byte picks the damaged side, the rest is that
// side's configuration file, the other side is a small valid one. Shared by the target that
// looks for faults of the compare and the one that reads its log back.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/ScriptedInteraction.h"
#include "tests/compare/ConfigurationBuilder.h"

// The valid side: a little of every section.
Configuration ValidConfiguration();

// Aborts on a flood of messages: the merge lost its bound.
class CountingInteraction : public ScriptedInteraction {
 public:
  MsgAnswer Ask(MsgType type, const std::string& text, MsgButtons buttons) override;
};

// Runs the compare into logFile; true when it wrote the log, false when it refused the input
// with one of our own errors. A compare that leaves the exclude list changed aborts.
bool CompareInput(const uint8_t* data, size_t size, const std::string& logFile, UserInteraction& ui);

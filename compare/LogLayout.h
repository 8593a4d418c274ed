#pragma once
// The sections of a log file as the readers of a loaded log address them: the section order
// (which is also the export mode 0, 1, 2), where each section stands, and the kind tests.

#include <cstdint>
#include <vector>

#include "compare/LogFile.h"

enum class LogSection { Registry = 0, Drives = 1, SystemFiles = 2 };

// Where a section stands in the log file: its result tree block (rewritten in place by the
// restore passes) and the first byte of its change block (record offsets count from there).
struct SectionPositions {
  int64_t treePosition = 0;
  int64_t baseOffset = 0;
  // The record offsets the result tree's nodes held when the section was written or loaded,
  // sorted: the expansion of a record that holds one of them is refused (RecordOffsets.h).
  std::vector<int32_t> nodeOffsets;
};

struct LogPositions {
  SectionPositions registry;
  SectionPositions drives;
  SectionPositions systemFiles;
};

template <typename Positions>  // LogPositions, const or not
auto& PositionsOf(Positions& positions, LogSection section) {
  switch (section) {
    case LogSection::Registry:
      return positions.registry;
    case LogSection::Drives:
      return positions.drives;
    case LogSection::SystemFiles:
      break;
  }
  return positions.systemFiles;
}

// The node kind of a state index, or the record kind without the restored bit.
inline int KindOf(int stateOrKind) { return stateOrKind & kNodeKindMask; }
inline bool IsNewOrDeleted(int kind) { return kind == kKindNew || kind == kKindDeleted; }

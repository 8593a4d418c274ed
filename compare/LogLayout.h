#pragma once
// The sections of a log file as the readers of a loaded log address them: the section order
// (which is also the export mode 0, 1, 2), the positions of a section, and the kind tests.

#include "compare/CompareConfigurations.h"
#include "compare/LogFile.h"

enum class LogSection { Registry = 0, Drives = 1, SystemFiles = 2 };

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

#pragma once
// The few process-wide values, owned by the session for the process's lifetime.

#include <string>
#include <vector>

#include "compare/LogLayout.h"
#include "restore/FileDeletion.h"

struct AppState {
  std::string exePath;
  std::string programFolder;   // folder of the exe, with a trailing backslash
  std::string currentLogFile;  // the log the result trees were last filled from
  LogPositions logPositions;   // where the current log's sections stand
  bool selectionChanged = false;
  // Without them an undo fails under HKEY_LOCAL_MACHINE and in protected folders; said at once.
  bool administratorRights = true;
  std::vector<std::string> excludeList;  // full paths of files no compare reports
  FileDeletionState deletion;            // write-protect prompt switch and backup folder of deletions
};

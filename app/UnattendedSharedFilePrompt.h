#pragma once
// The "Shared DLLs" question where no one can answer (batch mode, with or without a display).
// The setting HandleSharedDLLs decides: 1 deletes, 2 keeps, 0 deletes only a file that the log
// shows as the installation's own, both the file and its counter added by it; any other file
// may be used by another program and is kept. Each answer is written out like the answers of
// the other questions.

#include <functional>
#include <string>

#include "compare/LogLoader.h"
#include "core/UserInteraction.h"
#include "restore/SharedFilePrompt.h"

class UnattendedSharedFilePrompt : public SharedFilePrompt {
 public:
  using LineWriter = std::function<void(const std::string& line)>;

  // The log is read when a question comes, so logFileName and positions must stay current.
  UnattendedSharedFilePrompt(int handleSharedDLLs, const ResultTrees& trees, const std::string& logFileName,
                             const LogPositions& positions, UserInteraction& ui, LineWriter writeLine);

  // Never "Repeat for all subsequent files.": each file is decided on its own.
  SharedFileAnswer Ask(const SharedFileQuestion& question) override;

 private:
  bool Decide(const std::string& path, std::string& reason);

  int handleSharedDLLs_;
  ResultTrees trees_;
  const std::string& logFileName_;
  const LogPositions& positions_;
  UserInteraction& ui_;
  LineWriter writeLine_;
};

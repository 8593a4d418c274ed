#pragma once
// Whether a log shows a shared file as brought in by the installation it recorded: the file is
// a new file of the drive result tree and its usage counter a new integer value under the
// SharedDlls key of the registry result tree. Batch mode answers the "Shared DLLs" question
// with it when no one is there to ask: a file that both came and got counted with this
// installation is its own, anything else may belong to another program.

#include <string>

#include "compare/LogLoader.h"

struct SharedFileOrigin {
  bool fileAdded = false;     // a new file record (kind 9) in the file's folder node
  bool counterAdded = false;  // a new integer value named by the path under SharedDlls

  bool Installed() const { return fileAdded && counterAdded; }
};

// Looks path ("C:\APP\X.DLL", compared ignoring case) up in the result trees of logFileName.
// New and deleted folders and keys on the way are read from the change blocks as an expansion
// would read them. Nothing is found without a log file. Read errors of the log raise.
SharedFileOrigin FindSharedFileOrigin(const std::string& path, const ResultTrees& trees, const std::string& logFileName,
                                      const LogPositions& positions, UserInteraction& ui);

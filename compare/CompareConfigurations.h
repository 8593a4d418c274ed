#pragma once
// Compares two configuration data files section by section in one forward pass each, fills the
// three result trees and writes the log file. The windows' commands (and batch mode) call it;
// it asks nothing itself but tells the user of refused files through ui.

#include <cstdint>
#include <string>
#include <vector>

#include "compare/LogLayout.h"
#include "core/TreeModel.h"
#include "core/UserInteraction.h"

// Images of the system-file result tree that only the window's image list knows.
struct SystemFileImages {
  int iniFile;   // INI files (and their sections)
  int textFile;  // text files, and new or deleted INI sections
};

struct CompareTrees {
  TreeModel& registrySelection;
  TreeModel& driveSelection;
  TreeModel& systemFileSelection;
  TreeModel& registryResult;
  TreeModel& driveResult;
  TreeModel& systemFileResult;
  SystemFileImages systemFileImages;
};

// Opens oldFile, then newFile, checks their headers, then creates logFile (file errors of the
// stream). A refused header is told to the user and ends in a silent EAbort before the log is
// touched; read errors (named with the file they met) and the refusals of the later sections
// raise out of it, and the log file it created is removed. Whatever happens, excludeList is as
// it was on entry (the three file names stand on it during the file-structure compare, so that
// the compare never reports its own files) and the result trees have left update mode. After a
// failure the result trees hold what was filled until then and positions are set section by
// section: the caller clears both. It makes logFile the current log only after a normal return.
void CompareConfigurations(const std::string& oldFile, const std::string& newFile, const std::string& logFile,
                           const CompareTrees& trees, std::vector<std::string>& excludeList, LogPositions& positions,
                           UserInteraction& ui);

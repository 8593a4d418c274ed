#pragma once
// The registry file of the install-file export: a REGEDIT4 file that adds the new values and
// the new side of changed values, under a "[key]" line for each new or changed key.

#include <string>
#include <vector>

#include "restore/InstallFileText.h"

// The lines of the .REG file for the registry subtree of source. Keys and values whose names
// hold a line break are left out and added to refused.
std::vector<std::string> BuildRegFile(const InstallExportSource& source, UserInteraction& ui, RefusedItems& refused);

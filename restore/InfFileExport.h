#pragma once
// The two setup information files of the install-file export: _del.INF deletes the registry
// keys and values that the installation deleted (DelReg), _add.INF applies the changes of INI
// entries (UpdateInis). Both begin with the same [Version] and [Strings] sections.

#include <string>
#include <vector>

#include "restore/InstallFileText.h"

// The lines of the _del.INF file for the registry subtree of source. Items whose names hold a
// line break or whose root key is unknown are left out and added to refused.
std::vector<std::string> BuildDeleteInf(const InstallExportSource& source, UserInteraction& ui, RefusedItems& refused);

// The lines of the _add.INF file for the system-file subtree of source: entries of WIN.INI,
// SYSTEM.INI and user INI files; text files are not exported.
std::vector<std::string> BuildIniInf(const InstallExportSource& source, UserInteraction& ui, RefusedItems& refused);

#pragma once
// Where a system file of the selection tree lives on this machine.

#include <string>

#include "datafiles/SystemFileText.h"

// The type of the node text and the file's full path: WIN.INI and SYSTEM.INI in the Windows
// folder, AUTOEXEC.BAT and CONFIG.SYS in the folder of the required setting
// PathToSystemFiles, user files at their own path. Raises "Cannot determine file type of %s."
// for a text that fits none.
SystemFileType GetSystemFileType(const std::string& nodeText, std::string& fullPath);

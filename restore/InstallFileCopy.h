#pragma once
// The file part of the install-file export: the new files and the new side of changed files of
// a drive subtree are copied below a target folder with their folder structure (C:\APP\X.EXE
// becomes <target>C\APP\X.EXE); a new or changed folder that gets no file holds a hidden empty
// "create.dir", so that the folder exists in the copy.

#include <optional>
#include <string>

#include "restore/InstallFileText.h"
#include "restore/PlainNames.h"

// The copy folder of a drive result path ("C:\APP\") below base (ending in "\"), or nothing
// when a name in the path could lead outside base: a drive that is no letter, an empty name,
// ".", a name holding "..", a path separator, ":" or another character no file name may hold.
std::optional<std::string> CopyTargetFolder(const std::string& base, const std::string& folderPath);

// Copies for the drive subtree of source into targetFolder (ending in "\"). Items with unsafe
// names are not copied and are added to refused; the others are. A missing source file asks
// "File not found:\r<path>" (OK, Cancel); Cancel throws EAbort, which ends the export silently.
// A folder that cannot be created raises "Cannot create folder.", a failed copy "File copy
// error!"; what was copied before stays.
void CopyInstallFiles(const InstallExportSource& source, const std::string& targetFolder, UserInteraction& ui,
                      RefusedItems& refused);

#pragma once
// The install-file export: the commands "Create Install Files" of the result trees and of the
// Action menu turn the changes of the loaded log into a .REG file (new and changed values), a
// _del.INF file (deleted keys and values), an _add.INF file (INI entry changes) and a copy of
// the new and changed files. The window asks the questions before (export selection dialog,
// file name, copy folder); this runs the export and shows its messages.

#include <functional>
#include <optional>
#include <string>

#include "compare/ExportTreeWalk.h"
#include "compare/LogLoader.h"
#include "core/TreeModel.h"
#include "core/UserInteraction.h"

enum class InstallExportCommand {
  Registry,     // .REG, then _del.INF, from the registry result tree's selected node
  SystemFiles,  // _add.INF, from the system-file result tree's selected node
  Drives,       // the file copy, from the drive result tree's selected node
  All,          // all four, from the top nodes of the three trees
};

struct InstallExportRequest {
  InstallExportCommand command = InstallExportCommand::All;
  KindSet kinds = kAllKinds;  // as the export selection dialog left it
  TreeNode* start = nullptr;  // the selected node of the command's tree; All ignores it
  std::string baseName;       // the files' name without extension (not used by Drives)
  std::string copyFolder;     // Drives and All; "\" is appended when it is missing
};

// The default of the file-name input box and of the copy folder: the log's full path without
// its extension; the "All" command's file name also gets every "~" replaced by "_".
std::string DefaultInstallName(const std::string& logFileName, bool replaceTildes);

// "Use default folder? :\r<folder>" (Yes, No, Cancel): Yes takes the default, No asks browse
// (which shows the folder browser "Select folder." with the status text "Choose destination
// folder for files" and returns false when cancelled). Nothing when the user cancelled.
std::optional<std::string> ChooseCopyFolder(const std::string& defaultFolder, UserInteraction& ui,
                                            const std::function<bool(std::string&)>& browse);

// Runs the export of request over the loaded log. Each file shows its line count when saved; the
// copy ends with "All files copied." (Drives) and the whole "All" command with "Export completed
// successfully!". Items of the log whose names cannot be written safely are left out and named
// in one warning. Returns false when the user cancelled at a missing file (then nothing more is
// shown). Errors ("Cannot create folder.", "File copy error!", file and log errors) propagate;
// the files written before stay.
bool ExportInstallFiles(const ResultTrees& trees, const std::string& logFileName, const LogPositions& positions,
                        const InstallExportRequest& request, UserInteraction& ui);

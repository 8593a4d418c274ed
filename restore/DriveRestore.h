#pragma once
// RestoreDrives: undoes the changes of the drive result tree. Added folders and files are
// deleted (files through DeleteFileWithBackup, into the backup folder of this log or the
// recycle bin as the settings say); deleted folders are re-created and deleted or changed files
// copied back from the file backup tool's folder, when the user allows that and a copy is there.
// A file still registered as shared under SharedDlls is not deleted without asking, and never
// once the registry restore has put its counter back.

#include <string>
#include <vector>

#include "restore/RestoreRequest.h"

// Operation texts: "Create Folder", "Delete folder", "Delete File", "Restore Deleted File",
// "Changed, restore old file.".
void RestoreDrives(const RestoreRequest& request, RestoreEnvironment& environment);

// A counter value of the SharedDlls key that the log records.
struct SharedFileEntry {
  std::string path;       // the value name: the file's path
  bool restored = false;  // its counter record carries the restored bit
};

// The integer values of the SharedDlls key's node in the registry result tree (found by path,
// ignoring case, expanding on the way), first record per name. Empty when the tree has no
// such node.
std::vector<SharedFileEntry> LoadSharedFileList(TreeModel& registryResult, const std::string& logFileName,
                                                const LogPositions& positions);

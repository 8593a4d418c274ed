#pragma once
// What a restore driver is asked to do (RestoreRequest) and what it works with (RestoreEnvironment).
// The three drivers RestoreRegistry, RestoreDrives and RestoreSystemFiles share both, so the
// confirmation dialog and batch mode call any of them the same way.

#include <cstdint>
#include <string>
#include <vector>

#include "capture/OwnPlaces.h"
#include "compare/LogLayout.h"
#include "core/TreeModel.h"
#include "core/UserInteraction.h"
#include "restore/FileDeletion.h"
#include "restore/FilterList.h"
#include "restore/SharedFilePrompt.h"
#include "restore/ToDoItem.h"

// Restore flags; every caller starts from kRestoreDefault.
inline constexpr int kRestoreAdditions = 1;      // delete what was added
inline constexpr int kRestoreDeletions = 2;      // re-create what was deleted
inline constexpr int kRestoreModifications = 4;  // put back the old value or file
inline constexpr int kRestoreAgain = 8;          // also changes already marked as restored
inline constexpr int kRestoreDefault = kRestoreAdditions | kRestoreDeletions | kRestoreModifications;

// Every kind read from the log is AND-ed with this before it is compared. Without kRestoreAgain a
// kind that carries the restored bit equals none of the kinds a driver acts on, so it is skipped.
inline int KindMask(int flags) { return (flags & kRestoreAgain) ? 15 : 0x7FFFFFFF; }

struct RestoreRequest {
  TreeModel& tree;                           // the result tree root belongs to
  TreeNode* root = nullptr;                  // nullptr: nothing to do
  std::vector<FilterRow>* filter = nullptr;  // the list beside the tree, or none
  int flags = kRestoreDefault;
  bool executing = false;                 // false: only list what would be done
  std::vector<ToDoItem>* toDo = nullptr;  // none in batch mode; the work is the same
};

// The settings a pass obeys. The caller reads them when it starts the pass, so a change in the
// options applies to the next one.
struct RestoreSettings {
  std::string defaultText = "(default)";      // DefaultText: the name shown for an empty name
  std::string emptyText = "(value not set)";  // EmptyText
  bool backupFiles = false;                   // BackupFiles
  bool useRecycleBin = true;                  // UseRecycleBin
  std::string backupDir;                      // BackupDir
  int handleSharedDLLs = 0;                   // HandleSharedDLLs: 0 ask, 1 delete, 2 keep
  std::string dllBackupPath;                  // DLLBackupPath: the file backup tool's folder
  bool useDLLBackupRestore = true;            // UseDLLBackupRestore

  DeletionSettings Deletion() const { return {backupFiles, useRecycleBin}; }
};

struct RestoreEnvironment {
  std::string logFileName;  // the log the result trees were filled from
  LogPositions positions;   // of that log
  RestoreSettings settings;
  FileDeletionState& deletion;  // process-wide: write-protect prompt switch, backup folder
  UserInteraction& ui;
  SharedFilePrompt& sharedFilePrompt;
  // The registry result tree of the same log: the drive pass looks up the shared-file counters
  // there. nullptr leaves the shared-file list empty.
  TreeModel* registryResult = nullptr;
  // The program's own files, folders and settings: no capture records them, and should a log
  // list them all the same (an older log, a changed option), the undo still leaves them alone.
  OwnPlaces ownPlaces;
};

using RestoreDriver = void (*)(const RestoreRequest& request, RestoreEnvironment& environment);

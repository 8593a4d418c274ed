#pragma once
// DeleteFileWithBackup, the one file deletion of the program: the restore passes and the
// cleaning tools delete through it, so a write-protected file is never removed unasked and,
// with backups on, every deleted file can be taken back from the backup folder.

#include <string>

#include "core/UserInteraction.h"

// Process-wide, owned by the main window for the program's lifetime.
struct FileDeletionState {
  // Ask before deleting a write-protected file. The confirmation's Execute sets it before every
  // executing pass; the answer "All" clears it.
  bool askWriteProtected = true;
  // Ends with "\"; each caller sets it before deleting (the drive restore per log file, each
  // cleaning tool to its own folder).
  std::string backupFolder;
};

struct DeletionSettings {
  bool backupFiles = false;   // BackupFiles: move into the backup folder instead of deleting
  bool useRecycleBin = true;  // UseRecycleBin
};

// The shared backup folder of a restore pass: BackupDir with a trailing "\", then the log
// file's name without folder and extension and "\" (C:\BACKUP and D:\LOGS\SETUP1.SXL give
// C:\BACKUP\SETUP1\), so the files one log's restore deleted stay together.
std::string BackupFolderForLog(const std::string& backupDir, const std::string& logFileName);

// The backup target of a path: the backup folder followed by the path without its first ":"
// (C:\WIN\A.DLL goes to <folder>C\WIN\A.DLL).
std::string BackupTargetOf(const std::string& backupFolder, const std::string& path);

// Returns true or raises: "File not found!", "Deletion cancelled by user." (the write-protect
// question answered No), "Cannote delete file <path>." (the file is still there afterwards).
// The write-protect question is a confirmation with Yes, No and All; any answer but Yes and All
// counts as No.
bool DeleteFileWithBackup(const std::string& path, FileDeletionState& state, const DeletionSettings& settings,
                          UserInteraction& ui);

#include "restore/FileDeletion.h"

#include <windows.h>

#include "core/Errors.h"
#include "platform/PathText.h"
#include "restore/ShellFileOperations.h"

std::string BackupFolderForLog(const std::string& backupDir, const std::string& logFileName) {
  const std::string folder = WithTrailingBackslash(backupDir);
  std::string name = logFileName.substr(logFileName.find_last_of("\\/:") + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  return folder + name + "\\";
}

std::string BackupTargetOf(const std::string& backupFolder, const std::string& path) {
  std::string relative = path;
  const size_t colon = relative.find(':');
  if (colon != std::string::npos) relative.erase(colon, 1);
  return backupFolder + relative;
}

bool DeleteFileWithBackup(const std::string& path, FileDeletionState& state, const DeletionSettings& settings,
                          UserInteraction& ui) {
  if (!FileOrFolderExists(path)) throw Exception("File not found!");

  const std::string access = AccessPath(path);
  const DWORD attributes = GetFileAttributesA(access.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    if (state.askWriteProtected) {
      const MsgAnswer answer =
          ui.Ask(MsgType::Confirmation, "File: " + path + "\ris write protected, delete anyway?", MsgButtons::YesNoAll);
      if (answer == MsgAnswer::All)
        state.askWriteProtected = false;
      else if (answer != MsgAnswer::Yes)
        throw Exception("Deletion cancelled by user.");
    }
    SetFileAttributesA(access.c_str(), FILE_ATTRIBUTE_ARCHIVE);
  }

  // What the shell reports is not trusted: whether the file is gone is what counts.
  if (settings.backupFiles)
    ShellMove(path, BackupTargetOf(state.backupFolder, path), settings.useRecycleBin);
  else
    ShellDelete(path, settings.useRecycleBin);

  if (FileOrFolderExists(path)) {
    // A file that stays keeps its write protection.
    if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(access.c_str(), attributes);
    throw Exception(FormatText("Cannote delete file %s.", path));
  }
  return true;
}

#include "restore/DriveRestore.h"

#include <windows.h>

#include "compare/ChangeBlockReader.h"
#include "compare/ResultRecords.h"
#include "core/CheckStates.h"
#include "core/Errors.h"
#include "core/Formatting.h"
#include "platform/PathText.h"
#include "restore/OverwriteQuestion.h"
#include "restore/PlainNames.h"
#include "restore/RegistryRestore.h"
#include "restore/RestorePass.h"
#include "restore/ShellFileOperations.h"

namespace {

constexpr int kDriveLevel = 1;
// The per-folder state of the file backup folder.
constexpr int kBackupUnknown = 0;
constexpr int kBackupThere = 6;
constexpr int kBackupMissing = 7;
// Remembered answers of a pass.
constexpr int kNoAnswer = 0;
constexpr int kAnswerDelete = 1;
constexpr int kAnswerKeep = 2;

constexpr char kFolderDeletionError[] = "Error: Folder not found or deletion error.";
constexpr char kOwnFile[] = "This is a file of Quorvel itself; an undo never deletes it.";

std::string WithoutFirstColon(std::string path) {
  const size_t colon = path.find(':');
  if (colon != std::string::npos) path.erase(colon, 1);
  return path;
}

std::string FileDisplayText(uint32_t time, uint32_t size, uint32_t attributes) {
  return FormatThousands(size, ThousandsSeparator()) + " Bytes, " + FormatDosDateTime(time) +
         ", Attr: " + FormatAttributes(attributes);
}

class DriveRestore {
 public:
  DriveRestore(RestorePass& pass, std::vector<SharedFileEntry> sharedFiles)
      : pass_(pass),
        environment_(pass.Environment()),
        settings_(environment_.settings),
        fileBackup_(WithTrailingBackslash(settings_.dllBackupPath)),
        sharedFiles_(std::move(sharedFiles)) {}

  void Folder(TreeNode& node) {
    const size_t failuresBefore = pass_.Failures();
    const size_t unfinishedBefore = pass_.Unfinished();
    const std::string full = DriveFolderPath(node);
    const std::string relative = WithoutFirstColon(full);
    std::string unplainName;
    // A path that is no plain path has no backup copy either, and is never looked up.
    int backupState = FindUnplainName(full, unplainName) ? kBackupMissing : kBackupUnknown;

    if (pass_.NodeKind(node) == kKindDeleted && pass_.Flag(kRestoreDeletions) && !pass_.Filtered() &&
        settings_.useDLLBackupRestore) {
      if (backupState == kBackupUnknown)
        backupState = IsExistingFolder(fileBackup_ + relative) ? kBackupThere : kBackupMissing;
      if (backupState == kBackupThere) {
        const bool done = pass_.RunItem({"Create Folder", full, "", "", ""}, [&] {
          if (!CreateFolderWithParents(full)) throw Exception(FormatText("Cannot create folder %s.", full));
          return std::string(kStatusDone);
        });
        if (done && pass_.Executing()) pass_.MarkRestored(node);
      }
    }

    if (!pass_.Filtered())
      for (size_t i = 0; i < node.Count(); ++i) Folder(*node.Child(i));

    if (node.Data() != 0) {
      const int32_t count = pass_.SeekRecords(node);
      for (int32_t i = 0; i < count; ++i) File(full, relative, backupState);
    }

    // A new drive is never emptied: only folders below a drive are deleted.
    if (pass_.NodeKind(node) == kKindNew && pass_.Flag(kRestoreAdditions) && !pass_.Filtered() &&
        node.Level() > kDriveLevel) {
      bool deleted = false;
      pass_.RunItem({"Delete folder", full, "", "", ""},
                    [&] { return DeleteNewFolder(full, failuresBefore, deleted); });
      if (deleted) pass_.MarkRestored(node);
    }

    pass_.MarkVisited(node, unfinishedBefore);
  }

 private:
  void File(const std::string& full, const std::string& relative, int& backupState) {
    TReader& reader = pass_.Reader();
    const RestorePass::Record record = pass_.ReadKind(reader.ReadString());
    const auto time = static_cast<uint32_t>(reader.ReadInteger());
    const auto size = static_cast<uint32_t>(reader.ReadInteger());
    const auto attributes = static_cast<uint32_t>(reader.ReadInteger());

    const char* operation = nullptr;
    const bool fromBackup = (record.kind == kRecordDeleted && pass_.Flag(kRestoreDeletions)) ||
                            (record.kind == kRecordOldSide && pass_.Flag(kRestoreModifications));
    if (fromBackup && settings_.useDLLBackupRestore && IsUndoableName(record.name)) {
      if (backupState == kBackupUnknown)
        backupState = IsExistingFolder(fileBackup_ + relative) ? kBackupThere : kBackupMissing;
      if (backupState == kBackupThere && IsExistingFile(fileBackup_ + relative + record.name))
        operation = record.kind == kRecordDeleted ? "Restore Deleted File" : "Changed, restore old file.";
    }
    if (record.kind == kRecordNew && pass_.Flag(kRestoreAdditions)) operation = "Delete File";

    RestorePass::Outcome outcome = RestorePass::Outcome::None;
    if (record.passes && operation) {
      outcome = pass_.RunRecordItem({operation, full, record.name, FileDisplayText(time, size, attributes), ""}, [&] {
        RequireUndoablePath(full, record.name);
        if (record.kind == kRecordNew)
          DeleteAddedFile(full + record.name);
        else
          CopyFromBackup(fileBackup_ + relative + record.name, full + record.name);
        return std::string(kStatusDone);
      });
    }
    pass_.RecordDone(record, outcome);
  }

  // Deletes what the log lists and nothing else: the listed files and subfolders are gone by now
  // (or were kept, and then so is the folder). Whatever is left was never part of the
  // installation, a document saved there later: it goes only where deleted files are kept.
  std::string DeleteNewFolder(const std::string& full, size_t failuresBefore, bool& deleted) {
    RequireUndoablePath(full);
    if (environment_.ownPlaces.HoldsAnythingIn(full)) throw Exception("Folder kept: it holds files of Quorvel itself.");
    if (!IsExistingFolder(full)) return kFolderDeletionError;
    const size_t left = CountFolderEntries(full);
    if (left > 0) {
      if (pass_.Failures() != failuresBefore)
        throw Exception("Folder kept: it still holds files that were not deleted.");
      KeepLeftovers(full, left);
    } else {
      RemoveEmptyFolder(full);
    }
    deleted = !IsExistingFolder(full);
    return deleted ? kStatusDone : kFolderDeletionError;
  }

  void KeepLeftovers(const std::string& full, size_t left) {
    const std::string what = std::to_string(left) + (left == 1 ? " file or folder" : " files or folders");
    if (settings_.backupFiles) {
      // Moved as the folder itself, to a place that does not exist yet, so it is not moved into one.
      const std::string target = WithoutTrailingBackslashes(BackupTargetOf(environment_.deletion.backupFolder, full));
      if (FileOrFolderExists(target) || !ShellMove(WithoutTrailingBackslashes(full), target, false))
        throw Exception("Folder kept: it holds " + what +
                        " that the log does not list, and they could not be "
                        "moved to the backup folder " +
                        target + ".");
    } else if (settings_.useRecycleBin && RecycleBinKeeps(full)) {
      if (!ShellDelete(full, true))
        throw Exception("Folder kept: it holds " + what +
                        " that the log does not list, and the recycle bin did "
                        "not take them.");
    } else {
      throw Exception("Folder kept: it holds " + what +
                      " that the log does not list. Turn on backups in the "
                      "options to have them moved to the backup folder.");
    }
  }

  void CopyFromBackup(const std::string& source, const std::string& target) {
    const bool copy = !FileOrFolderExists(target) || overwrite_.Allows(target, source, target);
    if (copy && !ShellCopy(source, target)) throw Exception("Cannot copy file!");
  }

  void DeleteAddedFile(const std::string& path) {
    if (environment_.ownPlaces.HoldsFile(path)) throw Exception(kOwnFile);
    if (!FileOrFolderExists(path)) throw Exception("File not found!");
    const SharedFileEntry* shared = nullptr;
    for (const SharedFileEntry& entry : sharedFiles_)
      if (_stricmp(entry.path.c_str(), path.c_str()) == 0) shared = &entry;
    if (shared) {
      if (shared->restored) throw Exception("Shared file, not deleted (registry counter reset).");
      int answer = sharedFileAnswer_;
      if (answer == kNoAnswer) {
        const SharedFileAnswer asked = environment_.sharedFilePrompt.Ask({SharedFileCase::StillRegistered, path});
        answer = asked.deleteFile ? kAnswerDelete : kAnswerKeep;
        if (asked.repeatForAll) sharedFileAnswer_ = answer;
      }
      if (answer != kAnswerDelete) throw Exception("Shared file, not deleted.");
    }
    DeleteFileWithBackup(path, environment_.deletion, settings_.Deletion(), environment_.ui);
  }

  RestorePass& pass_;
  RestoreEnvironment& environment_;
  const RestoreSettings& settings_;
  std::string fileBackup_;  // the file backup tool's folder, "\" at the end unless empty
  std::vector<SharedFileEntry> sharedFiles_;
  OverwriteQuestion overwrite_{environment_.ui};
  int sharedFileAnswer_ = kNoAnswer;
};

}  // namespace

std::vector<SharedFileEntry> LoadSharedFileList(TreeModel& registryResult, const std::string& logFileName,
                                                const LogPositions& positions) {
  std::vector<SharedFileEntry> list;
  const TreeNode* node = FindTreeNodeByPath(kSharedDllsKeyPath, registryResult, false);
  if (!node || node->Data() == 0) return list;
  ChangeBlockReader block(logFileName, positions, LogSection::Registry);
  block.Seek(node->Data());
  if (IsNewOrDeleted(KindOf(node->StateIndex()))) block.SkipSubList();
  TReader& reader = block.Reader();
  for (int32_t i = block.ReadCount(); i > 0; --i) {
    std::string name = reader.ReadString();
    const int kind = reader.ReadInteger();
    const int code = reader.ReadInteger();
    if (code != kRdInteger) {
      block.SkipRegistryData(code);
      continue;
    }
    reader.ReadInteger();
    bool known = false;
    for (const SharedFileEntry& entry : list) known = known || _stricmp(entry.path.c_str(), name.c_str()) == 0;
    if (!known) list.push_back({std::move(name), (kind & kRestoredBit) != 0});
  }
  return list;
}

void RestoreDrives(const RestoreRequest& request, RestoreEnvironment& environment) {
  if (!request.root) return;
  std::vector<SharedFileEntry> sharedFiles;
  if (environment.registryResult)
    sharedFiles = LoadSharedFileList(*environment.registryResult, environment.logFileName, environment.positions);
  environment.deletion.backupFolder = BackupFolderForLog(environment.settings.backupDir, environment.logFileName);
  RestorePass pass(request, environment, LogSection::Drives);
  DriveRestore(pass, std::move(sharedFiles)).Folder(*request.root);
  pass.Finish();
}

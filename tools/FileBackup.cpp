#include "tools/FileBackup.h"

#include <windows.h>

#include <cstring>

#include "core/Errors.h"
#include "platform/Handle.h"
#include "platform/PathText.h"
#include "restore/ShellFileOperations.h"
#include "tools/FileMask.h"
#include "tools/FolderEntries.h"

namespace {

// Counters are repainted (and messages let run) every this many files.
constexpr uint64_t kFilesPerRefresh = 10;

bool FindFile(const std::string& path, WIN32_FIND_DATAA& data) {
  return static_cast<bool>(UniqueFind(FindFirstFileA(AccessPath(path).c_str(), &data)));
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\') + 1); }

}  // namespace

std::string MirrorPath(const std::string& backupRoot, const std::string& source) {
  std::string relative = source;
  const size_t colon = relative.find(':');
  if (colon != std::string::npos) relative.erase(colon, 1);
  return backupRoot + relative;
}

CopyState CompareWithCopy(const std::string& source, const std::string& copy) {
  WIN32_FIND_DATAA one, other;
  if (!FindFile(source, one) || !FindFile(copy, other)) return CopyState::Missing;
  const bool sameTime = one.ftLastWriteTime.dwLowDateTime == other.ftLastWriteTime.dwLowDateTime &&
                        one.ftLastWriteTime.dwHighDateTime == other.ftLastWriteTime.dwHighDateTime;
  if (!sameTime) return CopyState::TimeDiffers;
  const bool sameSize = one.nFileSizeLow == other.nFileSizeLow && one.nFileSizeHigh == other.nFileSizeHigh;
  return sameSize ? CopyState::Identical : CopyState::SizeDiffers;
}

bool FileBackup::Run(const std::vector<SearchDefinition>& definitions, const std::string& backupRoot,
                     const std::function<void(size_t)>& onDefinition) {
  abort_ = false;
  overwrite_.Forget();
  backupRoot_ = WithTrailingBackslash(backupRoot);
  if (definitions.empty()) {
    ui_.Tell(MsgType::Error, "Please select folders first!");
    return false;
  }
  running_ = true;
  counters_ = {};
  found_.assign(definitions.size(), 0);
  {
    WaitCursor wait(ui_);
    for (size_t i = 0; i < definitions.size(); ++i) {
      const SearchDefinition& definition = definitions[i];
      if (onDefinition) onDefinition(i);
      // Cleared before the messages run, so a Cancel clicked as the row begins ends this row.
      abort_ = false;
      progress_.ProcessMessages();
      try {
        Walk(WithTrailingBackslash(definition.folder), FileMask(definition.mask), definition.recurse, found_[i]);
      } catch (...) {
        progress_.ReportError(std::current_exception());
      }
    }
  }
  running_ = false;
  progress_.ProcessMessages();
  progress_.ShowCounters(counters_);
  progress_.SetStatus("Bacup completed successfully.");
  return true;
}

void FileBackup::Walk(const std::string& folder, const FileMask& mask, bool recurse, uint64_t& found) {
  ++counters_.folders;
  progress_.SetStatus("Search in:" + folder);
  progress_.ShowCounters(counters_);
  progress_.ProcessMessages();
  if (abort_) RaiseAbort();

  // Names first, files copied after the listing has closed its find handle: a copy into the
  // folder being walked would otherwise be met again.
  std::string files, subfolders;
  ForEachMatchingFile(
      folder, mask,
      [&](const FolderEntry& entry) {
        files.append(entry.name);
        files.push_back('\0');
      },
      recurse ? &subfolders : nullptr);
  for (size_t at = 0; at < files.size();) {
    const std::string name = files.c_str() + at;
    at += name.size() + 1;
    BackUpFile(folder + name);
    ++found;
    if (++counters_.files % kFilesPerRefresh == 0) {
      progress_.ShowCounters(counters_);
      progress_.ProcessMessages();
    }
  }
  for (size_t at = 0; at < subfolders.size();) {
    const std::string name = subfolders.c_str() + at;
    at += name.size() + 1;
    const std::string subfolder = folder + name + "\\";
    // The backup tree itself is never backed up: each run would nest a copy one level deeper.
    if (_stricmp(subfolder.c_str(), backupRoot_.c_str()) == 0) continue;
    Walk(subfolder, mask, recurse, found);
  }
}

void FileBackup::BackUpFile(const std::string& source) {
  const std::string target = MirrorPath(backupRoot_, source);
  try {
    if (CompareWithCopy(source, target) == CopyState::Identical) return;
    if (FileOrFolderExists(target) && !overwrite_.Allows(source, source, target)) return;
    const std::string folder = FolderOf(target);
    if (!CreateFolderWithParents(folder)) throw Exception(FormatText("Cannot create folder %s.", folder));
    if (!ShellCopyWhole(source, target)) throw Exception("Cannot copy file!");
  } catch (const EMyAbort&) {
    throw;
  } catch (...) {
    const std::string message = DescribeError(std::current_exception()).message;
    if (ui_.Ask(MsgType::Error, "Error copying:\rFile: " + source + "\rError:" + message, MsgButtons::OkCancel) ==
        MsgAnswer::Cancel)
      RaiseAbort();
  }
}

// The drives section: every checked drive walked whole, depth-first, folders and files sorted.
// Everything recorded of a file comes from its directory entry: one enumeration per folder.

#include <cstring>
#include <deque>
#include <string_view>

#include "capture/LocaleSort.h"
#include "capture/SectionCaptures.h"
#include "core/CheckStates.h"
#include "datafiles/ConfigurationFile.h"

namespace {

// Owns a find handle of FindFirstFileA.
class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (*this) FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;

  HANDLE Get() const { return handle_; }
  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// Turns directory-entry times into packed local times. The platform converts a file time with the
// bias in force now, not the one of the file's date, so the bias is taken once per folder and added
// to each time: the same result as a conversion call per file, at a fraction of its cost on a large
// folder.
class LocalTimePacker {
 public:
  void TakeBias() {
    FILETIME now, local;
    GetSystemTimeAsFileTime(&now);
    biasTicks_ = FileTimeToLocalFileTime(&now, &local) ? Ticks(local) - Ticks(now) : 0;
  }

  // 0 for a time the packed form cannot hold.
  int32_t Pack(const FILETIME& written) const {
    // Unsigned, so that a time near either end wraps as the platform's own addition does.
    uint64_t ticks = static_cast<uint64_t>(Ticks(written)) + static_cast<uint64_t>(biasTicks_);
    FILETIME local{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    WORD date = 0, time = 0;
    if (!FileTimeToDosDateTime(&local, &date, &time)) return 0;
    return static_cast<int32_t>((static_cast<uint32_t>(date) << 16) | time);
  }

 private:
  static int64_t Ticks(const FILETIME& time) {
    return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
  }

  int64_t biasTicks_ = 0;
};

struct FolderEntry {
  uint32_t nameOffset;  // in the level's names, zero-terminated there
  uint32_t nameLength;
  int32_t time;  // packed MS-DOS date (high word) and time (low word), local time
  int32_t size;  // low 32 bits
  int32_t attributes;
};

// The entries of the folder being written at one depth. A walk keeps one per depth and reuses
// it for the next folder there, so a folder costs no allocation once the buffers are large
// enough.
struct FolderLevel {
  std::string names;
  std::vector<FolderEntry> folders;
  std::vector<FolderEntry> files;
  std::vector<uint32_t> folderOrder;

  std::string_view Name(const FolderEntry& entry) const {
    return std::string_view(names.data() + entry.nameOffset, entry.nameLength);
  }
};

class FolderWalk {
 public:
  FolderWalk(TWriter& writer, CaptureHost& host) : writer_(writer), host_(host) {}

  // path ends with a backslash; it is extended while the walk goes down and restored after.
  void WriteFolder(std::string& path);

 private:
  void ReadEntries(const std::string& pattern, FolderLevel& level);

  TWriter& writer_;
  CaptureHost& host_;
  size_t depth_ = 0;
  std::deque<FolderLevel> levels_;  // by depth; a deque keeps them in place while it grows
  LocaleSorter sorter_;
  LocalTimePacker times_;
  WIN32_FIND_DATAA entry_;
};

// A folder that cannot be enumerated has no folders and no files.
void FolderWalk::ReadEntries(const std::string& pattern, FolderLevel& level) {
  level.names.clear();
  level.folders.clear();
  level.files.clear();
  FindHandle find(FindFirstFileA(pattern.c_str(), &entry_));
  if (!find) return;
  times_.TakeBias();
  do {
    bool folder = entry_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    // Leaves out "." and ".." and every other folder whose name begins with a dot.
    if (folder && entry_.cFileName[0] == '.') continue;
    size_t length = std::strlen(entry_.cFileName);
    FolderEntry entry{static_cast<uint32_t>(level.names.size()), static_cast<uint32_t>(length), 0, 0, 0};
    level.names.append(entry_.cFileName, length + 1);
    if (folder) {
      level.folders.push_back(entry);
    } else {
      entry.time = times_.Pack(entry_.ftLastWriteTime);
      entry.size = static_cast<int32_t>(entry_.nFileSizeLow);
      entry.attributes = static_cast<int32_t>(entry_.dwFileAttributes);
      level.files.push_back(entry);
    }
  } while (FindNextFileA(find.Get(), &entry_));
}

void FolderWalk::WriteFolder(std::string& path) {
  if (levels_.size() <= depth_) levels_.emplace_back();
  FolderLevel& level = levels_[depth_++];
  const size_t pathLength = path.size();
  path += "*.*";
  ReadEntries(path, level);
  path.resize(pathLength);

  level.folderOrder = sorter_.Order(level.folders.size(), [&](size_t i) { return level.Name(level.folders[i]); });
  writer_.WriteInteger(static_cast<int32_t>(level.folders.size()));
  if (depth_ == 1) {
    host_.progress.max = static_cast<int>(level.folders.size());
    host_.ShowProgress();
  }
  for (size_t i = 0; i < level.folderOrder.size(); ++i) {
    if (depth_ == 1) {
      host_.progress.position = static_cast<int>(i + 1);
      host_.ShowProgress();
    }
    std::string_view name = level.Name(level.folders[level.folderOrder[i]]);
    writer_.WriteString(name);
    path += name;
    path += '\\';
    WriteFolder(path);
    path.resize(pathLength);
  }

  // Sorted only now: the walk below this folder has used the sorter meanwhile.
  writer_.WriteInteger(static_cast<int32_t>(level.files.size()));
  for (uint32_t i : sorter_.Order(level.files.size(), [&](size_t f) { return level.Name(level.files[f]); })) {
    const FolderEntry& file = level.files[i];
    writer_.WriteString(level.Name(file));
    writer_.WriteInteger(kRecordCaptured);
    writer_.WriteInteger(file.time);
    writer_.WriteInteger(file.size);
    writer_.WriteInteger(file.attributes);
  }
  --depth_;
}

}  // namespace

void WriteFolderRecord(TWriter& writer, CaptureHost& host, const std::string& folder) {
  FolderWalk walk(writer, host);
  std::string path = folder;
  walk.WriteFolder(path);
}

void CaptureDrivesSection(TWriter& writer, const TreeModel& driveTree, CaptureHost& host) {
  writer.WriteString(kDrivesHeader);
  writer.WriteListBegin();
  for (const TopChild& drive : ReadTopChildren(driveTree, host)) {
    if (drive.stateIndex == kStateUnchecked) continue;
    host.progress.max = 0;
    host.progress.status = " File structure - drive: " + drive.text;
    host.ShowProgress();
    writer.WriteString(drive.text);
    writer.WriteInteger(drive.imageIndex);
    // The node text begins with the drive letter.
    WriteFolderRecord(writer, host, drive.text.substr(0, 1) + ":\\");
  }
  host.progress.status = " Status";
  host.progress.position = 0;
  host.ShowProgress();
  writer.WriteListEnd();
}

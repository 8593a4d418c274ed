// The drives section: every checked drive walked whole, depth-first, folders and files sorted.
// Everything recorded of a file comes from its directory entry: one enumeration per folder.

#include <cstring>
#include <deque>
#include <string_view>

#include "capture/LocaleSort.h"
#include "capture/OwnPlaces.h"
#include "capture/SectionCaptures.h"
#include "core/CheckStates.h"
#include "datafiles/ConfigurationFile.h"
#include "datafiles/RecordKinds.h"
#include "platform/Handle.h"
#include "platform/PathText.h"

namespace {

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
  uint32_t shortOffset;  // a folder's short name, after its name; length 0 when it has none
  uint32_t shortLength;
};

// Where a folder's subfolder records go while they are written. A folder's record begins with
// the number of its subfolders, and only walking a subfolder tells whether it can be read, so
// the records are collected per level and copied behind the count once it is known. Copying costs
// a memcpy per level above a byte; an extra enumeration per folder would cost far more.
class LevelBuffer : public TStream {
 public:
  size_t Read(void*, size_t) override { return 0; }
  void Write(const void* buffer, size_t count) override {
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    bytes_.insert(bytes_.end(), bytes, bytes + count);
  }
  int64_t Position() const override { return static_cast<int64_t>(bytes_.size()); }
  void SetPosition(int64_t) override {}
  int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }

  const uint8_t* Data() const { return bytes_.data(); }
  // Keeps a small allocation for the next folder at this depth; gives a large one back, so that
  // a deep chain above a large subtree does not hold a copy of it at every depth.
  void Clear() {
    if (bytes_.capacity() > kKeptCapacity)
      std::vector<uint8_t>().swap(bytes_);
    else
      bytes_.clear();
  }

 private:
  static constexpr size_t kKeptCapacity = 1 << 20;
  std::vector<uint8_t> bytes_;
};

constexpr size_t kLevelWriterBuffer = 4096;
// The longest folder path FindFirstFileA enumerates: with "*.*" it must stay below MAX_PATH.
constexpr size_t kMaxEnumeratedFolder = MAX_PATH - 1 - 3;

// The entries of the folder being written at one depth. A walk keeps one per depth and reuses
// it for the next folder there, so a folder costs no allocation once the buffers are large
// enough.
struct FolderLevel {
  std::string names;
  std::vector<FolderEntry> folders;
  std::vector<FolderEntry> files;
  std::vector<uint32_t> folderOrder;
  std::vector<std::string_view> ownFolders;  // names of own subfolders here
  std::vector<std::string_view> ownFiles;    // own file names and patterns here
  std::string shortAccess;                   // the folder's short path, made when a child needs it
  int32_t folderCount = 0;                   // subfolder records in out
  LevelBuffer out;
  TWriter writer{out, kLevelWriterBuffer};

  std::string_view Name(const FolderEntry& entry) const {
    return std::string_view(names.data() + entry.nameOffset, entry.nameLength);
  }
  std::string_view ShortName(const FolderEntry& entry) const {
    return std::string_view(names.data() + entry.shortOffset, entry.shortLength);
  }
  // Moves the level's record after its count into writer and empties the level.
  void MoveTo(TWriter& target) {
    writer.FlushBuffer();
    target.Write(out.Data(), static_cast<size_t>(out.Size()));
    out.Clear();
  }
};

class FolderWalk {
 public:
  FolderWalk(TWriter& writer, CaptureHost& host) : writer_(writer), host_(host) {}

  // The record of folder (ending with a backslash) into the walk's writer.
  void WriteRoot(const std::string& folder);

 private:
  // Walks the folder at path, enumerated through access (both end with a backslash and are
  // extended while the walk goes down, then restored): its subfolder records, file count and
  // file records go to its level. False when it cannot be enumerated; nothing is written then.
  bool WalkFolder(std::string& path, std::string& access);
  bool ReadEntries(const std::string& path, const std::string& pattern, FolderLevel& level);
  // Extends access by the subfolder's name, or its short name, or the short path of the whole
  // so that FindFirstFileA takes it; false when even that is too long.
  bool ExtendAccess(std::string& access, FolderLevel& level, const FolderEntry& entry);
  bool IsOwnFolder(const FolderLevel& level, std::string_view name) const;
  bool IsOwnFile(const FolderLevel& level, std::string_view name) const;

  TWriter& writer_;
  CaptureHost& host_;
  size_t depth_ = 0;
  std::deque<FolderLevel> levels_;  // by depth; a deque keeps them in place while it grows
  LocaleSorter sorter_;
  LocalTimePacker times_;
  WIN32_FIND_DATAA entry_;
};

bool FolderWalk::IsOwnFolder(const FolderLevel& level, std::string_view name) const {
  for (std::string_view own : level.ownFolders)
    if (SamePathText(own, name)) return true;
  return false;
}

bool FolderWalk::IsOwnFile(const FolderLevel& level, std::string_view name) const {
  for (std::string_view own : level.ownFiles)
    if (OwnPlaces::MatchesFileName(own, name)) return true;
  return false;
}

bool FolderWalk::ReadEntries(const std::string& path, const std::string& pattern, FolderLevel& level) {
  level.names.clear();
  level.folders.clear();
  level.files.clear();
  if (host_.ownPlaces) {
    host_.ownPlaces->OwnSubfolders(path, level.ownFolders);
    host_.ownPlaces->OwnFileNames(path, level.ownFiles);
  } else {
    level.ownFolders.clear();
    level.ownFiles.clear();
  }
  UniqueFind find(FindFirstFileA(pattern.c_str(), &entry_));
  if (!find) {
    // A drive root without any entry has nothing to match; that is an empty folder.
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES;
  }
  times_.TakeBias();
  do {
    bool folder = entry_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    // Leaves out "." and ".." and every other folder whose name begins with a dot.
    if (folder && entry_.cFileName[0] == '.') continue;
    const char* name = entry_.cFileName;
    size_t length = std::strlen(name);
    // "?" stands for a character the code page cannot spell (a real name holds none): such a
    // name is no path. The short name is, so it is what the record holds; without one the
    // entry cannot be told apart and is left out.
    if (std::memchr(name, '?', length)) {
      if (entry_.cAlternateFileName[0] == '\0') {
        host_.unreadable.Add(path + std::string(name, length) + (folder ? "\\" : ""));
        continue;
      }
      name = entry_.cAlternateFileName;
      length = std::strlen(name);
    }
    if (folder ? !level.ownFolders.empty() && IsOwnFolder(level, std::string_view(name, length))
               : !level.ownFiles.empty() && IsOwnFile(level, std::string_view(name, length)))
      continue;
    FolderEntry entry{static_cast<uint32_t>(level.names.size()), static_cast<uint32_t>(length), 0, 0, 0, 0, 0};
    level.names.append(name, length + 1);
    if (folder) {
      entry.shortOffset = static_cast<uint32_t>(level.names.size());
      entry.shortLength = static_cast<uint32_t>(std::strlen(entry_.cAlternateFileName));
      level.names.append(entry_.cAlternateFileName, entry.shortLength + 1);
      level.folders.push_back(entry);
    } else {
      entry.time = times_.Pack(entry_.ftLastWriteTime);
      entry.size = static_cast<int32_t>(entry_.nFileSizeLow);
      entry.attributes = static_cast<int32_t>(entry_.dwFileAttributes);
      level.files.push_back(entry);
    }
  } while (FindNextFileA(find.Get(), &entry_));
  return true;
}

bool FolderWalk::ExtendAccess(std::string& access, FolderLevel& level, const FolderEntry& entry) {
  const size_t accessLength = access.size();
  std::string_view name = level.Name(entry);
  if (accessLength + name.size() + 1 <= kMaxEnumeratedFolder) {
    access += name;
    access += '\\';
    return true;
  }
  // A name without a short name is short already.
  std::string_view shortName = entry.shortLength ? level.ShortName(entry) : name;
  if (accessLength + shortName.size() + 1 > kMaxEnumeratedFolder) {
    // The folders above may have long names that fitted so far: take the short path of all.
    if (level.shortAccess.empty()) {
      char buffer[MAX_PATH];
      DWORD length = GetShortPathNameA(access.c_str(), buffer, MAX_PATH);
      level.shortAccess = WithTrailingBackslash(length > 0 && length < MAX_PATH ? std::string(buffer, length) : access);
    }
    if (level.shortAccess.size() + shortName.size() + 1 > kMaxEnumeratedFolder) return false;
    access = level.shortAccess;
  }
  access += shortName;
  access += '\\';
  return true;
}

bool FolderWalk::WalkFolder(std::string& path, std::string& access) {
  if (levels_.size() <= depth_) levels_.emplace_back();
  FolderLevel& level = levels_[depth_++];
  struct Up {
    size_t& depth;
    ~Up() { --depth; }
  } up{depth_};
  const size_t pathLength = path.size();
  const size_t accessLength = access.size();
  access += "*.*";
  const bool readable = ReadEntries(path, access, level);
  access.resize(accessLength);

  level.folderOrder = sorter_.Order(level.folders.size(), [&](size_t i) { return level.Name(level.folders[i]); });
  if (depth_ == 1) {
    host_.progress.max = static_cast<int>(level.folders.size());
    host_.ShowProgress();
  }
  if (!readable) return false;
  level.shortAccess.clear();
  level.folderCount = 0;
  for (size_t i = 0; i < level.folderOrder.size(); ++i) {
    if (depth_ == 1) {
      host_.progress.position = static_cast<int>(i + 1);
      host_.ShowProgress();
    }
    const FolderEntry& entry = level.folders[level.folderOrder[i]];
    std::string_view name = level.Name(entry);
    path += name;
    path += '\\';
    if (ExtendAccess(access, level, entry) && WalkFolder(path, access)) {
      level.writer.WriteString(name);
      FolderLevel& child = levels_[depth_];
      level.writer.WriteInteger(child.folderCount);
      child.MoveTo(level.writer);
      ++level.folderCount;
    } else {
      host_.unreadable.Add(path);
    }
    path.resize(pathLength);
    access.resize(accessLength);
  }

  // Sorted only now: the walk below this folder has used the sorter meanwhile.
  level.writer.WriteInteger(static_cast<int32_t>(level.files.size()));
  for (uint32_t i : sorter_.Order(level.files.size(), [&](size_t f) { return level.Name(level.files[f]); })) {
    const FolderEntry& file = level.files[i];
    level.writer.WriteString(level.Name(file));
    level.writer.WriteInteger(kRecordCaptured);
    level.writer.WriteInteger(file.time);
    level.writer.WriteInteger(file.size);
    level.writer.WriteInteger(file.attributes);
  }
  return true;
}

void FolderWalk::WriteRoot(const std::string& folder) {
  std::string path = folder;
  std::string access = folder;
  if (path.size() <= kMaxEnumeratedFolder && WalkFolder(path, access)) {
    writer_.WriteInteger(levels_[0].folderCount);
    levels_[0].MoveTo(writer_);
  } else {
    // The record must stand: an empty folder, reported.
    writer_.WriteInteger(0);
    writer_.WriteInteger(0);
    host_.unreadable.Add(folder);
  }
}

}  // namespace

void WriteFolderRecord(TWriter& writer, CaptureHost& host, const std::string& folder) {
  FolderWalk walk(writer, host);
  walk.WriteRoot(folder);
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

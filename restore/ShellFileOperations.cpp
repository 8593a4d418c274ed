#include "restore/ShellFileOperations.h"

#include <windows.h>
// shellapi.h needs the declarations of windows.h first.
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "core/Formatting.h"
#include "platform/FileVersion.h"
#include "platform/Handle.h"
#include "platform/NativeView.h"
#include "platform/PathText.h"
#include "restore/PlainNames.h"

namespace {

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// GetFullPathName semantics; empty when the result does not fit the shell's buffer.
std::string FullShellPath(const std::string& path) {
  char buffer[MAX_PATH + 1];
  const DWORD length = GetFullPathNameA(AccessPath(path).c_str(), sizeof buffer, buffer, nullptr);
  if (length == 0 || length > kMostShellPathLength) return "";
  return std::string(buffer, length);
}

bool FindData(const std::string& path, WIN32_FIND_DATAA& data) {
  if (path.empty()) return false;
  return static_cast<bool>(UniqueFind(FindFirstFileA(AccessPath(path).c_str(), &data)));
}

bool RunShell(UINT function, const std::string& from, const std::string& to, FILEOP_FLAGS flags) {
  const std::string fullFrom = FullShellPath(from);
  if (fullFrom.empty()) return false;
  std::string fullTo;
  if (function != FO_DELETE) {
    fullTo = FullShellPath(to);
    if (fullTo.empty()) return false;
  }
  // Each path double-zero terminated in a buffer of its own.
  char fromBuffer[kMostShellPathLength + 2] = {};
  char toBuffer[kMostShellPathLength + 2] = {};
  fullFrom.copy(fromBuffer, fullFrom.size());
  fullTo.copy(toBuffer, fullTo.size());
  SHFILEOPSTRUCTA operation{};
  operation.hwnd = nullptr;
  operation.wFunc = function;
  operation.pFrom = fromBuffer;
  operation.pTo = function == FO_DELETE ? nullptr : toBuffer;
  operation.fFlags = flags;
  return SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted;
}

FILEOP_FLAGS QuietFlags(bool useRecycleBin) {
  return FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI | (useRecycleBin ? FOF_ALLOWUNDO : 0);
}

std::string FolderOf(const std::string& filePath) {
  const size_t slash = filePath.find_last_of('\\');
  return slash == std::string::npos ? std::string() : filePath.substr(0, slash + 1);
}

// The names of a path after its drive ("C:"), without empty ones.
std::vector<std::string> NamesAfterDrive(const std::string& path) {
  std::vector<std::string> names;
  for (size_t start = 3; start < path.size();) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) names.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

// The short name of the entry at path, or its own name when it has none (an 8.3 name already)
// or cannot be looked up.
std::string ShortNameAt(const std::string& path, const std::string& name) {
  if (path.size() >= MAX_PATH || !IsPlainFileName(name)) return name;
  WIN32_FIND_DATAA data;
  if (!UniqueFind(FindFirstFileA(path.c_str(), &data))) return name;
  return data.cAlternateFileName[0] ? data.cAlternateFileName : name;
}

}  // namespace

std::string AccessPath(const std::string& given) {
  const std::string path = NativeFilePath(given);
  if (path.size() <= kMostDirectPathLength || path.size() < 3 || path[1] != ':' || path[2] != '\\') return path;
  const std::vector<std::string> names = NamesAfterDrive(path);
  const bool folder = path.back() == '\\';
  size_t rest = 0;  // the length of the names after i, each with its "\"
  for (const std::string& name : names) rest += name.size() + 1;
  std::string access = path.substr(0, 2);
  for (const std::string& name : names) {
    rest -= name.size() + 1;
    if (access.size() + 1 + name.size() + rest <= kMostDirectPathLength) {
      access += "\\" + name;
      continue;
    }
    access += "\\" + ShortNameAt(access + "\\" + name, name);
  }
  return folder ? access + "\\" : access;
}

bool IsExistingFolder(const std::string& path) {
  WIN32_FIND_DATAA data;
  return FindData(WithoutTrailingBackslashes(path), data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsExistingFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(AccessPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsReadOnlyFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(AccessPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

bool FileOrFolderExists(const std::string& path) { return IsExistingFile(path) || IsExistingFolder(path); }

bool ShellDelete(const std::string& path, bool useRecycleBin) {
  std::string target = Trimmed(path);
  if (IsExistingFolder(target)) target = WithoutTrailingBackslashes(target);
  if (!FileOrFolderExists(target)) return false;
  return RunShell(FO_DELETE, target, "", QuietFlags(useRecycleBin));
}

bool ShellMove(const std::string& from, const std::string& to, bool useRecycleBin) {
  if (!FileOrFolderExists(from)) return false;
  const std::string folder = FolderOf(to);
  if (!folder.empty() && !CreateFolderWithParents(folder)) return false;
  return RunShell(FO_MOVE, from, to, QuietFlags(useRecycleBin));
}

bool ShellCopy(const std::string& from, const std::string& to) {
  if (!FileOrFolderExists(from)) return false;
  const std::string folder = FolderOf(to);
  if (!folder.empty() && !CreateFolderWithParents(folder)) return false;
  return RunShell(FO_COPY, from, to, FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI);
}

bool ShellCopyWhole(const std::string& from, const std::string& to) {
  const std::string partial = to + ".partial~";
  const std::string partialAccess = AccessPath(partial);
  if (ShellCopy(from, partial)) {
    const std::string target = AccessPath(to);
    // A write-protected older copy would refuse the rename.
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
      SetFileAttributesA(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (MoveFileExA(partialAccess.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  }
  SetFileAttributesA(partialAccess.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(partialAccess.c_str());
  return false;
}

bool CreateFolderWithParents(const std::string& path) {
  const std::string folder = WithoutTrailingBackslashes(path);
  if (folder.empty() || IsExistingFolder(folder)) return !folder.empty();
  // Drive roots ("C:") and share roots exist or not; everything below is created in order.
  for (size_t slash = folder.find('\\'); slash != std::string::npos; slash = folder.find('\\', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (part.empty() || part.back() == ':' || IsExistingFolder(part)) continue;
    CreateDirectoryA(AccessPath(part).c_str(), nullptr);
  }
  CreateDirectoryA(AccessPath(folder).c_str(), nullptr);
  return IsExistingFolder(folder);
}

size_t CountFolderEntries(const std::string& folder) {
  WIN32_FIND_DATAA data;
  UniqueFind find(FindFirstFileA((AccessPath(WithoutTrailingBackslashes(folder) + "\\") + "*").c_str(), &data));
  if (!find) return 0;
  size_t count = 0;
  do {
    if (std::strcmp(data.cFileName, ".") != 0 && std::strcmp(data.cFileName, "..") != 0) ++count;
  } while (FindNextFileA(find.Get(), &data));
  return count;
}

void RemoveEmptyFolder(const std::string& folder) {
  RemoveDirectoryA(AccessPath(WithoutTrailingBackslashes(folder)).c_str());
}

bool RecycleBinKeeps(const std::string& path) {
  if (path.size() < 3 || path[1] != ':') return false;
  const std::string root = path.substr(0, 2) + "\\";
  if (GetDriveTypeA(root.c_str()) != DRIVE_FIXED) return false;
  SHQUERYRBINFO info{};
  info.cbSize = sizeof info;
  return SHQueryRecycleBinA(root.c_str(), &info) == S_OK;
}

int64_t FileSizeOf(const std::string& path) {
  WIN32_FIND_DATAA data;
  if (!FindData(WithoutTrailingBackslashes(path), data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return -1;
  return static_cast<int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

std::string FileDateText(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(AccessPath(path).c_str(), GetFileExInfoStandard, &data)) return "";
  FILETIME local;
  WORD date = 0;
  WORD time = 0;
  if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToDosDateTime(&local, &date, &time))
    return "";
  return FormatDosDateTime(static_cast<uint32_t>(date) << 16 | time);
}

std::string FileVersionText(const std::string& path) { return FileVersionInfoText(AccessPath(path)); }

#pragma once
// The file and folder operations of the restore engine and the cleaning tools, all through the
// shell's SHFileOperationA: silent, never asking, optionally into the recycle bin. Each takes
// the paths as given, expands them to full paths, and reports whether the shell succeeded. A
// source that is neither an existing file nor an existing folder, and a full path longer than
// the shell's 255-character buffer, make an operation fail without calling the shell: a cut
// path would name another file. Every function here reaches a path too long for the "A"
// functions through AccessPath.

#include <cstdint>
#include <string>

inline constexpr size_t kMostShellPathLength = 255;
// The longest path every "A" function takes as it is (CreateDirectoryA: MAX_PATH less 12).
inline constexpr size_t kMostDirectPathLength = 247;

// A path that the "A" functions can reach, in the machine's native view (System32 through its
// "Sysnative" alias under WOW64): the path itself when it is short enough, otherwise its
// folders from the drive on replaced by their short (8.3) names, as many as it takes. Names
// that do not exist yet stay long, so a path to be created works as far as its existing part
// allows.
std::string AccessPath(const std::string& path);

// Deletes a file, or a folder with its contents; blanks and a trailing "\" of a folder path
// are trimmed first.
bool ShellDelete(const std::string& path, bool useRecycleBin);
// Moves a file to a target file path; its folder is created first when it is missing.
bool ShellMove(const std::string& from, const std::string& to, bool useRecycleBin);
// Copies a file onto a target file path, replacing it; its folder is created when missing.
bool ShellCopy(const std::string& from, const std::string& to);
// ShellCopy to a temporary name beside the target, then renamed over it: a copy that fails
// halfway (a full disk, a source that cannot be read to its end) never stands as the target,
// and an older target stays as it was.
bool ShellCopyWhole(const std::string& from, const std::string& to);

bool FileOrFolderExists(const std::string& path);
// An existing file, not a folder.
bool IsExistingFile(const std::string& path);
// An existing file or folder with the read-only attribute.
bool IsReadOnlyFile(const std::string& path);
// Tested with FindFirstFileA on the path without a trailing "\".
bool IsExistingFolder(const std::string& path);
// Creates the folder with all missing parents; true when it exists afterwards.
bool CreateFolderWithParents(const std::string& path);
// The files and folders in a folder ("." and ".." aside); 0 when it cannot be read.
size_t CountFolderEntries(const std::string& folder);
// Removes a folder that is empty; a folder with anything in it stays.
void RemoveEmptyFolder(const std::string& folder);
// Whether a deletion into the recycle bin really keeps what it deletes on the drive of path:
// the drive is fixed and the shell reports a recycle bin there. Elsewhere (removable drives,
// platforms without a bin) FOF_ALLOWUNDO deletes for good.
bool RecycleBinKeeps(const std::string& path);

// The size FindFirstFileA reports, or -1 when the path is missing or a folder.
int64_t FileSizeOf(const std::string& path);
// The last-write time as the locale's short date and time; empty when the file is missing.
std::string FileDateText(const std::string& path);
// ", Ver: major.minor.release.build" when the file has fixed version information, else empty.
std::string FileVersionText(const std::string& path);

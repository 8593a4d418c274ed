#pragma once
// The file and folder operations of the restore engine and the cleaning tools, all through the
// shell's SHFileOperationA: silent, never asking, optionally into the recycle bin. Each takes
// the paths as given, expands them to full paths, and reports whether the shell succeeded. A
// source that is neither an existing file nor an existing folder, and a full path longer than
// the shell's 255-character buffer, make an operation fail without calling the shell: a cut
// path would name another file.

#include <cstdint>
#include <string>

inline constexpr size_t kMostShellPathLength = 255;

// Deletes a file, or a folder with its contents; blanks and a trailing "\" of a folder path
// are trimmed first.
bool ShellDelete(const std::string& path, bool useRecycleBin);
// Moves a file to a target file path; its folder is created first when it is missing.
bool ShellMove(const std::string& from, const std::string& to, bool useRecycleBin);
// Copies a file onto a target file path, replacing it; its folder is created when missing.
bool ShellCopy(const std::string& from, const std::string& to);

bool FileOrFolderExists(const std::string& path);
// An existing file, not a folder.
bool IsExistingFile(const std::string& path);
// Tested with FindFirstFileA on the path without a trailing "\".
bool IsExistingFolder(const std::string& path);
// Creates the folder with all missing parents; true when it exists afterwards.
bool CreateFolderWithParents(const std::string& path);

// The size FindFirstFileA reports, or -1 when the path is missing or a folder.
int64_t FileSizeOf(const std::string& path);
// The last-write time as the locale's short date and time; empty when the file is missing.
std::string FileDateText(const std::string& path);
// ", Ver: major.minor.release.build" when the file has fixed version information, else empty.
std::string FileVersionText(const std::string& path);

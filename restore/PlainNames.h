#pragma once
// Names read from a log are data. Before one reaches a platform call that expands wildcards
// ("*", "?", "<", ">", '"' to FindFirstFile and the shell) or walks a path ("\", "/", ":", ".."),
// it must be one plain name in its folder; otherwise the call could act on other files than the
// one the log lists (a record named "*" would empty its whole folder).

#include <string>

// A name that stays one file name in its folder: not empty, not "." or a name holding "..", no
// path separator, ":", wildcard or control character.
bool IsPlainFileName(const std::string& name);

// A plain name that also addresses exactly the file the log lists: the platform drops trailing
// dots and blanks (so "x." would reach "x") and turns device names (NUL, COM1.TXT, ...) into
// devices.
bool IsUndoableName(const std::string& name);

// The first name of a drive folder path ("C:\DIR\SUB\", optionally followed by a file name)
// that is not undoable, or nothing when all are; a drive that is no letter counts as the name.
bool FindUnplainName(const std::string& path, std::string& name);

// Raises "The log names "<name>", which is not a plain file or folder name; nothing was done."
// for the first such name of the folder path, or for the file name when that is no undoable
// name as a whole ("a\b" is one name in the log, not two).
void RequireUndoablePath(const std::string& path, const std::string& fileName = "");

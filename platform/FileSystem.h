#pragma once
// Thin checked wrappers over the platform's file functions.

#include <string>

bool FileExists(const std::string& path);
// The Windows folder with a trailing backslash; empty when the platform does not tell it.
std::string WindowsFolder();
// The platform's text for the calling thread's last error, without the trailing line break.
std::string LastErrorText();
// Moves from to to, replacing an existing to; raises an I/O error naming both on failure.
void MoveReplacing(const std::string& from, const std::string& to);
// Deletes path when it exists; raises an I/O error naming it when that fails.
void DeleteIfExists(const std::string& path);

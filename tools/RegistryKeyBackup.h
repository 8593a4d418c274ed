#pragma once
// A registry key saved with all its sub-keys and values as a .REG file that regedit imports,
// written before the application remover deletes the key, so a key ticked by mistake can be
// put back.

#include <windows.h>

#include <string>
#include <vector>

// The lines of the file: "REGEDIT4", then for the key and each sub-key (parents first) its
// "[ROOT\path]" line and its values. Raises when the key cannot be opened, or when a key or value
// cannot be read or written on one line: a partial copy must never pass for a backup.
std::vector<std::string> RegFileLinesOfKey(HKEY root, const std::string& rootName, const std::string& keyPath);

// Writes the key's lines to a new file in folder (created when missing), named after the key,
// and returns the file's path. Raises when the file cannot be written whole.
std::string SaveKeyToRegFile(HKEY root, const std::string& rootName, const std::string& keyPath,
                             const std::string& folder);

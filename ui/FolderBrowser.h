#pragma once
// The shell's folder picker for file-system folders.

#include <windows.h>

#include <string>

struct FolderBrowseSpec {
  std::string title;       // the picker's caption; the shell's own when empty
  std::string statusText;  // the line above the folder tree
  bool startAtDrives = false;
};

// folder: in, the folder to preselect (may be empty); out, the chosen folder without a
// trailing backslash (except a drive's root). False when the user cancelled.
bool BrowseForFolder(HWND owner, const FolderBrowseSpec& spec, std::string& folder);

#pragma once
// Where a system file of the selection tree lives on this machine.

#include <exception>
#include <string>

#include "datafiles/SystemFileText.h"

// The folders of the fixed system files, read on the main thread: a capture thread gets them from
// the save that starts it and reads no settings itself.
struct SystemFileFolders {
  std::string windowsFolder;  // ends with a backslash
  std::string textFolder;     // the required setting PathToSystemFiles
  // Why textFolder could not be read; raised only where a text system file needs it, so that a
  // selection without AUTOEXEC.BAT and CONFIG.SYS never depends on that setting.
  std::exception_ptr textFolderError;
};

// The Windows folder and the setting PathToSystemFiles of this moment.
SystemFileFolders CurrentSystemFileFolders();

// The type of the node text and the file's full path: WIN.INI and SYSTEM.INI in the Windows
// folder, AUTOEXEC.BAT and CONFIG.SYS in the text folder, user files at their own path. Raises
// "Cannot determine file type of %s." for a text that fits none.
SystemFileType GetSystemFileType(const std::string& nodeText, const SystemFileFolders& folders, std::string& fullPath);
// With the folders of this moment: for the main thread.
SystemFileType GetSystemFileType(const std::string& nodeText, std::string& fullPath);

#pragma once
// The system-file selection tree names its files by text: the fixed WIN.INI, SYSTEM.INI,
// AUTOEXEC.BAT and CONFIG.SYS, and user files as their path plus "(INI)" or "(TXT)". The
// text decides the file's full path and whether its body is read as INI or as text.

#include <string>

enum SystemFileType {
  kSystemIni = 0,   // WIN.INI, SYSTEM.INI in the Windows folder
  kSystemText = 1,  // AUTOEXEC.BAT, CONFIG.SYS in the folder of the setting PathToSystemFiles
  kUserIni = 2,     // path + "(INI)"
  kUserText = 3,    // path + "(TXT)"
};

inline bool IsIniType(int type) { return type == kSystemIni || type == kUserIni; }

// Raises "Cannot determine file type of %s." for a text that fits none; reads the required
// setting PathToSystemFiles for AUTOEXEC.BAT and CONFIG.SYS.
SystemFileType GetSystemFileType(const std::string& nodeText, std::string& fullPath);

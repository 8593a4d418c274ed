#pragma once
// A system file's node text decides how its body is stored: WIN.INI and SYSTEM.INI (any case,
// blanks around ignored) and user files marked "(INI)" have INI bodies; AUTOEXEC.BAT,
// CONFIG.SYS and files marked "(TXT)" have text bodies. Capture, compare and restore share it.

#include <string>
#include <string_view>

enum SystemFileType {
  kSystemIni = 0,   // WIN.INI, SYSTEM.INI in the Windows folder
  kSystemText = 1,  // AUTOEXEC.BAT, CONFIG.SYS in the folder of the setting PathToSystemFiles
  kUserIni = 2,     // path + "(INI)"
  kUserText = 3,    // path + "(TXT)"
};

inline bool IsIniType(int type) { return type == kSystemIni || type == kUserIni; }

// The type of a node text; raises "Cannot determine file type of %s." when it fits none.
SystemFileType SystemFileTypeOfText(std::string_view nodeText);

// The node text without surrounding blanks, and for user files without the marker: the file
// name of the fixed files, the full path of user files.
std::string SystemFileNameOfText(std::string_view nodeText);

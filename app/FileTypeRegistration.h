#pragma once
// The program's file types: selection (.SXS), log (.SXL) and configuration (.SXD) files open
// with the program and show its icon. Registered at every start where the user's rights allow:
// for the machine with administrator rights, for the user without them. Nothing of it can make
// the start fail: a key that cannot be written is left as it is.

#include <windows.h>

#include <string>

// The classes key the types go to: HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER, "\Software\Classes".
HKEY FileTypeRoot(bool administratorRights);

// Writes what differs from the registration wanted; true when something was written.
bool RegisterFileTypes(const std::string& exePath, bool administratorRights);

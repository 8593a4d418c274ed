#pragma once
// Under Wine one drive (Z: in a new prefix) maps the whole Unix file system: a fixed drive to
// the program, but no part of the Windows installation it watches. On Windows no drive does.

#include <string>

// True when the drive root ("Z:\") maps to the Unix root "/". Asks Wine's
// wine_get_unix_file_name, which kernel32 exports only under Wine.
bool IsUnixRootDrive(const std::string& driveRoot);

#pragma once
// Opening a file with the program the shell associates with its type.

#include <windows.h>

#include <string>

// Opens path with the shell's default action. Fails with "File not found!" when there is no
// such file, with "No application linked to this file type!\r" + path when no program is
// associated with its type, and with "Error executing file!\r" + path on any other failure.
void OpenWithShell(HWND owner, const std::string& path);

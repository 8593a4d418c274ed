#pragma once
// The program's file types: selection (.SXS), log (.SXL) and configuration (.SXD) files open
// with the program and show its icon. Registered at every start; errors are ignored, since a
// user without rights to HKEY_CLASSES_ROOT can still use the program.

#include <string>

void RegisterFileTypes(const std::string& exePath);

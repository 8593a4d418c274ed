#pragma once
// The version resource of a file: as the drive restore shows it next to a changed file, and as
// the About dialog shows the program's own.

#include <string>

// "a.b.c.d" from the fixed file info of the file at a path the platform can open as given;
// empty when the file has no version resource.
std::string FileVersionNumber(const std::string& accessPath);

// ", Ver: a.b.c.d", or empty as above.
std::string FileVersionInfoText(const std::string& accessPath);

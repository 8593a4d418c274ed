#pragma once
// Paths as text: the backslash that ends a folder path. Portable, so the engine may use it.

#include <string>

// The path with one trailing backslash added when it has none; an empty path stays empty, so
// that it never turns into the root of the current drive.
std::string WithTrailingBackslash(std::string path);

// The path without any trailing backslashes ("C:\" becomes "C:").
std::string WithoutTrailingBackslashes(std::string path);

#pragma once
// A text file as its lines, the way INI and text system files are read.

#include <string>
#include <vector>

// Splits at CR LF, LF or a lone CR; a last line without a break counts. Raises an open error
// naming the file when it cannot be read.
std::vector<std::string> ReadFileLines(const std::string& path);

// Text without leading and trailing blanks and control characters.
std::string TrimText(const std::string& text);

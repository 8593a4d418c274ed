#pragma once
// The value lines of a regedit-importable .REG file, shared by every writer of one (the
// install-file export and the key backup of the application remover), so both spell values
// the same way.

#include <cstdint>
#include <string>
#include <vector>

// "@" for the default value, else the name quoted with "\" and '"' escaped.
std::string RegFileValueName(const std::string& name);
// namePart="text", escaped; the text must fit on one line.
std::string RegFileStringLine(const std::string& namePart, const std::string& text);
// namePart=dword:0000002A
std::string RegFileDwordLine(const std::string& namePart, uint32_t value);
// namePart=hex:... for REG_BINARY and namePart=hex(<type in hex>):... for any other platform
// type, wrapped with "\" continuation lines.
void AppendRegFileHexLines(std::vector<std::string>& lines, const std::string& namePart, uint32_t platformType,
                           const std::string& bytes);

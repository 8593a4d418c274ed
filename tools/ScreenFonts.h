#pragma once
// The screen fonts for a font without TrueType names to show (a bitmap font, say): the installed
// family that its display name begins with.

#include <optional>
#include <string>
#include <vector>

// The family names of the installed screen fonts, each once.
std::vector<std::string> InstalledScreenFamilies();

// The longest of families whose upper-cased, trimmed name begins the upper-cased, trimmed
// display name ("MS Sans Serif 8,10,12,14,18,24" finds "MS Sans Serif", not "MS Sans"); the
// family keeps its own letter case. Nothing when none does.
std::optional<std::string> FamilyOfDisplayName(const std::string& displayName, std::vector<std::string> families);

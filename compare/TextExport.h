#pragma once
// The text export of a result subtree: a comment header with a legend, then one line per
// changed key, folder or section and one per change record (byte data wrapped at 80 columns),
// in the order of the export walk.

#include <string>
#include <vector>

#include "compare/ExportTreeWalk.h"
#include "compare/LogLayout.h"
#include "core/TreeModel.h"
#include "core/UserInteraction.h"

// The lines of the export of start (which the command takes from the tree's selection).
// defaultText replaces empty record names. Errors (the log cannot be opened, a read error)
// propagate, so that no file is written from half a list.
std::vector<std::string> BuildTextExport(TreeModel& tree, TreeNode* start, const ExportChoice& choice,
                                         const std::string& logFileName, const LogPositions& positions,
                                         const std::string& defaultText, UserInteraction& ui);

// Creates or truncates the file and writes each line followed by CR LF.
void SaveTextLines(const std::string& fileName, const std::vector<std::string>& lines);

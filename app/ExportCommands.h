#pragma once
// Export Data of the result trees' pop-up menus: the changes below the selected node as a
// text file.

#include <functional>

#include "app/CommandEnvironment.h"
#include "compare/ExportTreeWalk.h"

// The export selection dialog on choice; false when the user cancelled.
using ExportKindsChooser = std::function<bool(ExportChoice& choice)>;

// Does nothing when the tree has no selected node. The file is written only once every line
// was built, so a failed export leaves no file behind.
void ExportDataCommand(CommandEnvironment& environment, LogSection section, const ExportKindsChooser& chooseKinds);

#pragma once
// Export Data of the result trees' pop-up menus: the changes below the selected node as a
// text file.

#include <functional>

#include "app/AppState.h"
#include "app/ResultPages.h"
#include "compare/ExportTreeWalk.h"
#include "core/UserInteraction.h"

struct ExportCommandContext {
  AppState& app;
  UserInteraction& ui;
  ResultPages& results;
  // The export selection dialog on choice; false when the user cancelled.
  std::function<bool(ExportChoice& choice)> chooseKinds;
};

// Does nothing when the tree has no selected node. The file is written only once every line
// was built, so a failed export leaves no file behind.
void ExportDataCommand(ExportCommandContext& context, LogSection section);

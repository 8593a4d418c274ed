#pragma once
// Batch mode: STORECONFIG, COMPARE and UNINSTALL run their sequence without the user and the
// program ends. It works on tree models only: the main window's trees when there is a display,
// trees of its own when there is none.

#include <functional>
#include <string>

#include "app/AppState.h"
#include "app/CommandLine.h"
#include "capture/SelectionTrees.h"
#include "compare/LogLoader.h"
#include "core/MainThreadCalls.h"
#include "core/UserInteraction.h"

struct BatchContext {
  AppState& app;
  UserInteraction& ui;
  MainThreadCalls& calls;
  SelectionTrees selection;
  ResultTrees results;
  std::function<void(const std::string& status)> showStatus;  // "Status: ..." texts
  std::function<void()> selectionLoaded;                      // after a log's selection was read into the trees
  std::function<void()> showResults;                          // after a log was made current: title, caption, pages
  // Where the unattended answers of the "Shared DLLs" question are written.
  std::function<void(const std::string& line)> writeLine;
};

// Runs the batch request; errors propagate to the caller after the hourglass is restored.
// Every question takes its unattended answer from context.ui; the "Shared DLLs" question is
// answered by UnattendedSharedFilePrompt.
void RunBatch(const CommandLineRequest& request, BatchContext& context);

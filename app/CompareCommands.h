#pragma once
// Compare (create log file), Incremental Compare and Load Log File.

#include <functional>

#include "app/AppState.h"
#include "app/ResultPages.h"
#include "app/SelectionPages.h"
#include "core/MainThreadCalls.h"
#include "core/UserInteraction.h"

struct CompareCommandContext {
  AppState& app;
  UserInteraction& ui;
  MainThreadCalls& calls;
  SelectionPages& selection;
  ResultPages& results;
  std::function<void()> showResults;  // title, result pages, Restore All
};

void CompareCommand(CompareCommandContext& context, bool incremental);
void LoadLogFileCommand(CompareCommandContext& context);

#pragma once
// Compare (create log file), Incremental Compare, Compare Configurations and Load Log File.

#include <functional>

#include "app/AppState.h"
#include "app/CompareDialog.h"
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
// Compare Configurations: the selection questions, then runDialog shows the dialog whose "&OK"
// runs the compare it is given. The context's showResults must leave the title alone: this
// command does not make the log the application's.
using CompareDialogRunner = std::function<void(const std::function<void(const ConfigurationFiles&)>& compare)>;
void CompareConfigurationsCommand(CompareCommandContext& context, const CompareDialogRunner& runDialog);
void LoadLogFileCommand(CompareCommandContext& context);
// Loads the log into the result trees and makes it the current log (Load Log File after its
// dialog, and a log file given on the command line).
void OpenLogFile(CompareCommandContext& context, const std::string& logFile);

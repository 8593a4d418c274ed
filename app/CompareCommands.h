#pragma once
// Compare (create log file), Incremental Compare, Compare Configurations and Load Log File: the
// questions and file dialogs around the compare and open-log workflows.

#include <functional>

#include "app/CommandEnvironment.h"
#include "app/CompareDialog.h"

void CompareCommand(CommandEnvironment& environment, bool incremental);
// Compare Configurations: the selection questions, then runDialog shows the dialog whose "&OK"
// runs the compare it is given. The log fills the result pages without becoming the title's.
using CompareDialogRunner = std::function<void(const std::function<void(const ConfigurationFiles&)>& compare)>;
void CompareConfigurationsCommand(CommandEnvironment& environment, const CompareDialogRunner& runDialog);
void LoadLogFileCommand(CommandEnvironment& environment);

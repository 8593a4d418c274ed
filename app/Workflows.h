#pragma once
// What the menus, batch mode and the wizards do alike: save the configuration, compare it into
// a log, open a log, undo a log's changes. Plain functions over the session; they ask nothing
// of their own (the callers put their dialogs around them) and tell the session's view what
// changed.

#include <functional>
#include <string>

#include "app/Session.h"
#include "core/MainThreadCalls.h"
#include "core/UserInteraction.h"
#include "restore/RestoreRequest.h"
#include "restore/SharedFilePrompt.h"

// Where a workflow reports the step it starts (batch mode's status texts); may be empty.
using StepReport = std::function<void(const std::string& status)>;

// The selection captured into path, leaving out the program's own places of this moment.
void WriteSnapshot(Session& session, MainThreadCalls& calls, UserInteraction& ui, const std::string& path);

// Save Current Configuration: the selection validated (EMyAbort when the user declines),
// captured into "OldCFG.SXD", the file it replaces kept as "OldCFG.BAK".
void SaveCurrentConfiguration(Session& session, MainThreadCalls& calls, UserInteraction& ui);

// Save Configuration As: the selection captured into a file the user chooses; false when the
// user cancelled.
bool SaveConfigurationAs(Session& session, MainThreadCalls& calls, UserInteraction& ui);

// Captures "NewCFG.SXD", compares "OldCFG.SXD" with it into logFile and makes the log current.
// incremental: the new snapshot then becomes "OldCFG.SXD", the baseline of the next compare.
// A compare that fails leaves no log current.
void CompareIntoLog(Session& session, MainThreadCalls& calls, UserInteraction& ui, const std::string& logFile,
                    bool incremental, const StepReport& step = {});

// Compare Configurations: two saved configurations into logFile, without a snapshot. The log
// fills the result trees, yet the title keeps naming the application's log.
void CompareConfigurationFiles(Session& session, UserInteraction& ui, const std::string& oldFile,
                               const std::string& newFile, const std::string& logFile);

// Loads a log into the selection and result trees and makes it the current log; a log that
// fails to load leaves none current.
void OpenLog(Session& session, UserInteraction& ui, const std::string& logFile);

// One restore pass of a result section below request.root, with the settings as they are now.
void RunRestorePass(Session& session, UserInteraction& ui, SharedFilePrompt& sharedFiles, LogSection section,
                    const RestoreRequest& request);

// Every change of the current log undone, section by section, without a confirmation. Without
// a log the three passes find nothing to do.
void RestoreAll(Session& session, UserInteraction& ui, SharedFilePrompt& sharedFiles, const StepReport& step = {});

#pragma once
// Commands on the selection: load, save and reset it, the start-up selection and the offer
// to keep it as "Last.SXS" when the window closes, the user-defined files of the system-file
// selection.

#include <functional>

#include "app/AddSystemFileDialog.h"
#include "app/SelectionPages.h"
#include "app/Session.h"
#include "core/UserInteraction.h"

extern const char* const kLastSelectionFile;  // "Last.SXS" in the program folder

void LoadSelectionCommand(Session& session, UserInteraction& ui);
void SaveSelectionCommand(Session& session, UserInteraction& ui);
void ResetSelectionsCommand(Session& session, UserInteraction& ui);

// Loads a selection file into the trees; refreshes them against the machine after the trees
// were read.
void LoadSelectionFile(const std::string& path, Session& session, UserInteraction& ui);

// Builds the trees, then loads "Last.SXS" when it exists, else leaves the default selection
// (the window's start, and batch mode's with or without it).
void LoadStartupSelection(Session& session, UserInteraction& ui);

// The end of start-up, after a selection or log file named on the command line: the ControlSet
// keys are left out whatever was loaded, and what start-up loaded counts as unchanged.
void FinishStartupSelection(Session& session);

// Before the window closes: false keeps it open (the user cancelled). When "Last.SXS" cannot be
// written, the user is told why and chooses whether to close anyway.
bool OfferToKeepSelection(Session& session, UserInteraction& ui);

// "Add User-defined File": the file chosen with askForFile joins the system-file selection;
// nothing happens when it is cancelled.
void AddUserFileCommand(SelectionPages& pages, const std::function<bool(UserFileChoice&)>& askForFile);

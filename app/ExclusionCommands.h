#pragma once
// Exclusions: "Don't Check Next Time." on a result node unchecks it in its selection tree, so
// the next capture leaves it out; the exclude list names single files no compare reports.
// Also "Show name of CLSID value." of the registry result tree.

#include <string>
#include <vector>

#include "app/CommandEnvironment.h"

// Unchecks the selected result node's counterpart in the section's selection tree and tells
// the user; nothing without a selected node. Raises "TreeViewItem not found !" when the
// selection tree has no such node.
void DontCheckNextTimeCommand(CommandEnvironment& environment, LogSection section);

// Appends the paths that are not on the exclude list yet (compared as the compare matches
// them), marks the selection changed, shows the list and tells how many were added.
void AddToExcludeList(Session& session, UserInteraction& ui, const std::vector<std::string>& paths);
// The files selected in the changed-files list, in the folder of the drive result node.
void DontCheckFilesNextTimeCommand(CommandEnvironment& environment);
// The "Add" button beside the exclude list: files chosen in the file dialog "Exclude files";
// a cancelled dialog changes nothing and tells nothing.
void AddExcludedFilesCommand(Session& session, UserInteraction& ui);

// "{" first, the first "-" at position 10 and the first "}" at 38 (counted from 1): the form
// of a class identifier, for which "Show name of CLSID value." is offered.
bool IsClassIdText(const std::string& text);
// Shows the unnamed value of HKEY_CLASSES_ROOT\CLSID\<node text>, or "CLSID entry not found.".
void ShowClassIdNameCommand(CommandEnvironment& environment);

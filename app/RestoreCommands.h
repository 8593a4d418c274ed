#pragma once
// "Restore Changes" of the result trees and of the lists beside them, and "Restore All": each
// opens the confirmation dialog on the chosen node, whose passes run the section's restore
// driver with the settings as they are at that moment.

#include "app/CommandEnvironment.h"

// Does nothing when the tree has no selected node. fromList: only the records selected in the
// list beside the tree. A file node of a text file in the system-file tree raises
// "Automatic restore is not possible for text files.\rPlease restore the changes manually!".
void RestoreChangesCommand(CommandEnvironment& environment, LogSection section, bool fromList);

// The Restore All dialog, then one confirmation per chosen area that has a result tree.
void RestoreAllCommand(CommandEnvironment& environment);

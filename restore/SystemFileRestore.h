#pragma once
// RestoreSystemFiles: undoes the changes of INI files (WIN.INI, SYSTEM.INI and user INI files)
// that the system-file result tree shows: erases added sections, deletes added entries, writes
// deleted and changed entries back with their old text. Text files (AUTOEXEC.BAT, CONFIG.SYS,
// user text files) are left unchanged and their nodes unmarked: their lines cannot be put back
// automatically.

#include "restore/RestoreRequest.h"

// Operation texts: "Delete Key" (an added section), "Delete Value", "Restore Deleted Value",
// "Changed, restore old value.".
void RestoreSystemFiles(const RestoreRequest& request, RestoreEnvironment& environment);

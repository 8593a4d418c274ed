#pragma once
// Restore Saved Config File: puts the previous baseline "OldCFG.BAK" back in place of
// "OldCFG.SXD" (which a save rotated), the replaced file going to the recycle bin.

#include <string>

#include "core/UserInteraction.h"

// Tells "File OLDCFG.BAK not found!Restoration not possible!\r" without a backup; asks before
// replacing. Raises when the backup could not be moved into place.
void RestoreSavedConfigCommand(const std::string& programFolder, UserInteraction& ui);

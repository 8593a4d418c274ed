#pragma once
// The note before an undo that needs administrator rights the process does not have. Without
// them every change under HKEY_LOCAL_MACHINE, in the Windows folder or in Program Files fails
// item by item; the user learns it before, not from a list of failures.

#include "app/AppState.h"
#include "compare/LogLayout.h"
#include "compare/LogLoader.h"
#include "core/TreeModel.h"
#include "core/UserInteraction.h"

inline constexpr char kRestoreWithoutRightsText[] =
    "Quorvel runs without administrator rights. Changes under HKEY_LOCAL_MACHINE, in the Windows "
    "folder and in Program Files cannot be undone without them: those items will fail.\r\r"
    "To undo everything, close Quorvel and start it with \"Run as administrator\".\r\r"
    "Restore anyway?";

// Whether undoing the changes of section below node (a result tree node, level 0 for all) may
// need administrator rights: all but registry changes under HKEY_CURRENT_USER.
bool RestoreNeedsAdministratorRights(LogSection section, const TreeNode& node);

// True when the restore may go on: the process has the rights, the restore needs none, or the
// user answered Yes to the note.
bool AcceptRestoreRights(const AppState& app, UserInteraction& ui, LogSection section, const TreeNode& node);

// The same for Restore All: one note when any of the three result trees needs the rights.
bool AcceptRestoreAllRights(const AppState& app, UserInteraction& ui, const ResultTrees& results);

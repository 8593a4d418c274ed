#pragma once
// Carries out the ticked rows of the application remover's action list: folders through the one
// file deletion, keys (saved to a .REG file first) through the registry layer. Each row fails
// alone; its status says how it ended.

#include <string>
#include <vector>

#include "core/UserInteraction.h"
#include "restore/FileDeletion.h"
#include "tools/RemovalActions.h"
#include "tools/RemovalSafety.h"

struct RemovalEnvironment {
  FileDeletionState& deletion;  // the program's; its backup folder becomes BackupDir itself
  DeletionSettings settings;
  std::string backupDir;  // BackupDir: folder backups and the keys' .REG files go here
  ProtectedPlaces protectedPlaces;
  UserInteraction& ui;
};

// Rows without a tick keep their status. A ticked row's status becomes "OK, Done", the refusal
// of a protected place, or the message of the error that stopped it.
void DoAllCheckedActions(std::vector<RemovalAction>& actions, const RemovalEnvironment& environment);

#include "app/SavedConfigRestore.h"

#include "core/Errors.h"
#include "restore/ShellFileOperations.h"

void RestoreSavedConfigCommand(const std::string& programFolder, UserInteraction& ui) {
  const std::string backup = programFolder + "OldCFG.BAK";
  const std::string stored = programFolder + "OldCFG.SXD";
  if (!IsExistingFile(backup)) {
    ui.Tell(MsgType::Information, "File OLDCFG.BAK not found!Restoration not possible!\r");
    return;
  }
  if (ui.Ask(MsgType::Confirmation, "Replace stored configuration file OLDCFG.SXD\rwith backup OLDCFG.BAK?",
             MsgButtons::YesNo) != MsgAnswer::Yes)
    return;
  if (IsExistingFile(stored)) ShellDelete(stored, true);
  ShellMove(backup, stored, false);
  // The shell reports little; what counts is that the backup now stands as the baseline.
  if (IsExistingFile(backup) || !IsExistingFile(stored))
    throw Exception(ErrorKind::EWriteError, "OldCFG.BAK could not be moved to OldCFG.SXD.");
}

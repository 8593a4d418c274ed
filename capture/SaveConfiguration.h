#pragma once
// Saving a configuration data file: both capture threads run, then the main thread writes
// the header and the threads' sections. A capture that failed fails the save: no file is
// written, and the files that were there stay as they were.

#include <functional>
#include <string>

#include "capture/SelectionTrees.h"
#include "core/MainThreadCalls.h"
#include "core/UserInteraction.h"

extern const char* const kOldConfigFile;    // "OldCFG.SXD", the snapshot before an installation
extern const char* const kNewConfigFile;    // "NewCFG.SXD", the snapshot after it
extern const char* const kOldConfigBackup;  // "OldCFG.BAK", the snapshot the last save replaced

// Captures the selection and writes it to path (replacing an existing file only once the new
// one is complete).
void WriteConfigurationFile(const std::string& path, const SelectionTrees& trees, MainThreadCalls& calls,
                            UserInteraction& ui);

// Save Current Configuration: validates the selection (validateSelection raises EMyAbort when
// the user declines), captures, then rotates OldCFG.SXD to OldCFG.BAK and puts the new file
// in its place. programFolder ends with a backslash.
void SaveCurrentConfiguration(const std::string& programFolder, const SelectionTrees& trees, MainThreadCalls& calls,
                              UserInteraction& ui, const std::function<void()>& validateSelection);

// Save Configuration As: asks for a file name, then writes it. False when the user cancelled.
bool SaveConfigurationAs(const std::string& programFolder, const SelectionTrees& trees, MainThreadCalls& calls,
                         UserInteraction& ui);

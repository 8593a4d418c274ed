#pragma once
// RestoreRegistry: undoes the added, deleted and changed keys and values of the registry result
// tree. Shared-file counters under HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion
// \SharedDlls are never overwritten or deleted as plain values: the difference the installation
// made is taken back from the counter as it stands now, so other installations' counts survive,
// and a counter that falls to zero offers to delete its file.

#include <string>

#include "restore/RestoreRequest.h"

inline constexpr char kSharedDllsKeyPath[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";

// Sets the shared backup folder for the log (a counter at zero may delete its file), walks the
// tree and writes the restored marks. Operation texts: "Create Key", "Delete Key", "Delete
// Value", "Restore Deleted Value", "Changed, restore old value.", "Increment Counter",
// "Decrement Counter".
void RestoreRegistry(const RestoreRequest& request, RestoreEnvironment& environment);

// A registry value as the to-do list shows it: the value list's text, binary data cut to 600
// characters and "...".
std::string RegistryValueText(int code, const std::string& data, const std::string& emptyText);

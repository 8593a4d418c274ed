#pragma once
// The three selection trees built from the machine: registry root keys, drives and system
// files, with their children loaded when a node is first expanded, the default selection and
// the refresh against the machine.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "capture/SelectionTrees.h"
#include "compare/ResultRecords.h"  // DriveFolderPath: the same in selection and result trees
#include "core/StripImages.h"
#include "core/TreeModel.h"

// Adds an icon to the tree's image list and returns its index (-1 when it has none). The
// icon is the caller's to destroy.
using IconSink = std::function<int(HICON icon)>;

// "My Computer" and every root key that has at least one subkey.
void BuildRegistrySelectionTree(TreeModel& tree);
// One node per present drive: letter, ": " and the shell's display name.
void BuildDriveSelectionTree(TreeModel& tree, const IconSink& icons);
// The shell's small icon of a file added to the tree's images; -1 without one.
int AddShellFileIcon(const std::string& path, const IconSink& icons);
// "System Files" with WIN.INI, SYSTEM.INI, Autoexec.bat, Config.sys and the user's files.
void BuildSystemFileSelectionTree(TreeModel& tree, const std::vector<std::string>& userFiles, const IconSink& icons);

// Loaders for TreeModel::SetLoader: subkeys, folders, INI section headers.
void LoadRegistryChildren(TreeModel& tree, TreeNode& node);
void LoadDriveChildren(TreeModel& tree, TreeNode& node);
void LoadSystemFileChildren(TreeModel& tree, TreeNode& node);

// The key path below the root-key node ("Software\Classes"), empty for a root key.
std::string RegistryKeyPath(const TreeNode& node);

// HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG; fixed drives without their recycle
// bin; all system files. Then the ControlSet rule.
void ApplyDefaultSelection(const SelectionTrees& trees);
// The control sets below HKEY_LOCAL_MACHINE\SYSTEM are never selected, the numbered ones and
// the current one: the numbered ones mirror the current one and would restore the same values
// twice, and the current one holds the machine's live device state (under Wine its display
// driver entries change at every start), which an undo must not delete.
void DeselectControlSets(TreeModel& registryTree);

// Brings the loaded nodes up to date with the machine; an error in one tree does not stop
// the others (it is returned for the caller to show).
void RefreshRegistrySelectionTree(TreeModel& tree);
void RefreshDriveSelectionTree(TreeModel& tree);
void RefreshSystemFileSelectionTree(TreeModel& tree);

#pragma once
// Where the remover's trees open: the node of a folder that a registry value names (the
// program-files folder, the start menus) and the start of the file types among the extensions.

#include <windows.h>

#include <string>

#include "core/TreeModel.h"

// A folder path's node in a drive tree: the path's drive letter stands for the last drive node
// with that letter (ignoring case), the rest is looked up name by name. nullptr when the path has
// no drive letter or is not in the tree.
TreeNode* FolderNodeOf(const std::string& path, TreeModel& driveTree);

// The string value of root\key, read-only; empty when the key or value is missing.
std::string RegistryText(HKEY root, const std::string& key, const std::string& value);

// The first child of HKEY_CLASSES_ROOT after its run of extensions (names beginning with "."),
// children before that run skipped; nullptr when there is none.
TreeNode* FileTypeBlockNode(const TreeNode& classesRoot);

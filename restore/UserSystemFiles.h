#pragma once
// User-defined system files in the system-file selection tree, and the refusal to restore text
// files. Whether a user file is added as INI or as text file decides whether its changes can be
// restored, so these commands live with the system-file restore. The "Add System File" dialog
// only collects the name and the type; the rules are here.

#include <string>

#include "core/TreeModel.h"

// The note the dialog shows under the type choice.
inline constexpr char kUserFileTextNote[] = "NOTE:\r\nThe program cannot restore text file changes!";

// The full name of a user file: a name without folder gets currentFolder and "\" in front.
// Raises "Error:  File <name> not found!" when it names no existing file.
std::string CheckUserFileName(const std::string& name, const std::string& currentFolder);

// "C:\APP\APP.INI" + "(INI)" or "(TXT)".
std::string UserFileNodeText(const std::string& path, bool iniFile);

// Appends the file as the last child of the tree's top node, with fileImage as image and
// selected image; unchecked when the top node is unchecked, checked otherwise; an expand
// button only for an INI file.
TreeNode* AddUserDefinedFile(TreeModel& tree, const std::string& path, bool iniFile, int fileImage);

// Removes the selected user file with its children. Raises "This entry cannot be deleted." for
// any other node; does nothing without a selection.
void DeleteUserDefinedFile(TreeModel& tree, TreeNode* selected);

// Before "Restore Changes" on the system-file result tree: a file node of a text file raises
// "Automatic restore is not possible for text files.\rPlease restore the changes manually!".
void RefuseTextFileRestore(const TreeNode* selected);

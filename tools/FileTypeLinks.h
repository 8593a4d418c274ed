#pragma once
// The linked selection of the remover's file-extension tree: ticking an extension offers the
// file type it is registered for, and ticking a type offers every other extension registered
// for it. The extensions are ticked one at a time with a pause between them, so the user sees
// each one appear.

#include <functional>
#include <string>
#include <vector>

#include "core/TreeModel.h"
#include "core/UserInteraction.h"

// The pauses after each automatically ticked extension: 1000 ms for the first, 70 ms less for
// each next one, never less than 300 ms.
class ExtensionPacing {
 public:
  int Next();

 private:
  int pause_ = 1000;
};

// What the linked selection needs of the machine and the window; tests give their own.
struct FileTypeLinkSeams {
  // The default value of the key of that name below HKEY_CLASSES_ROOT; empty when the key
  // cannot be opened.
  std::function<std::string(const std::string& keyName)> defaultValueOf;
  // Scrolls the node into view.
  std::function<void(TreeNode&)> showNode;
  std::function<void(int milliseconds)> pause;
};

// The real default value of HKEY_CLASSES_ROOT\keyName.
std::string ClassesRootDefaultValue(const std::string& keyName);

// The "HKEY_CLASSES_ROOT" node below the tree's top node, its children loaded; nullptr without.
TreeNode* ClassesRootNode(TreeModel& tree);

// The leading run of extension nodes ("." or "*") of classesRoot whose key's default value names
// typeName (ignoring case) and that are not checked yet.
std::vector<TreeNode*> MatchingExtensions(TreeNode& classesRoot, const std::string& typeName,
                                          const FileTypeLinkSeams& seams);

// After a click on node's state image has changed its state: when node is now checked or partly
// checked, offers the linked type and extensions and ticks what the user accepts.
void LinkFileTypeSelection(TreeNode& node, UserInteraction& ui, const FileTypeLinkSeams& seams);

#pragma once
// The action list of the existing-application remover: each ticked folder of its two folder
// trees and each ticked key of its two registry trees becomes one row to confirm.

#include <string>
#include <utility>
#include <vector>

#include "core/TreeModel.h"

inline constexpr const char* kRemovalToDo = "To Do";
inline constexpr const char* kRemovalDone = "OK, Done";
inline constexpr const char* kRemovalNotDone = "Not done. Error:";

// The numbers are the rows' kinds as the remover has always stored them.
enum class RemovalKind { Folder = 0, RegistryKey = 1 };

struct RemovalAction {
  RemovalAction(RemovalKind kind, std::string path, bool ticked = true)
      : kind(kind), path(std::move(path)), ticked(ticked) {}

  RemovalKind kind;
  // "C:\Program Files\Acme" or "HKEY_CURRENT_USER\Software\Acme".
  std::string path;
  bool ticked = true;
  std::string status = kRemovalToDo;
  // The .REG file a key was saved to before it was deleted, so it can be put back.
  std::string savedAs;
};

// "Delete Folder" or "Delete Entry".
const char* RemovalTypeText(RemovalKind kind);

// Depth-first in tree order: a checked node of level 2 or deeper becomes a row and its subtree
// is not walked; the top node and the drives or root keys are never rows themselves.
void AddCheckedNodes(const TreeModel& tree, RemovalKind kind, std::vector<RemovalAction>& actions);

struct RemovalTrees {
  const TreeModel& programFiles;
  const TreeModel& startMenu;
  const TreeModel& software;
  const TreeModel& fileTypes;
};

// The rows of the four trees in the order of the pages.
std::vector<RemovalAction> BuildRemovalActions(const RemovalTrees& trees);

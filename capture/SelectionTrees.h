#pragma once
// The three selection trees of the main window that a capture walks.

#include "core/TreeModel.h"

struct SelectionTrees {
  TreeModel& registry;
  TreeModel& drives;
  TreeModel& systemFiles;
};

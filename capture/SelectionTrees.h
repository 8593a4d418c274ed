#pragma once
// The three selection trees of the main window that a capture walks.

#include "capture/OwnPlaces.h"
#include "core/TreeModel.h"

struct SelectionTrees {
  TreeModel& registry;
  TreeModel& drives;
  TreeModel& systemFiles;
  // What the capture leaves out: the program's own places at the moment of the save.
  const OwnPlaces* ownPlaces = nullptr;
};

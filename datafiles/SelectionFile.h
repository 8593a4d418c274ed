#pragma once
// A selection file (.SXS) holds the three selection trees as tree blocks (registry, drives,
// system files) and then the exclude list: the marker, the number of entries, the full file
// paths. Files of older versions end after the third tree block. Log files carry the same
// content as their selection block.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/TreeModel.h"
#include "core/UserInteraction.h"
#include "datafiles/TReader.h"
#include "datafiles/TWriter.h"

inline constexpr std::string_view kExcludeListMarker = "idNocheckFiles";

// Each tree is written with uniform-subtree pruning, so its unmixed root-level subtrees are
// collapsed and unloaded afterwards.
void SaveSelections(TWriter& writer, TreeModel& registryTree, TreeModel& driveTree, TreeModel& systemFileTree,
                    const std::vector<std::string>& excludeList);
// Creates or truncates the file.
void SaveSelections(const std::string& fileName, TreeModel& registryTree, TreeModel& driveTree,
                    TreeModel& systemFileTree, const std::vector<std::string>& excludeList);

// Reads the three trees, runs treesLoaded (the window expands the top nodes, shows the pages
// and refreshes the trees against the machine), then the exclude list. An exclude list that
// is missing or unreadable never fails the load: the user is told once, excludeList keeps its
// entries and the reader stands where the list would have begun. Errors in the tree blocks
// end the load; the trees read until then stay.
void LoadSelections(TReader& reader, TreeModel& registryTree, TreeModel& driveTree, TreeModel& systemFileTree,
                    std::vector<std::string>& excludeList, UserInteraction& ui,
                    const std::function<void()>& treesLoaded);
// A file that is not a selection file is refused with its name in the message.
void LoadSelections(const std::string& fileName, TreeModel& registryTree, TreeModel& driveTree,
                    TreeModel& systemFileTree, std::vector<std::string>& excludeList, UserInteraction& ui,
                    const std::function<void()>& treesLoaded);

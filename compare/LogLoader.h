#pragma once
// Loading a log file into the selection and result trees, and the lazy expansion of new and
// deleted keys and folders from the change blocks. Only the pruned trees are read at load time;
// the change blocks are skipped and read one level per expansion, so a log of a large
// installation loads as fast as a small one.

#include <functional>
#include <string>
#include <vector>

#include "compare/LogLayout.h"
#include "core/TreeModel.h"
#include "core/UserInteraction.h"

// The result trees of a log file; indexed by LogSection where that is handy.
struct ResultTrees {
  TreeModel& registry;
  TreeModel& drives;
  TreeModel& systemFiles;

  TreeModel& Of(LogSection section) const;
};

// Fills the selection trees, the exclude list and the three result trees from the log and
// returns the positions of its sections in positions. treesLoaded runs after the selection
// trees are read (the window expands their top nodes and shows their pages). A file that does
// not begin with the log header is refused with "Error: <name>\rNot a logfile !"; a read
// error of the rest is raised as "ERROR: <name>\r<reason>". On any error the trees keep what
// was read until then (the caller clears them) and positions stay unchanged.
void LoadLogFile(const std::string& fileName, TreeModel& registrySelection, TreeModel& driveSelection,
                 TreeModel& systemFileSelection, std::vector<std::string>& excludeList, const ResultTrees& results,
                 LogPositions& positions, UserInteraction& ui, const std::function<void()>& treesLoaded);

// Nodes deeper than this are refused: no registry key or folder path nests so far, and every
// recursive walk of a tree must stay within the stack.
inline constexpr int kMostResultLevels = 1024;

// Adds the children of a new or deleted key (registry) or folder (drives) node from the log's
// change block: in log order, each with the offset of its own record, its has-children flag
// from that record, the parent's selected-image index and the parent's whole state index
// (restored bit included, shown greyed). Does nothing without a log file, for a node without
// record offset or with children already, and in the system-file tree. Other kinds fail with
// "Only available for new or deleted keys!" (registry) or "Only available for new and deleted
// keys!" (drives). The children appear only when the whole level was read.
void ExpandResultNode(TreeModel& tree, TreeNode& node, const std::string& logFileName, const LogPositions& positions,
                      LogSection section, UserInteraction& ui);

// The loader to install with TreeModel::SetLoader on a result tree. It reads logFileName and
// positions when it runs, so the caller keeps them current across compares and loads.
TreeModel::Loader ResultTreeLoader(const std::string& logFileName, const LogPositions& positions, LogSection section,
                                   UserInteraction& ui);

// Expands node and all its descendants in update mode, loading new and deleted subtrees from
// the change block: the bulk expansion, also used by the export and restore walks.
void ExpandSubtree(TreeModel& tree, TreeNode& node, const std::string& logFileName, const LogPositions& positions,
                   LogSection section, UserInteraction& ui);

#include "tests/fuzz/LogReadBack.h"

#include <vector>

#include "compare/LogLoader.h"
#include "compare/ResultRecords.h"
#include "compare/TextExport.h"
#include "core/StripImages.h"

namespace {

void ReadRows(const TreeNode& node, LogSection section, const std::string& logFileName, const LogPositions& positions) {
  std::vector<ResultRow> rows;
  switch (section) {
    case LogSection::Registry:
      ReadRegistryRows(node, logFileName, positions, "(Default)", "(value not set)", rows);
      break;
    case LogSection::Drives:
      ReadDriveRows(node, logFileName, positions, rows);
      break;
    case LogSection::SystemFiles:
      ReadSystemFileRows(node, logFileName, positions, kImageSystemEntry, rows);
      break;
  }
}

}  // namespace

void ReadBackLog(const std::string& logFileName, UserInteraction& ui) {
  TreeModel registrySelection, driveSelection, systemFileSelection;
  std::vector<std::string> excludeList;
  TreeModel registry, drives, systemFiles;
  const ResultTrees results{registry, drives, systemFiles};
  LogPositions positions;
  LoadLogFile(logFileName, registrySelection, driveSelection, systemFileSelection, excludeList, results, positions, ui,
              {});

  for (LogSection section : {LogSection::Registry, LogSection::Drives, LogSection::SystemFiles}) {
    TreeModel& tree = results.Of(section);
    tree.SetLoader(ResultTreeLoader(logFileName, positions, section, ui));
    for (size_t i = 0; i < tree.TopCount(); ++i) ExpandSubtree(tree, *tree.Top(i), logFileName, positions, section, ui);
    tree.ForEach([&](TreeNode& node) { ReadRows(node, section, logFileName, positions); });
    for (size_t i = 0; i < tree.TopCount(); ++i)
      BuildTextExport(tree, tree.Top(i), {kAllKinds, section}, logFileName, positions, "(Default)", ui);
  }
}

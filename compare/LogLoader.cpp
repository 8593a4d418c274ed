#include "compare/LogLoader.h"

#include "compare/ChangeBlockReader.h"
#include "compare/RecordOffsets.h"
#include "core/Errors.h"
#include "datafiles/SelectionFile.h"
#include "datafiles/Stream.h"
#include "datafiles/TReader.h"
#include "datafiles/TreeBlock.h"

TreeModel& ResultTrees::Of(LogSection section) const {
  switch (section) {
    case LogSection::Registry:
      return registry;
    case LogSection::Drives:
      return drives;
    case LogSection::SystemFiles:
      return systemFiles;
  }
  RaiseUnknownCase("ResultTrees", "Of");
}

namespace {

// A child's name, its nested-item count and its leaf count take two bytes each at least.
constexpr int64_t kLeastChildRecordBytes = 6;

// Anything that does not read as the header string is not a log file either.
bool HasLogHeader(TReader& reader) {
  try {
    return reader.ReadString() == kLogHeader;
  } catch (const EReadError&) {
    return false;
  }
}

}  // namespace

void LoadLogFile(const std::string& fileName, TreeModel& registrySelection, TreeModel& driveSelection,
                 TreeModel& systemFileSelection, std::vector<std::string>& excludeList, const ResultTrees& results,
                 LogPositions& positions, UserInteraction& ui, const std::function<void()>& treesLoaded) {
  TFileStream stream(fileName, FileMode::OpenRead);
  TReader reader(stream, kStreamBufferSize);
  if (!HasLogHeader(reader)) throw Exception(FormatText("Error: %s\rNot a logfile !", fileName));

  LogPositions loaded;
  try {
    LoadSelections(reader, registrySelection, driveSelection, systemFileSelection, excludeList, ui, treesLoaded);

    const int64_t fileSize = stream.Size();
    for (LogSection section : {LogSection::Registry, LogSection::Drives, LogSection::SystemFiles}) {
      SectionPositions& at = PositionsOf(loaded, section);
      at.treePosition = reader.Position();
      ReadTreeBlock(reader, results.Of(section), true, fileName);
      // Only key and folder records expand into nodes; system-file records fill lists.
      if (section != LogSection::SystemFiles) {
        at.nodeOffsets = SortedNodeOffsets(results.Of(section));
        RefuseRepeatedOffsets(at.nodeOffsets);
      }
      const int32_t length = reader.ReadInteger();
      if (length < 0) throw EReadError("Invalid property value");
      at.baseOffset = reader.Position();
      // Skipped, not read: the blocks are read node by node when the user asks for them.
      if (at.baseOffset + length > fileSize) throw EReadError("Stream read error");
      reader.SetPosition(at.baseOffset + length);
    }
  } catch (const EReadError& error) {
    // A damaged or cut-off log: say which file.
    throw EReadError("ERROR: " + fileName + "\r" + error.Message());
  }
  positions = loaded;
}

void ExpandResultNode(TreeModel& tree, TreeNode& node, const std::string& logFileName, const LogPositions& positions,
                      LogSection section, UserInteraction& ui) {
  if (logFileName.empty() || node.Data() == 0 || node.Count() > 0) return;
  if (section == LogSection::SystemFiles) return;  // sections show their entries in the list
  if (!IsNewOrDeleted(KindOf(node.StateIndex())))
    throw Exception(section == LogSection::Registry ? "Only available for new or deleted keys!"
                                                    : "Only available for new and deleted keys!");
  if (node.Level() >= kMostResultLevels) throw EReadError("Invalid property value");

  struct Child {
    std::string name;
    int32_t offset;
    bool hasChildren;
  };
  std::vector<Child> children;
  {
    WaitCursor wait(ui);
    ChangeBlockReader block(logFileName, positions, section);
    block.Seek(node.Data());
    const int32_t count = block.ReadCount();
    if (count > block.Remaining() / kLeastChildRecordBytes) throw EReadError("Stream read error");
    for (int32_t i = count; i > 0; --i) {
      Child child;
      child.name = block.Reader().ReadString();
      // The block ends before the next tree, so an offset in it fits the data integer.
      child.offset = static_cast<int32_t>(block.Position());
      child.hasChildren = block.SkipItemRecord() > 0;
      children.push_back(std::move(child));
    }
    block.SkipLeafList();
    RefuseOffsetsInside(PositionsOf(positions, section).nodeOffsets, node.Data(), block.Position());
  }

  TreeUpdate update(tree);
  // New nodes take image 0, as every key and folder node does.
  for (Child& child : children)
    tree.Add(&node, {.text = std::move(child.name),
                     .stateIndex = node.StateIndex(),
                     .imageIndex = 0,
                     .selectedIndex = node.SelectedIndex(),
                     .hasChildren = child.hasChildren,
                     .data = child.offset,
                     .cut = (node.StateIndex() & kRestoredBit) != 0});
}

TreeModel::Loader ResultTreeLoader(const std::string& logFileName, const LogPositions& positions, LogSection section,
                                   UserInteraction& ui) {
  return [&logFileName, &positions, section, &ui](TreeModel& tree, TreeNode& node) {
    ExpandResultNode(tree, node, logFileName, positions, section, ui);
  };
}

void ExpandSubtree(TreeModel& tree, TreeNode& node, const std::string& logFileName, const LogPositions& positions,
                   LogSection section, UserInteraction& ui) {
  TreeUpdate update(tree);
  WaitCursor wait(ui);
  std::vector<TreeNode*> pending{&node};
  while (!pending.empty()) {
    TreeNode* next = pending.back();
    pending.pop_back();
    if (!next->HasChildren()) continue;
    ExpandResultNode(tree, *next, logFileName, positions, section, ui);
    tree.Expand(next);
    // Reversed, so that children are expanded in tree order.
    for (size_t i = next->Count(); i > 0; --i) pending.push_back(next->Child(i - 1));
  }
}

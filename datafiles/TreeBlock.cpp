#include "datafiles/TreeBlock.h"

#include <cstdint>
#include <vector>

#include "core/CheckStates.h"
#include "core/Errors.h"
#include "datafiles/RecordKinds.h"
#include "datafiles/Stream.h"

namespace {

// Deepest level a block may hold. Registry keys nest at most 512 levels and ANSI paths fewer
// folders; a deeper block is damaged or hostile, and recursive walks of the tree (views,
// exports, destruction) must never meet it.
constexpr size_t kMaxLevel = 1024;

void PruneUniformSubtrees(TreeModel& tree) {
  TreeUpdate update(tree);
  for (size_t t = 0; t < tree.TopCount(); ++t) {
    TreeNode* top = tree.Top(t);
    for (size_t i = 0; i < top->Count(); ++i) {
      TreeNode* child = top->Child(i);
      if (child->StateIndex() == kStatePartlyChecked) continue;
      tree.Collapse(child);
      tree.DeleteChildren(child);
    }
  }
}

// Recursion is bounded: trees come from the machine or from blocks read under kMaxLevel.
void WriteNode(TWriter& writer, const TreeNode& node, bool pruneNewDeleted) {
  writer.WriteString(node.Text());
  writer.WriteInteger(node.StateIndex());
  writer.WriteInteger(node.ImageIndex());
  writer.WriteInteger(node.SelectedIndex());
  writer.WriteBoolean(node.HasChildren());
  writer.WriteInteger(node.Data());
  const int kind = node.StateIndex() & kNodeKindMask;
  const bool keepInChangeBlock = pruneNewDeleted && (kind == kKindNew || kind == kKindDeleted);
  const size_t count = keepInChangeBlock ? 0 : node.Count();
  writer.WriteInteger(static_cast<int32_t>(count));
  for (size_t i = 0; i < count; ++i) WriteNode(writer, *node.Child(i), pruneNewDeleted);
}

// Nothing is reserved from a count: each record must be read before its node exists, so a
// damaged count ends at the end of the stream instead of in a huge allocation.
int32_t ReadCount(TReader& reader) {
  const int32_t count = reader.ReadInteger();
  if (count < 0) throw EReadError("Invalid property value");
  return count;
}

}  // namespace

void ReadTreeBlock(TReader& reader, TreeModel& tree, bool markRestored, const std::string& fileName) {
  TreeUpdate update(tree);
  if (reader.ReadString() != kSelectionHeader)
    throw Exception(FormatText("ERROR: %s\rThis not a selection file ", fileName));
  tree.Clear();

  // Iterative, so a deeply nested block cannot exhaust the stack: one entry per level whose
  // child records are still being read.
  struct Level {
    TreeNode* parent;
    int32_t recordsLeft;
  };
  std::vector<Level> levels{{nullptr, ReadCount(reader)}};
  while (!levels.empty()) {
    if (levels.back().recordsLeft == 0) {
      levels.pop_back();
      continue;
    }
    --levels.back().recordsLeft;
    TreeNode* parent = levels.back().parent;

    std::string text = reader.ReadString();
    const int state = reader.ReadInteger();
    const int image = reader.ReadInteger();
    const int selected = reader.ReadInteger();
    const bool hasChildren = reader.ReadBoolean();
    const int32_t data = reader.ReadInteger();
    const int32_t childCount = ReadCount(reader);

    TreeNode* node = tree.Add(parent, {.text = std::move(text),
                                       .stateIndex = state,
                                       .imageIndex = image,
                                       .selectedIndex = selected,
                                       .hasChildren = hasChildren,
                                       .data = data,
                                       .cut = markRestored && (state & kRestoredBit) != 0});

    if (childCount > 0) {
      if (levels.size() > kMaxLevel) throw EReadError("Invalid property value");
      levels.push_back({node, childCount});
    }
  }
}

void WriteTreeBlock(TWriter& writer, TreeModel& tree, bool pruneUniform, bool pruneNewDeleted) {
  writer.WriteString(kSelectionHeader);
  if (pruneUniform) PruneUniformSubtrees(tree);
  writer.WriteInteger(static_cast<int32_t>(tree.TopCount()));
  for (size_t i = 0; i < tree.TopCount(); ++i) WriteNode(writer, *tree.Top(i), pruneNewDeleted);
}

void WriteTreeBlock(const std::string& fileName, TreeModel& tree, bool pruneUniform, bool pruneNewDeleted) {
  TFileStream stream(fileName, FileMode::Create);
  TWriter writer(stream, kStreamBufferSize);
  WriteTreeBlock(writer, tree, pruneUniform, pruneNewDeleted);
  writer.FlushBuffer();
}

void ReadTreeBlock(TReader& reader, TreeModel& tree, bool markRestored) {
  ReadTreeBlock(reader, tree, markRestored, std::string());
}

void ReadTreeBlock(const std::string& fileName, TreeModel& tree, bool markRestored) {
  TFileStream stream(fileName, FileMode::OpenRead);
  TReader reader(stream, kStreamBufferSize);
  ReadTreeBlock(reader, tree, markRestored, fileName);
}

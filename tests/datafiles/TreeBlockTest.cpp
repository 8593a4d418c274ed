#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <filesystem>
#include <fstream>

#include "core/CheckStates.h"
#include "core/Errors.h"
#include "datafiles/TreeBlock.h"
#include "tests/compare/LogBuilder.h"
#include "tests/core/FakeRegistryTree.h"
#include "tests/datafiles/StreamBytes.h"
#include "tests/datafiles/TreeDump.h"

namespace {

const std::vector<std::string> kKeys = {
    "HKEY_CLASSES_ROOT",
    "HKEY_CLASSES_ROOT\\.txt",
    "HKEY_CURRENT_USER",
    "HKEY_CURRENT_USER\\Software",
    "HKEY_LOCAL_MACHINE",
    "HKEY_LOCAL_MACHINE\\SOFTWARE",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App",
    "HKEY_LOCAL_MACHINE\\SYSTEM",
    "HKEY_USERS",
    "HKEY_USERS\\.DEFAULT",
    "HKEY_USERS\\S-1-5-18",
};

Bytes Str(std::string_view text) {
  return Encode([&](TWriter& w) { w.WriteString(text); });
}

Bytes BlockOf(TreeModel& tree, bool pruneUniform, bool pruneNewDeleted) {
  return Encode([&](TWriter& w) { WriteTreeBlock(w, tree, pruneUniform, pruneNewDeleted); });
}

void ReadBlock(const Bytes& bytes, TreeModel& tree, bool markRestored = false, size_t bufferSize = kStreamBufferSize) {
  TMemoryStream stream(bytes);
  TReader reader(stream, bufferSize);
  ReadTreeBlock(reader, tree, markRestored);
}

ErrorInfo ReadFailure(const Bytes& bytes, TreeModel& tree, size_t bufferSize = kStreamBufferSize) {
  try {
    ReadBlock(bytes, tree, false, bufferSize);
  } catch (...) {
    return DescribeError(std::current_exception());
  }
  return {ErrorKind::Exception, "(no error)"};
}

// A tree that uses every field, value width and string form.
void FillVaried(TreeModel& tree) {
  TreeNode* top = AddLogNode(tree, nullptr, "My Computer", 5, 2, 2, 0, true);
  TreeNode* a = AddLogNode(tree, top, std::string(300, 'k'), 22, 20, 1, 70000, true);
  AddLogNode(tree, a, "", -1, -1, -1, INT32_MIN, false);
  AddLogNode(tree, a, "\xC4nderung \xFC", 200, 1000, 1000, INT32_MAX, true);
  TreeNode* b = AddLogNode(tree, top, "HKEY_USERS", 24, -200, 300, -5, false);
  AddLogNode(tree, AddLogNode(tree, b, "S-1-5-18", 7, 0, 1, 128, true), "Deep", 3, 0, 1, -129, false);
  AddLogNode(tree, nullptr, "Second top", 3, 2, 2, 32768, false);
}

// One node record whose child records the caller appends.
Bytes Record(std::string_view text, int32_t childCount) {
  return Encode([&](TWriter& w) {
    w.WriteString(text);
    w.WriteInteger(4);
    w.WriteInteger(0);
    w.WriteInteger(1);
    w.WriteBoolean(childCount != 0);
    w.WriteInteger(0);
    w.WriteInteger(childCount);
  });
}

// A chain of nested records, levels deep.
Bytes Chain(int levels) {
  Bytes bytes = Join({Str(kSelectionHeader), Hex("02 01")});
  for (int i = 0; i < levels; ++i) {
    const Bytes record = Record("k", i + 1 < levels ? 1 : 0);
    bytes.insert(bytes.end(), record.begin(), record.end());
  }
  return bytes;
}

}  // namespace

TEST(TreeBlock, FreshRegistryTreeBytes) {
  EXPECT_EQ(kSelectionHeader.size(), 42u);
  FakeRegistryTree tree(kKeys);
  Bytes expected = Join({Hex("06 2A"), TextBytes(kSelectionHeader), Hex("02 01"), Str("My Computer"),
                         Hex("02 03  02 02  02 02  09  02 00  02 04")});
  for (const char* root : {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS"}) {
    const Bytes record = Join({Str(root), Hex("02 03  02 00  02 01  09  02 00  02 00")});
    expected.insert(expected.end(), record.begin(), record.end());
  }
  EXPECT_EQ(BlockOf(tree.model, true, false), expected);

  // Opened keys of an unchecked root are unloaded by the pruning, and a view is told so.
  tree.model.Expand(&tree.Top());
  TreeNode& machine = tree.Loaded("HKEY_LOCAL_MACHINE");
  tree.model.Expand(&machine);
  tree.model.Expand(&tree.Loaded("HKEY_LOCAL_MACHINE\\SOFTWARE"));
  RecordingObserver view(tree.model);
  EXPECT_EQ(BlockOf(tree.model, true, false), expected);
  EXPECT_FALSE(machine.Expanded());
  EXPECT_EQ(machine.Count(), 0u);
  EXPECT_TRUE(machine.HasChildren());
  EXPECT_EQ(view.removed, (std::vector<std::string>{"SYSTEM", "SOFTWARE"}));
  EXPECT_TRUE(tree.Top().Expanded());
}

TEST(TreeBlock, UniformPruningKeepsPartlyCheckedRootsWhole) {
  FakeRegistryTree tree(kKeys);
  tree.model.Expand(&tree.Top());
  for (const char* path :
       {"HKEY_LOCAL_MACHINE", "HKEY_LOCAL_MACHINE\\SOFTWARE", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor", "HKEY_USERS"})
    tree.model.Expand(&tree.Loaded(path));
  SetNodeChecked(tree.Loaded("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor"), true);
  SetNodeChecked(tree.Loaded("HKEY_USERS"), true);

  // Without pruning everything loaded is written and the tree stays as it is.
  const std::string loaded = DumpTree(tree.model);
  TreeModel unpruned;
  ReadBlock(BlockOf(tree.model, false, false), unpruned);
  EXPECT_EQ(DumpTree(unpruned), loaded);
  EXPECT_TRUE(tree.Loaded("HKEY_USERS").Expanded());

  TreeModel pruned;
  ReadBlock(BlockOf(tree.model, true, false), pruned);
  EXPECT_EQ(DumpTree(pruned), DumpTree(tree.model));
  TreeNode& users = tree.Loaded("HKEY_USERS");
  EXPECT_EQ(users.Count(), 0u);
  EXPECT_TRUE(users.HasChildren());
  EXPECT_FALSE(users.Expanded());
  // The partly checked root keeps even its uniform deeper subtrees.
  EXPECT_EQ(tree.Loaded("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App").StateIndex(), kStateChecked);
  EXPECT_TRUE(tree.Loaded("HKEY_LOCAL_MACHINE").Expanded());
  EXPECT_NE(DumpTree(pruned), loaded);
}

TEST(TreeBlock, NewAndDeletedNodesAreWrittenWithoutChildren) {
  TreeModel result;
  TreeNode* top = AddLogNode(result, nullptr, "My Computer", 0, 2, 2, 0, true);
  TreeNode* machine = AddLogNode(result, top, "HKEY_LOCAL_MACHINE", 0, 0, 1, 0, true);
  AddLogNode(result, AddLogNode(result, machine, "New", 6, 0, 1, 100, true), "Sub", 6, 0, 1, 120, false);
  AddLogNode(result, AddLogNode(result, machine, "Changed", 8, 0, 1, 300, true), "Inner", 8, 0, 1, 320, false);
  TreeNode* path = AddLogNode(result, machine, "Path", 16, 0, 1, 0, true);
  AddLogNode(result, AddLogNode(result, path, "RestoredGone", 23, 0, 1, 200, true), "Sub", 23, 0, 1, 220, false);
  AddLogNode(result, AddLogNode(result, path, "RestoredNew", 22, 0, 1, 400, true), "Sub", 22, 0, 1, 420, false);
  const std::string whole = DumpTree(result);

  TreeModel read;
  ReadBlock(BlockOf(result, false, true), read);
  EXPECT_EQ(DumpTree(result), whole);  // only the file is pruned
  EXPECT_EQ(DumpTree(read),
            "My Computer | state 0 | images 2/2 | has children | data 0\n"
            "  HKEY_LOCAL_MACHINE | state 0 | images 0/1 | has children | data 0\n"
            "    New | state 6 | images 0/1 | has children | data 100\n"
            "    Changed | state 8 | images 0/1 | has children | data 300\n"
            "      Inner | state 8 | images 0/1 | data 320\n"
            "    Path | state 16 | images 0/1 | has children | data 0\n"
            "      RestoredGone | state 23 | images 0/1 | has children | data 200\n"
            "      RestoredNew | state 22 | images 0/1 | has children | data 400\n");

  TreeModel unpruned;
  ReadBlock(BlockOf(result, false, false), unpruned);
  EXPECT_EQ(DumpTree(unpruned), whole);
}

TEST(TreeBlock, RoundTripKeepsEveryField) {
  TreeModel tree;
  FillVaried(tree);
  const Bytes block = BlockOf(tree, false, false);

  TreeModel read;
  AddLogNode(read, nullptr, "Old content", 3, 0, 0, 0, false);
  RecordingObserver view(read);
  ReadBlock(block, read);
  EXPECT_EQ(DumpTree(read), DumpTree(tree));
  EXPECT_EQ(view.removed, std::vector<std::string>{"Old content"});
  EXPECT_EQ(view.updates, 1);
  EXPECT_EQ(view.updateDepth, 0);
  EXPECT_EQ(BlockOf(read, false, false), block);

  // Restored nodes (state bit 16) are greyed only when asked for.
  ReadBlock(block, read, true);
  std::vector<std::string> cut;
  read.ForEach([&](TreeNode& node) {
    if (node.Cut()) cut.push_back(std::to_string(node.StateIndex()));
  });
  EXPECT_EQ(cut, (std::vector<std::string>{"22", "-1", "24"}));
}

TEST(TreeBlock, AWrongHeaderLeavesTheTreeUntouched) {
  const std::string foreign[] = {
      "* THIS IS A SNAPTRACE SELECTION DATAFILE",
      "* this is a snaptrace selection datafile *",
      "* THIS IS A SNAPTRACE RESULT DATAFILE *",
      "",
  };
  for (const std::string& header : foreign) {
    TreeModel tree;
    FillVaried(tree);
    const std::string before = DumpTree(tree);
    TreeModel source;
    FillVaried(source);
    Bytes bytes = BlockOf(source, false, false);
    const Bytes replaced = Str(header);
    bytes.erase(bytes.begin(), bytes.begin() + 44);
    bytes.insert(bytes.begin(), replaced.begin(), replaced.end());

    const ErrorInfo error = ReadFailure(bytes, tree);
    EXPECT_EQ(error.message, "ERROR: \rThis not a selection file ") << header;
    EXPECT_EQ(DumpTree(tree), before) << header;
  }
}

TEST(TreeBlock, EveryTruncationIsAReadError) {
  TreeModel source;
  FillVaried(source);
  const Bytes block = BlockOf(source, false, false);
  for (size_t bufferSize : {kStreamBufferSize, size_t{7}}) {
    for (size_t length = 0; length < block.size(); ++length) {
      TreeModel tree;
      RecordingObserver view(tree);
      const ErrorInfo error = ReadFailure(Bytes(block.begin(), block.begin() + length), tree, bufferSize);
      EXPECT_EQ(error.kind, ErrorKind::EReadError) << length;
      EXPECT_EQ(error.message, "Stream read error") << length;
      EXPECT_EQ(view.updateDepth, 0) << length;
    }
  }
}

TEST(TreeBlock, DamagedBlocksFailWithoutHugeAllocationsOrDeepRecursion) {
  struct Case {
    const char* name;
    Bytes bytes;
    const char* message;
  };
  const Bytes header = Str(kSelectionHeader);
  const Case cases[] = {
      {"top count of 2 billion", Join({header, Hex("04 FF FF FF 7F"), Record("a", 0)}), "Stream read error"},
      {"child count of 2 billion", Join({header, Hex("02 01"), Record("a", INT32_MAX), Record("b", 0)}),
       "Stream read error"},
      {"negative top count", Join({header, Hex("02 FF")}), "Invalid property value"},
      {"negative child count", Join({header, Hex("02 01"), Record("a", -1)}), "Invalid property value"},
      {"long text beyond the end", Join({header, Hex("02 01 0C FF FF FF 7F 41")}), "Stream read error"},
      {"text where the state belongs", Join({header, Hex("02 01"), Str("a"), Str("b")}), "Invalid property value"},
      {"nesting far deeper than any registry", Chain(100000), "Invalid property value"},
  };
  for (const Case& c : cases) {
    TreeModel tree;
    const ErrorInfo error = ReadFailure(c.bytes, tree);
    EXPECT_EQ(error.kind, ErrorKind::EReadError) << c.name;
    EXPECT_EQ(error.message, c.message) << c.name;
  }

  // The deepest registry paths still load.
  TreeModel deep;
  ReadBlock(Chain(600), deep);
  int levels = 0;
  deep.ForEach([&](TreeNode&) { ++levels; });
  EXPECT_EQ(levels, 600);
}

TEST(TreeBlock, FileForms) {
  const auto folder =
      std::filesystem::temp_directory_path() /
      ("quorvel-treeblock-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(folder);
  const std::string good = (folder / "good.SXS").string();
  const std::string bad = (folder / "bad.SXS").string();

  TreeModel tree;
  FillVaried(tree);
  WriteTreeBlock(good, tree, false, false);
  TreeModel read;
  ReadTreeBlock(good, read, false);
  EXPECT_EQ(DumpTree(read), DumpTree(tree));
  std::ifstream in(good, std::ios::binary);
  EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(in), {}), BlockOf(tree, false, false));
  in.close();

  {
    TMemoryStream stream;
    TWriter writer(stream, kStreamBufferSize);
    writer.WriteString("* THIS IS A SNAPTRACE RESULT DATAFILE *");
    writer.FlushBuffer();
    std::ofstream(bad, std::ios::binary).write(reinterpret_cast<const char*>(stream.Data()), stream.Size());
  }
  try {
    ReadTreeBlock(bad, read, false);
    ADD_FAILURE() << "a foreign file was read";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "ERROR: " + bad + "\rThis not a selection file ");
  }
  EXPECT_EQ(DumpTree(read), DumpTree(tree));
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

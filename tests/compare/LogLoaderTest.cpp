#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "compare/ChangeBlockReader.h"
#include "compare/LogLoader.h"
#include "compare/ResultRecords.h"
#include "core/Errors.h"
#include "tests/compare/SampleLog.h"
#include "tests/datafiles/TreeDump.h"

namespace {

ErrorInfo ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (...) {
    return DescribeError(std::current_exception());
  }
  return {ErrorKind::Exception, "no error"};
}

std::vector<std::string> ChildTexts(const TreeNode& node) {
  std::vector<std::string> texts;
  for (size_t i = 0; i < node.Count(); ++i) texts.push_back(node.Child(i)->Text());
  return texts;
}

class LogLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fileName_ = folder_.PathOf("sample.SXL");
    WriteFileBytes(fileName_, sample_.bytes);
  }

  TreeNode& RegistryNode(const std::string& path) {
    TreeNode* node = LoadedLog::Find(log_.registry, path);
    EXPECT_NE(node, nullptr) << path;
    return *node;
  }
  void Expand(TreeModel& tree, TreeNode& node, LogSection section) {
    ExpandResultNode(tree, node, log_.fileName, log_.positions, section, log_.ui);
  }

  TempFolder folder_{"logloader"};
  SampleLog sample_;
  std::string fileName_;
  LoadedLog log_;
};

}  // namespace

TEST_F(LogLoaderTest, LoadFillsTreesPositionsAndGreysRestoredNodes) {
  int treesLoadedCalls = 0;
  LoadLogFile(fileName_, log_.registrySelection, log_.driveSelection, log_.systemFileSelection, log_.excludeList,
              log_.Results(), log_.positions, log_.ui, [&] { ++treesLoadedCalls; });

  EXPECT_EQ(treesLoadedCalls, 1);
  EXPECT_EQ(DumpTree(log_.registrySelection), DumpTree(sample_.selection.registry));
  EXPECT_EQ(DumpTree(log_.driveSelection), DumpTree(sample_.selection.drives));
  EXPECT_EQ(DumpTree(log_.systemFileSelection), DumpTree(sample_.selection.systemFiles));
  EXPECT_EQ(log_.excludeList, sample_.selection.excludeList);

  // The restored node keeps its kind in the low bits and is shown greyed.
  sample_.registry.SetCut(LoadedLog::Find(sample_.registry, "My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone"), true);
  EXPECT_EQ(DumpTree(log_.registry), DumpTree(sample_.registry));
  EXPECT_EQ(DumpTree(log_.drives), DumpTree(sample_.drives));
  EXPECT_EQ(DumpTree(log_.systemFiles), DumpTree(sample_.systemFiles));
  for (LogSection s : {LogSection::Registry, LogSection::Drives, LogSection::SystemFiles}) {
    EXPECT_EQ(PositionsOf(log_.positions, s).baseOffset, PositionsOf(sample_.positions, s).baseOffset);
    EXPECT_EQ(PositionsOf(log_.positions, s).treePosition, PositionsOf(sample_.positions, s).treePosition);
  }
  EXPECT_LT(sample_.positions.registry.treePosition, sample_.positions.registry.baseOffset);
  EXPECT_LT(sample_.positions.registry.baseOffset, sample_.positions.drives.treePosition);
  EXPECT_TRUE(log_.ui.messages.empty());
}

TEST_F(LogLoaderTest, LoadSkipsTheChangeBlocksUnread) {
  // Blocks of bytes that are no tagged values at all: a load that read them would fail.
  LogSelection selection;
  const Bytes junk(5000, 0xFF);
  TreeModel* const results[3] = {&sample_.registry, &sample_.drives, &sample_.systemFiles};
  const Bytes blocks[3] = {junk, junk, junk};
  LogPositions expected;
  WriteFileBytes(fileName_, AssembleLog(selection, results, blocks, expected));

  log_.Load(fileName_);
  EXPECT_EQ(log_.positions.systemFiles.baseOffset, expected.systemFiles.baseOffset);
  EXPECT_EQ(log_.systemFiles.FirstTop()->Text(), "System Files");
}

TEST_F(LogLoaderTest, FilesThatAreNoLogsAreRefusedByName) {
  struct Case {
    const char* what;
    Bytes bytes;
  };
  const Case cases[] = {
      {"empty file", {}},
      {"other header", Encode([](TWriter& w) { w.WriteString(kSelectionHeader); })},
      {"no string first", Encode([](TWriter& w) { w.WriteInteger(7); })},
      {"header cut short", Bytes(sample_.bytes.begin(), sample_.bytes.begin() + 10)},
  };
  for (const Case& c : cases) {
    WriteFileBytes(fileName_, c.bytes);
    LoadedLog log;
    const ErrorInfo error = ErrorOf([&] { log.Load(fileName_); });
    EXPECT_EQ(error.message, "Error: " + fileName_ + "\rNot a logfile !") << c.what;
    EXPECT_EQ(log.registrySelection.TopCount(), 0u) << c.what;
  }

  const ErrorInfo missing = ErrorOf([&] { log_.Load(folder_.PathOf("missing.SXL")); });
  EXPECT_EQ(missing.kind, ErrorKind::EFOpenError);
}

TEST_F(LogLoaderTest, DamagedSectionsFailAndLeavePositionsOfThePreviousLog) {
  const LogPositions& at = sample_.positions;
  // The most significant byte of the drive block's length, just before its base offset.
  const size_t lengthHighByte = static_cast<size_t>(at.drives.baseOffset) - 1;
  struct Case {
    const char* what;
    std::function<void(Bytes&)> damage;
    const char* message;
  };
  const Case cases[] = {
      {"cut inside the drive tree", [&](Bytes& b) { b.resize(static_cast<size_t>(at.drives.treePosition) + 60); },
       "Stream read error"},
      {"negative block length", [&](Bytes& b) { b[lengthHighByte] = 0xF0; }, "Invalid property value"},
      {"system block longer than the file", [&](Bytes& b) { b.resize(b.size() - 1); }, "Stream read error"},
  };
  for (const Case& c : cases) {
    Bytes bytes = sample_.bytes;
    c.damage(bytes);
    WriteFileBytes(fileName_, bytes);
    LoadedLog log;
    log.positions.registry.baseOffset = 4711;
    const ErrorInfo error = ErrorOf([&] { log.Load(fileName_); });
    EXPECT_EQ(error.kind, ErrorKind::EReadError) << c.what;
    EXPECT_EQ(error.message, "ERROR: " + fileName_ + "\r" + c.message) << c.what << ": the message names the log";
    EXPECT_EQ(log.positions.registry.baseOffset, 4711) << c.what;
    // The registry section was complete and stays.
    EXPECT_EQ(DumpTree(log.registry).find("Changed") != std::string::npos, true) << c.what;
  }
}

TEST_F(LogLoaderTest, ExpansionAddsChildrenInLogOrderWithTheirOffsets) {
  log_.Load(fileName_);
  TreeNode& vendor = RegistryNode("My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor");
  Expand(log_.registry, vendor, LogSection::Registry);

  ASSERT_EQ(ChildTexts(vendor), (std::vector<std::string>{"App", "Empty"}));
  const TreeNode& app = *vendor.Child(0);
  const TreeNode& empty = *vendor.Child(1);
  // App's record follows the subkey count (2 bytes) and its name (5 bytes).
  EXPECT_EQ(app.Data(), sample_.vendor + 7);
  EXPECT_TRUE(app.HasChildren());
  EXPECT_FALSE(empty.HasChildren());
  for (const TreeNode* child : {&app, &empty}) {
    EXPECT_EQ(child->StateIndex(), 6);
    EXPECT_EQ(child->ImageIndex(), 0);
    EXPECT_EQ(child->SelectedIndex(), 1);
    EXPECT_FALSE(child->Cut());
  }
  EXPECT_EQ(log_.ui.waitDepth, 0);

  // The offsets lead to the children's own records.
  Expand(log_.registry, *vendor.Child(0), LogSection::Registry);
  EXPECT_EQ(ChildTexts(app), (std::vector<std::string>{"Sub"}));
  std::vector<ResultRow> rows;
  ReadRegistryRows(app, log_.fileName, log_.positions, "(default)", "(value not set)", rows);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].name, "Version");
  rows.clear();
  ReadRegistryRows(empty, log_.fileName, log_.positions, "(default)", "(value not set)", rows);
  EXPECT_TRUE(rows.empty());

  // The file is closed after each expansion, so restores may write it in between.
  EXPECT_TRUE(std::filesystem::remove(fileName_));
}

TEST_F(LogLoaderTest, ExpansionTwiceAddsNoDuplicates) {
  log_.Load(fileName_);
  TreeNode& vendor = RegistryNode("My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor");
  log_.registry.SetLoader(ResultTreeLoader(log_.fileName, log_.positions, LogSection::Registry, log_.ui));
  log_.registry.Expand(&vendor);
  log_.registry.Collapse(&vendor);
  log_.registry.Expand(&vendor);
  Expand(log_.registry, vendor, LogSection::Registry);
  EXPECT_EQ(ChildTexts(vendor), (std::vector<std::string>{"App", "Empty"}));
}

TEST_F(LogLoaderTest, ChildrenOfRestoredNodesTakeTheWholeState) {
  log_.Load(fileName_);
  TreeNode& gone = RegistryNode("My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone");
  Expand(log_.registry, gone, LogSection::Registry);
  ASSERT_EQ(ChildTexts(gone), (std::vector<std::string>{"Child"}));
  EXPECT_EQ(gone.Child(0)->StateIndex(), 7 | 16);
  EXPECT_TRUE(gone.Child(0)->Cut());
}

TEST_F(LogLoaderTest, DriveFoldersExpandFromTheDriveBlock) {
  log_.Load(fileName_);
  TreeNode& newApp = *LoadedLog::Find(log_.drives, "Drives\\C: System\\NEWAPP");
  Expand(log_.drives, newApp, LogSection::Drives);
  ASSERT_EQ(ChildTexts(newApp), (std::vector<std::string>{"BIN"}));
  EXPECT_FALSE(newApp.Child(0)->HasChildren());
  EXPECT_EQ(newApp.Child(0)->SelectedIndex(), 0);
}

TEST_F(LogLoaderTest, ExpansionRefusesOtherKindsAndIgnoresWhatItCannotExpand) {
  log_.Load(fileName_);
  TreeNode& changed = RegistryNode("My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Changed");
  TreeNode& windows = *LoadedLog::Find(log_.drives, "Drives\\C: System\\WINDOWS");
  struct Refusal {
    TreeModel& tree;
    TreeNode& node;
    LogSection section;
    const char* message;
  };
  const Refusal refusals[] = {
      {log_.registry, changed, LogSection::Registry, "Only available for new or deleted keys!"},
      {log_.drives, windows, LogSection::Drives, "Only available for new and deleted keys!"},
  };
  for (const Refusal& r : refusals) {
    EXPECT_EQ(ErrorOf([&] { Expand(r.tree, r.node, r.section); }).message, r.message);
    EXPECT_EQ(r.node.Count(), 0u);
  }

  // No log, no record offset, the system-file tree: nothing happens.
  TreeNode& vendor = RegistryNode("My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor");
  ExpandResultNode(log_.registry, vendor, "", log_.positions, LogSection::Registry, log_.ui);
  TreeNode& users = RegistryNode("My Computer\\HKEY_USERS");
  Expand(log_.registry, users, LogSection::Registry);
  TreeNode& section = *LoadedLog::Find(log_.systemFiles, "System Files\\WIN.INI\\[NewSect]");
  Expand(log_.systemFiles, section, LogSection::SystemFiles);
  EXPECT_EQ(vendor.Count() + users.Count() + section.Count(), 0u);
}

TEST_F(LogLoaderTest, RecordOffsetsOutsideTheBlockAreReadErrors) {
  log_.Load(fileName_);
  TreeNode& vendor = RegistryNode("My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor");
  const auto blockLength =
      static_cast<int32_t>(log_.positions.drives.treePosition - log_.positions.registry.baseOffset);
  // Past the registry block lies the drive tree: readable bytes, but not this block's.
  for (int32_t offset : {-5, blockLength, blockLength + 3, 0x7FFFFFFF}) {
    log_.registry.SetData(&vendor, offset);
    const ErrorInfo error = ErrorOf([&] { Expand(log_.registry, vendor, LogSection::Registry); });
    EXPECT_EQ(error.kind, ErrorKind::EReadError) << offset;
    EXPECT_EQ(error.message, "Stream read error") << offset;
    EXPECT_EQ(vendor.Count(), 0u);
  }
  EXPECT_EQ(log_.ui.waitDepth, 0);
}

TEST_F(LogLoaderTest, ExpandSubtreeOpensEveryNewAndDeletedLevel) {
  log_.Load(fileName_);
  ExpandSubtree(log_.registry, *log_.registry.FirstTop(), log_.fileName, log_.positions, LogSection::Registry, log_.ui);
  EXPECT_NE(LoadedLog::Find(log_.registry, "My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App\\Sub"), nullptr);
  EXPECT_NE(LoadedLog::Find(log_.registry, "My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone\\Child"), nullptr);
  EXPECT_TRUE(RegistryNode("My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App").Expanded());

  ExpandSubtree(log_.drives, *log_.drives.FirstTop(), log_.fileName, log_.positions, LogSection::Drives, log_.ui);
  EXPECT_NE(LoadedLog::Find(log_.drives, "Drives\\C: System\\NEWAPP\\BIN"), nullptr);
  EXPECT_EQ(log_.ui.waitDepth, 0);
}

TEST_F(LogLoaderTest, DeepNestingIsSkippedWithoutRecursionAndExpandedOnlySoFar) {
  // A new key whose record nests 3000 keys deep, each with one subkey and no values.
  constexpr int kDepth = 3000;
  ChangeBlockBuilder reg(kRegistryChangeHeader);
  const int32_t offset = reg.AddWith([](TWriter& w) {
    for (int i = 0; i < kDepth; ++i) {
      w.WriteInteger(1);
      w.WriteString("k");
    }
    w.WriteInteger(0);
    for (int i = 0; i <= kDepth; ++i) w.WriteInteger(0);
  });
  TreeModel registry;
  AddLogNode(registry, nullptr, "My Computer", 0, 2, 2);
  TreeNode* deep = AddLogNode(registry, registry.FirstTop(), "Deep", 6, 0, 1, offset, true);
  TreeModel* const results[3] = {&registry, &sample_.drives, &sample_.systemFiles};
  const Bytes blocks[3] = {reg.Finish(), {}, {}};
  LogSelection selection;
  LogPositions positions;
  WriteFileBytes(fileName_, AssembleLog(selection, results, blocks, positions));

  ExpandResultNode(registry, *deep, fileName_, positions, LogSection::Registry, log_.ui);
  ASSERT_EQ(deep->Count(), 1u);
  EXPECT_TRUE(deep->Child(0)->HasChildren());

  const ErrorInfo error =
      ErrorOf([&] { ExpandSubtree(registry, *deep, fileName_, positions, LogSection::Registry, log_.ui); });
  EXPECT_EQ(error.kind, ErrorKind::EReadError);
  int deepest = 0;
  registry.ForEach([&](TreeNode& node) { deepest = std::max(deepest, node.Level()); });
  EXPECT_EQ(deepest, kMostResultLevels);
  EXPECT_EQ(log_.ui.waitDepth, 0);
}

namespace {

// A log whose registry result tree holds the nodes nodes(tree, top) adds below "My Computer",
// over the registry change block reg.
void WriteRegistryLog(const std::string& fileName, ChangeBlockBuilder& reg,
                      const std::function<void(TreeModel&, TreeNode*)>& nodes) {
  TreeModel registry, drives, systemFiles;
  nodes(registry, AddLogNode(registry, nullptr, "My Computer", 0, 2, 2, 0, true));
  AddLogNode(drives, nullptr, "Drives", 0, 2, 2);
  AddLogNode(systemFiles, nullptr, "System Files", 0, 0, 0);
  TreeModel* const results[3] = {&registry, &drives, &systemFiles};
  const Bytes blocks[3] = {reg.Finish(), {}, {}};
  LogSelection selection;
  LogPositions positions;
  WriteFileBytes(fileName, AssembleLog(selection, results, blocks, positions));
}

LogKey WideKey(int subkeys) {
  LogKey key{"", {}, {}};
  for (int i = 0; i < subkeys; ++i) key.subkeys.push_back({"K" + std::to_string(i), {{"In", {}, {}}}, {}});
  return key;
}

size_t NodeCount(const TreeModel& tree) {
  size_t count = 0;
  tree.ForEach([&](TreeNode&) { ++count; });
  return count;
}

}  // namespace

// A log is never a memory bomb: result nodes that share a record would expand it once per node,
// so a small hand-made log could grow to millions of nodes.
TEST_F(LogLoaderTest, ResultNodesThatRepeatARecordOffsetAreRefusedAtLoad) {
  ChangeBlockBuilder reg(kRegistryChangeHeader);
  const int32_t record = reg.AddKey(WideKey(50));
  WriteRegistryLog(fileName_, reg, [&](TreeModel& tree, TreeNode* top) {
    for (int i = 0; i < 200; ++i) AddLogNode(tree, top, "N" + std::to_string(i), 6, 0, 1, record, true);
  });
  const ErrorInfo error = ErrorOf([&] { log_.Load(fileName_); });
  EXPECT_EQ(error.kind, ErrorKind::EReadError);
  EXPECT_EQ(error.message, "ERROR: " + fileName_ + "\rInvalid property value");
}

// A node pointing into another node's record: expanding the outer one would build the inner
// record's nodes a second time.
TEST_F(LogLoaderTest, ARecordHoldingAnotherNodesRecordIsNotExpanded) {
  ChangeBlockBuilder reg(kRegistryChangeHeader);
  const int32_t outer = reg.AddKey(WideKey(3));
  // The first subkey's record follows the subkey count (2 bytes) and its name "K0" (4 bytes).
  const int32_t inner = outer + 6;
  WriteRegistryLog(fileName_, reg, [&](TreeModel& tree, TreeNode* top) {
    AddLogNode(tree, top, "Outer", 6, 0, 1, outer, true);
    AddLogNode(tree, top, "Inner", 6, 0, 1, inner, true);
  });
  log_.Load(fileName_);
  TreeNode& innerNode = RegistryNode("My Computer\\Inner");
  Expand(log_.registry, innerNode, LogSection::Registry);
  EXPECT_EQ(ChildTexts(innerNode), std::vector<std::string>{"In"});

  TreeNode& outerNode = RegistryNode("My Computer\\Outer");
  const ErrorInfo error = ErrorOf([&] { Expand(log_.registry, outerNode, LogSection::Registry); });
  EXPECT_EQ(error.kind, ErrorKind::EReadError);
  EXPECT_EQ(error.message, "Invalid property value");
  EXPECT_EQ(outerNode.Count(), 0u);
}

// Counts that claim more nodes than the file can hold end in the read error at the end of the
// block or file, with nothing added.
TEST_F(LogLoaderTest, CountsClaimingMoreNodesThanTheLogHoldsAreReadErrors) {
  ChangeBlockBuilder reg(kRegistryChangeHeader);
  const int32_t record = reg.AddWith([](TWriter& w) {
    w.WriteInteger(100000000);
    for (int i = 0; i < 10; ++i) {
      w.WriteString("k");
      w.WriteInteger(0);
      w.WriteInteger(0);
    }
  });
  WriteRegistryLog(fileName_, reg,
                   [&](TreeModel& tree, TreeNode* top) { AddLogNode(tree, top, "Claims", 6, 0, 1, record, true); });
  log_.Load(fileName_);
  TreeNode& claims = RegistryNode("My Computer\\Claims");
  const ErrorInfo expansion = ErrorOf(
      [&] { ExpandSubtree(log_.registry, claims, log_.fileName, log_.positions, LogSection::Registry, log_.ui); });
  EXPECT_EQ(expansion.kind, ErrorKind::EReadError);
  EXPECT_EQ(expansion.message, "Stream read error");
  EXPECT_EQ(NodeCount(log_.registry), 2u);

  // A result tree whose top node claims a hundred million children.
  Bytes bytes = ReadFileBytes(fileName_);
  const Bytes topCount = Join({TextBytes("My Computer"), Hex("02 00 02 02 02 02 09 02 00 02 01")});
  const auto at = std::search(bytes.begin(), bytes.end(), topCount.begin(), topCount.end());
  ASSERT_NE(at, bytes.end());
  const auto countAt = at - bytes.begin() + static_cast<std::ptrdiff_t>(topCount.size()) - 2;
  const Bytes claim = Hex("04 00 E1 F5 05");
  bytes.erase(bytes.begin() + countAt, bytes.begin() + countAt + 2);
  bytes.insert(bytes.begin() + countAt, claim.begin(), claim.end());
  WriteFileBytes(fileName_, bytes);
  LoadedLog log;
  const ErrorInfo load = ErrorOf([&] { log.Load(fileName_); });
  EXPECT_EQ(load.kind, ErrorKind::EReadError);
  EXPECT_EQ(load.message.rfind("ERROR: " + fileName_ + "\r", 0), 0u) << load.message;
  EXPECT_LT(NodeCount(log.registry), 10u);
}

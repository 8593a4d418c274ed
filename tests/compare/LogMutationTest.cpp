// Damaged log files: thousands of deterministic mutations of a small valid log go through the
// load, the expansion of every result node, the rows of every node and the three text
// exports. Only our own errors may come out: no crash, hang, foreign exception or unbounded
// allocation (the sanitizer build aborts on those), and at most one message per log.

#include <gtest/gtest.h>

#include <chrono>

#include "compare/LogLoader.h"
#include "compare/ResultRecords.h"
#include "compare/TextExport.h"
#include "core/Errors.h"
#include "tests/compare/SampleLog.h"

namespace {

// xorshift64*: the same mutations on every run and platform.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1DULL;
  }
  size_t Below(size_t n) { return n ? static_cast<size_t>(Next() % n) : 0; }

 private:
  uint64_t state_;
};

// Bytes that mean something to the reader: tags, counts, lengths, sign bits.
constexpr uint8_t kTelling[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x06, 0x08, 0x09,
                                0x0C, 0x10, 0x16, 0x7F, 0x80, 0xFE, 0xFF};

// Mostly in place, so that many damaged logs still load and their blocks get read; some
// mutations shift or cut everything after them.
void Mutate(Bytes& bytes, Random& random, size_t from) {
  const size_t at = from + random.Below(bytes.size() - from);
  const auto position = bytes.begin() + static_cast<std::ptrdiff_t>(at);
  switch (random.Below(10)) {
    case 0:
    case 1:
    case 2:
      bytes[at] ^= static_cast<uint8_t>(1u << random.Below(8));
      break;
    case 3:
    case 4:
    case 5:
      bytes[at] = kTelling[random.Below(sizeof kTelling)];
      break;
    case 6: {
      // A 32-bit integer with a large or negative value where a count or offset may stand.
      const uint32_t value = static_cast<uint32_t>(random.Next());
      const uint8_t wide[] = {kTagInt32, static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
      for (size_t i = 0; i < sizeof wide && at + i < bytes.size(); ++i) bytes[at + i] = wide[i];
      break;
    }
    case 7:
      bytes.resize(at);
      break;
    case 8:
      bytes.erase(position, position + static_cast<std::ptrdiff_t>(std::min(bytes.size() - at, 1 + random.Below(8))));
      break;
    default:
      bytes.insert(position, kTelling[random.Below(sizeof kTelling)]);
  }
}

// Runs one step; our errors are expected, anything else fails the test by propagating.
template <typename Step>
void Try(Step step, int& ourErrors) {
  try {
    step();
  } catch (const Exception&) {
    ++ourErrors;
  }
}

// Everything the window and the export do with a loaded log.
void Exercise(LoadedLog& log, int& ourErrors) {
  if (log.fileName.empty()) return;
  TreeModel* const trees[3] = {&log.registry, &log.drives, &log.systemFiles};
  const LogSection sections[3] = {LogSection::Registry, LogSection::Drives, LogSection::SystemFiles};
  for (int s = 0; s < 3; ++s) {
    TreeModel& tree = *trees[s];
    if (!tree.FirstTop()) continue;
    Try([&] { ExpandSubtree(tree, *tree.FirstTop(), log.fileName, log.positions, sections[s], log.ui); }, ourErrors);
    std::vector<TreeNode*> nodes;
    tree.ForEach([&](TreeNode& node) {
      if (node.Data() != 0) nodes.push_back(&node);
    });
    for (TreeNode* node : nodes) {
      std::vector<ResultRow> rows;
      Try(
          [&] {
            if (sections[s] == LogSection::Registry)
              ReadRegistryRows(*node, log.fileName, log.positions, "(default)", "(value not set)", rows);
            else if (sections[s] == LogSection::Drives)
              ReadDriveRows(*node, log.fileName, log.positions, rows);
            else
              ReadSystemFileRows(*node, log.fileName, log.positions, 23, rows);
          },
          ourErrors);
    }
    Try(
        [&] {
          BuildTextExport(tree, tree.FirstTop(), {kAllKinds, sections[s]}, log.fileName, log.positions, "(default)",
                          log.ui);
        },
        ourErrors);
  }
}

}  // namespace

TEST(LogMutation, DamagedLogsEndInOurErrorsOnly) {
  constexpr int kMutations = 3000;
  const SampleLog sample;
  TempFolder folder("mutation");
  const std::string name = folder.PathOf("mutated.SXL");
  Random random(20240611);
  int loadsFailed = 0, loadsDone = 0, laterErrors = 0;
  const auto started = std::chrono::steady_clock::now();

  for (int i = 0; i < kMutations; ++i) {
    Bytes bytes = sample.bytes;
    // Most damage goes to the result trees and change blocks; some to the header and selections.
    const size_t from = random.Below(5) == 0 ? 0 : static_cast<size_t>(sample.positions.registry.treePosition);
    for (size_t n = 1 + random.Below(3); n > 0 && bytes.size() > from; --n) Mutate(bytes, random, from);
    WriteFileBytes(name, bytes);

    LoadedLog log;
    try {
      log.Load(name);
      ++loadsDone;
    } catch (const Exception&) {
      ++loadsFailed;
      // The window keeps the trees read so far; expanding and listing them must stay safe too,
      // against the positions of the intact log.
      log.positions = sample.positions;
      log.fileName = name;
    }
    Exercise(log, laterErrors);
    ASSERT_LE(log.ui.messages.size(), 1u) << "mutation " << i;
    ASSERT_EQ(log.ui.waitDepth, 0) << "mutation " << i;
  }

  // The run reached both outcomes and the damaged blocks.
  EXPECT_GT(loadsFailed, kMutations / 20);
  EXPECT_GT(loadsDone, kMutations / 10);
  EXPECT_GT(laterErrors, kMutations / 20);
  std::cout << "loads done " << loadsDone << ", failed " << loadsFailed << ", later errors " << laterErrors << ", "
            << std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count()
            << " ms\n";
}

#pragma once
// A compare in a folder of its own: the old and new configuration files, the six trees, the
// exclude list and a scripted user, plus readers for what the log file holds.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "compare/CompareConfigurations.h"
#include "compare/LogFile.h"
#include "core/ScriptedInteraction.h"
#include "datafiles/TReader.h"
#include "tests/compare/ConfigurationBuilder.h"

// Thrown by CappedInteraction; deliberately no std::exception, so no handler of the engine can
// mistake it for one of its own errors.
struct MessageFlood {};

// Fails a run that shows more messages than a damaged file may cause.
class CappedInteraction : public ScriptedInteraction {
 public:
  size_t cap = 50;
  MsgAnswer Ask(MsgType type, const std::string& text, MsgButtons buttons) override {
    if (messages.size() >= cap) throw MessageFlood();
    return ScriptedInteraction::Ask(type, text, buttons);
  }
};

inline constexpr SystemFileImages kTestImages{21, 22};

class CompareFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> serial{0};
    folder_ = std::filesystem::temp_directory_path() /
              ("quorvel-compare-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
               std::to_string(++serial));
    std::filesystem::create_directories(folder_);
    oldFile = Path("Old.SXD");
    newFile = Path("New.SXD");
    logFile = Path("Result.SXL");
  }

  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  std::string Path(const std::string& name) const { return (folder_ / name).string(); }

  CompareTrees Trees() {
    return {registrySelection, driveSelection,   systemFileSelection, registryResult,
            driveResult,       systemFileResult, kTestImages};
  }

  void Run() { CompareConfigurations(oldFile, newFile, logFile, Trees(), excludeList, positions, ui); }

  void Compare(const Configuration& oldConfig, const Configuration& newConfig) {
    WriteBytesToFile(oldFile, EncodeConfiguration(oldConfig));
    WriteBytesToFile(newFile, EncodeConfiguration(newConfig));
    Run();
  }

  Bytes Log() const { return ReadBytesOfFile(logFile); }

  // The log's bytes from a section's base offset plus a node's record offset.
  Bytes Block(const SectionPositions& section, const TreeNode& node, size_t size) const {
    const Bytes log = Log();
    const size_t start = static_cast<size_t>(section.baseOffset + node.Data());
    if (node.Data() == 0 || start + size > log.size()) return {};
    return Bytes(log.begin() + static_cast<std::ptrdiff_t>(start),
                 log.begin() + static_cast<std::ptrdiff_t>(start + size));
  }

  enum class RecordForm { Registry, File, IniEntry, Line };

  // The change records of a node of kind 8, one text per record: name, kind, then the data.
  std::vector<std::string> Records(const SectionPositions& section, const TreeNode& node, RecordForm form) const {
    TMemoryStream stream(Log());
    TReader reader(stream, kStreamBufferSize);
    reader.SetPosition(section.baseOffset + node.Data());
    std::vector<std::string> records;
    const int32_t count = reader.ReadInteger();
    for (int32_t i = 0; i < count; ++i) {
      std::string record = reader.ReadString();
      record += " " + std::to_string(reader.ReadInteger());
      switch (form) {
        case RecordForm::Registry: {
          const int32_t code = reader.ReadInteger();
          record += " " + std::to_string(code) + ":";
          if (code == 1 || code == 2) {
            record += "\"" + reader.ReadString() + "\"";
          } else if (code == 3) {
            record += std::to_string(reader.ReadInteger());
          } else {
            Bytes bytes(static_cast<size_t>(reader.ReadInteger()));
            reader.Read(bytes.data(), bytes.size());
            for (uint8_t b : bytes) record += " " + std::to_string(b);
          }
          break;
        }
        case RecordForm::File:
          for (int field = 0; field < 3; ++field) record += " " + std::to_string(reader.ReadInteger());
          break;
        case RecordForm::IniEntry:
          record += " " + reader.ReadString();
          break;
        case RecordForm::Line:
          record += " " + std::to_string(reader.ReadInteger());
          break;
      }
      records.push_back(record);
    }
    return records;
  }

  std::string oldFile;
  std::string newFile;
  std::string logFile;
  TreeModel registrySelection;
  TreeModel driveSelection;
  TreeModel systemFileSelection;
  TreeModel registryResult;
  TreeModel driveResult;
  TreeModel systemFileResult;
  std::vector<std::string> excludeList;
  LogPositions positions;
  CappedInteraction ui;

 private:
  std::filesystem::path folder_;
};

// Every node of a result tree, one line each, indented by level: text, kind, images, whether it
// has children and whether it points at a block. Offsets are checked through the blocks.
inline std::string ResultDump(const TreeModel& tree) {
  std::string dump;
  tree.ForEach([&](TreeNode& node) {
    dump += std::string(2 * static_cast<size_t>(node.Level()), ' ') + node.Text() + " | " +
            std::to_string(node.StateIndex()) + " | " + std::to_string(node.ImageIndex()) + "/" +
            std::to_string(node.SelectedIndex()) + (node.HasChildren() ? " | children" : "") +
            (node.Data() != 0 ? " | block" : "") + "\n";
  });
  return dump;
}

// The node at the path of texts from the top node, matched exactly; fails the test if missing.
inline const TreeNode& NodeAt(const TreeModel& tree, const std::vector<std::string>& names) {
  const TreeNode* node = nullptr;
  for (const std::string& name : names) {
    const size_t count = node ? node->Count() : tree.TopCount();
    const TreeNode* next = nullptr;
    for (size_t i = 0; i < count && !next; ++i) {
      const TreeNode* child = node ? node->Child(i) : tree.Top(i);
      if (child->Text() == name) next = child;
    }
    if (!next) {
      ADD_FAILURE() << "no node " << name;
      static TreeNode missing;
      return missing;
    }
    node = next;
  }
  return *node;
}

// A selection tree from paths below the top and their states; missing parents are added partly
// checked, like the parents of a choice made in the window.
inline void BuildSelection(TreeModel& tree, const std::string& topText, int topState,
                           const std::vector<std::pair<std::string, int>>& nodes) {
  tree.Clear();
  TreeNode* top = tree.Add(nullptr, {.text = topText, .stateIndex = topState});
  for (const auto& [path, state] : nodes) {
    TreeNode* node = top;
    size_t start = 0;
    while (start <= path.size()) {
      const size_t end = std::min(path.find('\\', start), path.size());
      const std::string name = path.substr(start, end - start);
      TreeNode* next = nullptr;
      for (size_t i = 0; i < node->Count() && !next; ++i)
        if (node->Child(i)->Text() == name) next = node->Child(i);
      if (!next) next = tree.Add(node, {.text = name, .stateIndex = 5});
      node = next;
      start = end + 1;
    }
    tree.SetState(node, state);
  }
}

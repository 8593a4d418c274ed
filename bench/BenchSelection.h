#pragma once
// The user and the selection trees a benchmark gives the engine: a user who answers OK and keeps
// count, and the trees as the main window builds them.

#include <atomic>
#include <string>

#include "capture/SelectionTrees.h"
#include "core/CheckStates.h"
#include "core/TreeModel.h"
#include "core/UserInteraction.h"

// Answers every question with OK and keeps count: a capture that meets data it cannot read
// tells the user, and such a run is not a clean measurement.
class QuietInteraction : public UserInteraction {
 public:
  std::atomic<int> messages{0};
  std::string firstMessage;

  MsgAnswer Ask(MsgType, const std::string& text, MsgButtons) override {
    if (messages++ == 0) firstMessage = text;
    return MsgAnswer::Ok;
  }
  void SetStatus(StatusChannel, const std::string&) override {}
  void SetProgress(StatusChannel, int, int) override {}
  void ShowSecondaryStatus(bool) override {}
  void ProcessMessages() override {}
  void BeginWait() override {}
  void EndWait() override {}
  bool ChooseSaveFile(const FileDialogSpec&, std::string&) override { return false; }
  bool ChooseOpenFile(const FileDialogSpec&, std::string&) override { return false; }
};

// The selection trees as the main window builds them, with one root key and one drive checked.
struct BenchTrees {
  TreeModel registry, drives, systemFiles;
  SelectionTrees trees{registry, drives, systemFiles};

  BenchTrees(const std::string& rootName, char drive) {
    TreeNode* computer = registry.Add(nullptr, {.text = "My Computer", .stateIndex = kStatePartlyChecked});
    registry.Add(computer, {.text = rootName, .stateIndex = kStateChecked, .hasChildren = true});

    TreeNode* allDrives = drives.Add(nullptr, {.text = "Drives", .stateIndex = kStatePartlyChecked});
    drives.Add(allDrives,
               {.text = std::string(1, drive) + ": QuorvelBench", .stateIndex = kStateChecked, .hasChildren = true});

    systemFiles.Add(nullptr, {.text = "System Files", .stateIndex = kStateUnchecked});
  }
};

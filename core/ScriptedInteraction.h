#pragma once
// The test implementation of UserInteraction: records every message, status text and
// progress, and answers questions from a queue (OK, or the first button, when it is empty).

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/UserInteraction.h"

class ScriptedInteraction : public UserInteraction {
 public:
  struct Message {
    MsgType type;
    std::string text;
    MsgButtons buttons;
  };

  std::vector<Message> messages;
  std::vector<std::string> statusTexts[2];
  std::deque<MsgAnswer> answers;
  std::deque<std::string> fileChoices;  // an empty string answers Cancel
  std::vector<FileDialogSpec> fileDialogs;
  int waitDepth = 0;
  bool secondaryVisible = false;
  int progressMax[2] = {0, 0};
  int progressPosition[2] = {0, 0};
  int processMessagesCalls = 0;

  MsgAnswer Ask(MsgType type, const std::string& text, MsgButtons buttons) override;
  void SetStatus(StatusChannel channel, const std::string& text) override;
  void SetProgress(StatusChannel channel, int max, int position) override;
  void ShowSecondaryStatus(bool visible) override { secondaryVisible = visible; }
  void ProcessMessages() override { ++processMessagesCalls; }
  void BeginWait() override { ++waitDepth; }
  void EndWait() override { --waitDepth; }
  bool ChooseSaveFile(const FileDialogSpec& spec, std::string& path) override;
  bool ChooseOpenFile(const FileDialogSpec& spec, std::string& path) override;

  // The texts of all messages shown, in order.
  std::vector<std::string> Texts() const;

 private:
  bool ChooseFile(const FileDialogSpec& spec, std::string& path);
};

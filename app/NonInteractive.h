#pragma once
// UserInteraction where no one can answer: batch mode without a display (a scheduled task, a
// remote shell, CI). Status texts and messages go to standard error, one line each; a question
// gets the answer Enter would give in its box, its first button, and both are written out.
// Nothing waits for a window.

#include "core/UserInteraction.h"

class NonInteractive : public UserInteraction {
 public:
  MsgAnswer Ask(MsgType type, const std::string& text, MsgButtons buttons) override;
  void SetStatus(StatusChannel channel, const std::string& text) override;
  void SetProgress(StatusChannel, int, int) override {}
  void ShowSecondaryStatus(bool) override {}
  void ProcessMessages() override {}
  void BeginWait() override {}
  void EndWait() override {}
  // No one can choose: both answer "cancelled".
  bool ChooseSaveFile(const FileDialogSpec& spec, std::string& path) override;
  bool ChooseOpenFile(const FileDialogSpec& spec, std::string& path) override;

  // One line on standard error; line breaks in text become blanks.
  static void WriteLine(const std::string& text);

 private:
  std::string lastStatus_;
};

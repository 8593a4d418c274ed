#pragma once
// UserInteraction with real windows: message boxes owned by the main window or the dialog open
// above it (ui/ActiveOwner.h), the main window's status panel, second status label and progress
// bars, the hourglass cursor, common file dialogs.

#include <windows.h>

#include <vector>

#include "core/UserInteraction.h"

struct StatusControls {
  HWND owner = nullptr;
  HWND statusPanel = nullptr;   // Statuspanel
  HWND statusLabel2 = nullptr;  // StatusLBL2
  HWND progressBar1 = nullptr;
  HWND progressBar2 = nullptr;
};

class GuiInteraction : public UserInteraction {
 public:
  explicit GuiInteraction(const StatusControls& controls) : controls_(controls) {}

  MsgAnswer Ask(MsgType type, const std::string& text, MsgButtons buttons) override;
  void SetStatus(StatusChannel channel, const std::string& text) override;
  void SetProgress(StatusChannel channel, int max, int position) override;
  void ShowSecondaryStatus(bool visible) override;
  void ProcessMessages() override;
  void BeginWait() override;
  void EndWait() override;
  bool ChooseSaveFile(const FileDialogSpec& spec, std::string& path) override;
  bool ChooseOpenFile(const FileDialogSpec& spec, std::string& path) override;
  bool ChooseOpenFiles(const FileDialogSpec& spec, std::vector<std::string>& paths) override;

  bool Waiting() const { return !savedCursors_.empty(); }

  // Batch mode: questions and file dialogs go to answers instead of a window, so nothing waits
  // for a click; status, progress and the hourglass stay here. nullptr shows windows again.
  void AnswerUnattended(UserInteraction* answers) { unattended_ = answers; }

 private:
  StatusControls controls_;
  UserInteraction* unattended_ = nullptr;
  std::vector<HCURSOR> savedCursors_;
};

// The common open or save dialog owned by owner; false when the user cancelled. A modal form
// that browses for files owns its dialogs itself, so that closing them enables the form, not
// the window below it.
bool ShowFileDialog(HWND owner, const FileDialogSpec& spec, std::string& path, bool save);

// Turns "Text (*.X)|*.X" into the double-zero-terminated filter of the common dialogs.
std::string CommonDialogFilter(const std::string& filter);

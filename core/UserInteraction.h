#pragma once
// Every question, notice, status text, progress display and file dialog of the engine goes
// through this interface, so the engine never needs a window.
// Implementations: GuiInteraction (app/, real dialogs), NonInteractive (batch mode without a
// display), ScriptedInteraction (tests: records texts, answers from a queue).

#include <string>
#include <vector>

enum class MsgType { Error, Information, Confirmation, Warning };

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, YesNoCancelAll, YesNoAll };

enum class MsgAnswer { Ok, Cancel, Yes, No, NoToAll, YesToAll, All };

// Which status display a text or progress goes to: the status panel with the first progress
// bar, or the second label and bar that are visible only during a save.
enum class StatusChannel { Main, Secondary };

struct FileDialogSpec {
  std::string title;
  std::string filter;  // "Description (*.EXT)|*.EXT|..."
  std::string defaultExt;
  std::string initialDir;
  std::string fileName;
  bool promptOverwrite = false;
  bool pathMustExist = false;
  bool fileMustExist = false;
};

class UserInteraction {
 public:
  virtual ~UserInteraction() = default;

  virtual MsgAnswer Ask(MsgType type, const std::string& text, MsgButtons buttons) = 0;
  // A notice with one OK button.
  void Tell(MsgType type, const std::string& text) { Ask(type, text, MsgButtons::Ok); }

  virtual void SetStatus(StatusChannel channel, const std::string& text) = 0;
  virtual void SetProgress(StatusChannel channel, int max, int position) = 0;
  virtual void ShowSecondaryStatus(bool visible) = 0;
  // Lets pending window messages run, so a window repaints during long work.
  virtual void ProcessMessages() = 0;
  // Hourglass cursor; calls nest, each EndWait restores what its BeginWait found.
  virtual void BeginWait() = 0;
  virtual void EndWait() = 0;

  // False when the user cancelled; path holds the choice otherwise.
  virtual bool ChooseSaveFile(const FileDialogSpec& spec, std::string& path) = 0;
  virtual bool ChooseOpenFile(const FileDialogSpec& spec, std::string& path) = 0;
  // Several files at once; where a dialog offers only one, that one.
  virtual bool ChooseOpenFiles(const FileDialogSpec& spec, std::vector<std::string>& paths) {
    std::string path;
    if (!ChooseOpenFile(spec, path)) return false;
    paths = {path};
    return true;
  }
};

// Holds the hourglass for a scope, also when the scope ends by an error.
class WaitCursor {
 public:
  explicit WaitCursor(UserInteraction& ui) : ui_(ui) { ui_.BeginWait(); }
  ~WaitCursor() { ui_.EndWait(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  UserInteraction& ui_;
};

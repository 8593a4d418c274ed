#pragma once
// The "Shared DLLs" question as a form (TfSharedFile), and the prompt of the window program
// that shows it. Closing the form any other way than by "Delete File" keeps the file.

#include <windows.h>

#include "restore/SharedFilePrompt.h"
#include "ui/Dialog.h"

class TfSharedFile : public Dialog {
 public:
  TfSharedFile();

  SharedFileQuestion question{SharedFileCase::CounterAtZero, ""};  // in
  SharedFileAnswer answer;                                         // out

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnCancel() override;

 private:
  void Close(bool deleteFile);
};

class GuiSharedFilePrompt : public SharedFilePrompt {
 public:
  explicit GuiSharedFilePrompt(HWND owner) : owner_(owner) {}
  SharedFileAnswer Ask(const SharedFileQuestion& question) override;

 private:
  HWND owner_;
};

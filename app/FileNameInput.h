#pragma once
// "Choose filename": an input box with a prompt and one line of text, filled with a default the
// user edits. OK takes the text as it stands; Cancel and Escape leave it unchanged.

#include <windows.h>

#include <string>

#include "ui/Dialog.h"

class TfFileNameInput : public Dialog {
 public:
  TfFileNameInput();

  std::string prompt;
  std::string fileName;  // in: the default; out: the text at "&OK"

 protected:
  bool OnInit() override;
  void OnOK() override;
};

// Shows the box modally; true with fileName replaced when it closed with "&OK".
bool RunFileNameInput(HWND owner, const std::string& prompt, std::string& fileName);

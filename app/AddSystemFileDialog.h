#pragma once
// "Add System File": the name and the kind (INI or text) of a file the user adds to the
// system-file selection. "&OK" accepts only an existing file; a name without folder is taken
// from the current folder.

#include <windows.h>

#include <functional>
#include <string>

#include "core/UserInteraction.h"
#include "ui/Dialog.h"

struct UserFileChoice {
  std::string path;     // out: the full name of the existing file
  bool iniFile = true;  // out: INI file (its changes can be restored) or text file
};

class TfAddSystemFile : public Dialog {
 public:
  TfAddSystemFile();

  UserFileChoice choice;      // the fields at the last successful "&OK"
  std::string currentFolder;  // where a name without folder is looked for; empty: the process's
  // The file dialog of the "..." button; unset, the common dialog owned by the form.
  std::function<bool(const FileDialogSpec& spec, std::string& path)> chooseFile;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnOK() override;
};

// Shows the dialog modally; true with the choice filled when it closed with "&OK".
bool RunAddSystemFileDialog(HWND owner, UserFileChoice& choice);

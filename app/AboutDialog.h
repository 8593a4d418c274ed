#pragma once
// "About": the program's icon and name, the version of its own version resource, the date and
// processor of the build, and which registry and file view a snapshot records. OK, Enter and
// Escape close it.

#include <windows.h>

#include <string>

#include "ui/Dialog.h"

class TfAbout : public Dialog {
 public:
  TfAbout();

  // What the labels show, filled by the caller.
  std::string version;       // "1.0.0.0"
  std::string buildDate;     // in the user's long date format
  std::string architecture;  // "x86" or "x64"
  std::string recordedView;  // "64-bit view"

 protected:
  bool OnInit() override;
};

// A UTC time's local date in the user's long date format; empty when it has none.
std::string DateText(const FILETIME& utc);

// "x64" for a 64-bit build, "x86" for a 32-bit one.
const char* BuildArchitecture();

// Shows the dialog for the running program modally.
void RunAboutDialog(HWND owner);

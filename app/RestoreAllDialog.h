#pragma once
// TfRestoreAll, caption "Restore All (discard all changes)": the areas whose changes are all
// undone. "&OK" hands the chosen areas to `restore`, which confirms and restores each in turn.

#include <functional>

#include "ui/Dialog.h"

struct RestoreAreas {
  bool registry = true;
  bool files = true;
  bool systemFiles = true;
};

class TfRestoreAll : public Dialog {
 public:
  TfRestoreAll();

  RestoreAreas areas;  // in: the boxes at start; out: the boxes at "&OK"
  // Runs at "&OK" with this form as the owner of what it shows.
  std::function<void(HWND owner, const RestoreAreas& areas)> restore;

 protected:
  bool OnInit() override;
  void OnOK() override;
};

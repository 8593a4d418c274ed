#pragma once
// TfExpForm, caption "Selection": the kinds of changes an export writes, one check box per
// kind 6 to 12, captioned for keys and values or, in the drive tree's mode, for folders and
// files. A form shared by the text export and the install-file export.

#include <windows.h>

#include "compare/ExportTreeWalk.h"
#include "ui/Dialog.h"

class TfExpForm : public Dialog {
 public:
  TfExpForm();

  // in: the ticked kinds and the mode that words the boxes; out at "&OK": exactly the kinds
  // of the ticked boxes.
  ExportChoice choice;

  KindSet TickedKinds() const;

 protected:
  bool OnInit() override;
  void OnOK() override;
};

// Shows TfExpForm modally on choice; true when the user chose "&OK".
bool RunExportSelectionDialog(HWND owner, ExportChoice& choice);

#pragma once
// TfConfirm, caption "Confirm Restore": no restore runs from the main window before the user saw
// what it will do. The form shows the to-do list of a listing pass, rebuilds it whenever one of
// the four kind boxes changes, and on "&Execute" runs the executing pass once and shows each
// item's outcome in the same list. Which driver, root and filter the passes use is the
// opener's business (runPass).

#include <functional>
#include <string>
#include <vector>

#include "restore/RestoreRequest.h"
#include "ui/Dialog.h"

class TfConfirm : public Dialog {
 public:
  TfConfirm();

  // In.
  int flags = kRestoreDefault;     // out: as the boxes left them
  std::string captionSuffix;       // ": Registry" when Restore All opens it
  std::string newItemsCaption;     // another caption of CheckNew; empty keeps its own
  bool changeBoxesEnabled = true;  // CheckDeleted and CheckAltered
  bool changeBoxesVisible = true;
  // One pass with these flags: listing (executing false) or executing; appends its items.
  std::function<void(int flags, bool executing, std::vector<ToDoItem>& items)> runPass;

  // Out.
  std::vector<ToDoItem> items;  // of the last pass
  bool noItems = false;         // the last listing produced no item
  bool executed = false;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnCancel() override;

 private:
  void BuildList();
  void Execute();
  // Runs one pass with the boxes and buttons disabled, so no click starts another pass while
  // a question of this one is open; the list shows what the pass produced, also after an error.
  void RunPass(bool executing);
  void ShowItems(bool markEmpty);

  bool running_ = false;
};

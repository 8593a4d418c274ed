#include "app/RestoreAllDialog.h"

#include "app/RestoreAllDialogIds.h"
#include "core/Errors.h"

namespace {

struct AreaBox {
  int id;
  bool RestoreAreas::*checked;
};

constexpr AreaBox kAreaBoxes[] = {
    {IDC_RESTORE_ALL_REGISTRY, &RestoreAreas::registry},
    {IDC_RESTORE_ALL_FILES, &RestoreAreas::files},
    {IDC_RESTORE_ALL_SYSTEM, &RestoreAreas::systemFiles},
};

}  // namespace

TfRestoreAll::TfRestoreAll() : Dialog(IDD_RESTORE_ALL, "TfRestoreAll", "fRestoreAll") {}

bool TfRestoreAll::OnInit() {
  for (const AreaBox& box : kAreaBoxes) Item(box.id).SetChecked(areas.*box.checked);
  return true;
}

void TfRestoreAll::OnOK() {
  RestoreAreas chosen;
  for (const AreaBox& box : kAreaBoxes) chosen.*box.checked = Item(box.id).IsChecked();
  if (!chosen.registry && !chosen.files && !chosen.systemFiles) throw Exception("No operation selected!");
  areas = chosen;
  // While the confirmations run, this form must not be closed or started again.
  Item(IDOK).Enable(false);
  Item(IDCANCEL).Enable(false);
  if (restore) {
    try {
      restore(hwnd_, chosen);
    } catch (...) {
      Item(IDOK).Enable(true);
      Item(IDCANCEL).Enable(true);
      throw;
    }
  }
  End(IDOK);
}

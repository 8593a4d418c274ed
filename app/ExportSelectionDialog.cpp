#include "app/ExportSelectionDialog.h"

#include "app/ExportSelectionDialogIds.h"
#include "compare/LogFile.h"

namespace {

struct KindBox {
  int id;
  int kind;
  const char* keyCaption;   // registry and system files
  const char* fileCaption;  // drives
};

constexpr KindBox kKindBoxes[] = {
    {IDC_EXPORT_NEW_KEY, kKindNew, "New keys", "New folder"},
    {IDC_EXPORT_DELETED_KEY, kKindDeleted, "Deleted keys", "Deleted folder"},
    {IDC_EXPORT_ALTERED_KEY, kKindChanged, "Changed keys", "Modified folder"},
    {IDC_EXPORT_NEW_VALUE, kRecordNew, "New values", "New file"},
    {IDC_EXPORT_DELETED_VALUE, kRecordDeleted, "Deleted values", "Deleted file"},
    {IDC_EXPORT_VALUE_OLD, kRecordOldSide, "Changed values (old)", "File (old)"},
    {IDC_EXPORT_VALUE_NEW, kRecordNewSide, "Changed values (new)", "File (new)"},
};

}  // namespace

TfExpForm::TfExpForm() : Dialog(IDD_EXPORT_SELECTION, "TfExpForm", "fExpForm") {}

bool TfExpForm::OnInit() {
  const bool files = choice.mode == LogSection::Drives;
  for (const KindBox& box : kKindBoxes) {
    Window check = Item(box.id);
    check.SetText(files ? box.fileCaption : box.keyCaption);
    check.SetChecked(HasKind(choice.kinds, box.kind));
  }
  return true;
}

KindSet TfExpForm::TickedKinds() const {
  KindSet kinds = 0;
  for (const KindBox& box : kKindBoxes)
    if (Item(box.id).IsChecked()) kinds |= KindBit(box.kind);
  return kinds;
}

void TfExpForm::OnOK() {
  choice.kinds = TickedKinds();
  End(IDOK);
}

bool RunExportSelectionDialog(HWND owner, ExportChoice& choice) {
  TfExpForm form;
  form.choice = choice;
  if (form.DoModal(owner) != IDOK) return false;
  choice = form.choice;
  return true;
}

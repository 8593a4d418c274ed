#include "app/ConfirmDialog.h"

#include "app/ConfirmDialogIds.h"
#include "ui/ListView.h"

namespace {

struct KindBox {
  int id;
  int flag;
};

constexpr KindBox kKindBoxes[] = {
    {IDC_CONFIRM_NEW, kRestoreAdditions},
    {IDC_CONFIRM_DELETED, kRestoreDeletions},
    {IDC_CONFIRM_ALTERED, kRestoreModifications},
    {IDC_CONFIRM_AGAIN, kRestoreAgain},
};

constexpr char kNoItems[] = "No items to process.";

}  // namespace

TfConfirm::TfConfirm() : Dialog(IDD_CONFIRM, "TfConfirm", "fConfirm") {}

bool TfConfirm::OnInit() {
  if (!captionSuffix.empty()) SetText(Text() + captionSuffix);
  if (!newItemsCaption.empty()) Item(IDC_CONFIRM_NEW).SetText(newItemsCaption);
  for (int id : {IDC_CONFIRM_DELETED, IDC_CONFIRM_ALTERED}) {
    Item(id).Enable(changeBoxesEnabled);
    Item(id).Show(changeBoxesVisible ? SW_SHOW : SW_HIDE);
  }
  // The "again" box starts clear whatever the opener passed; only the three kinds come from it.
  flags &= ~kRestoreAgain;
  for (const KindBox& box : kKindBoxes) Item(box.id).SetChecked((flags & box.flag) != 0);

  ListView list = Item(IDC_CONFIRM_LIST);
  list.SetFullRowSelect();
  std::vector<ListColumn> columns;
  for (const ToDoColumn& spec : kToDoColumns) columns.push_back({spec.caption, spec.width});
  list.AddColumns(columns);
  BuildList();
  return true;
}

bool TfConfirm::OnCommand(int id, int code, HWND) {
  if (code != BN_CLICKED) return false;
  if (id == IDC_CONFIRM_EXECUTE) {
    if (!running_ && !executed) Execute();
    return true;
  }
  for (const KindBox& box : kKindBoxes) {
    if (box.id != id) continue;
    if (running_ || executed) return true;
    if (Item(id).IsChecked())
      flags |= box.flag;
    else
      flags &= ~box.flag;
    BuildList();
    return true;
  }
  return false;
}

void TfConfirm::OnCancel() {
  // Closing in the middle of a pass would hide the outcome of operations already carried out.
  if (!running_) End(IDCANCEL);
}

void TfConfirm::BuildList() {
  RunPass(false);
  noItems = items.empty();
  ShowItems(true);
}

void TfConfirm::Execute() {
  // Offered once: a second executing pass after a failed one could repeat operations whose
  // restored marks were never written (a shared-file counter adjusted twice).
  executed = true;
  Item(IDC_CONFIRM_EXECUTE).Enable(false);
  auto finish = [this] {
    ShowItems(false);
    Item(IDCANCEL).SetText("&Close");
    for (const KindBox& box : kKindBoxes) Item(box.id).Enable(false);
    // Execute is gone for good: Close becomes the default button and takes the focus, so
    // Enter and Escape both close the form.
    Send(DM_SETDEFID, IDCANCEL);
    Send(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDCANCEL).Handle()), TRUE);
  };
  try {
    RunPass(true);
  } catch (...) {
    finish();
    throw;
  }
  finish();
  if (!noItems) SetText(std::string(kApplicationTitle) + " - Restore completed!");
}

void TfConfirm::RunPass(bool executing) {
  items.clear();
  if (!runPass) return;
  HWND focus = GetFocus();
  std::vector<HWND> disabled;
  for (int id :
       {IDC_CONFIRM_NEW, IDC_CONFIRM_DELETED, IDC_CONFIRM_ALTERED, IDC_CONFIRM_AGAIN, IDC_CONFIRM_EXECUTE, IDCANCEL}) {
    Window control = Item(id);
    if (control.IsEnabled()) {
      control.Enable(false);
      disabled.push_back(control);
    }
  }
  running_ = true;
  struct Restore {
    TfConfirm& form;
    std::vector<HWND>& controls;
    HWND focus;  // a kind box toggled by the keyboard keeps the focus the disabling took
    ~Restore() {
      form.running_ = false;
      for (HWND control : controls) EnableWindow(control, TRUE);
      if (focus && IsWindowEnabled(focus)) SetFocus(focus);
    }
  } restore{*this, disabled, IsChild(hwnd_, focus) ? focus : nullptr};
  try {
    runPass(flags, executing, items);
  } catch (...) {
    ShowItems(false);
    throw;
  }
}

void TfConfirm::ShowItems(bool markEmpty) {
  ListView list = Item(IDC_CONFIRM_LIST);
  ListView::Refill refill(list);
  for (size_t i = 0; i < items.size(); ++i) {
    const ToDoItem& item = items[i];
    list.AddRow({i}, {item.operation, item.path, item.name, item.value, item.status});
  }
  if (markEmpty && items.empty()) list.AddRow({ListView::kNoOwner}, {kNoItems});
  // The status column takes the rest of the list.
  list.SetColumnWidth(4, LVSCW_AUTOSIZE_USEHEADER);
}

#include "app/SharedFileDialog.h"

#include "app/SharedFileDialogIds.h"

TfSharedFile::TfSharedFile() : Dialog(IDD_SHARED_FILE, "TfSharedFile", "fSharedFile") {}

bool TfSharedFile::OnInit() {
  Item(IDC_SHARED_LEAD).SetText(kSharedFileLead);
  Item(IDC_SHARED_PATH).SetText(question.path);
  Item(IDC_SHARED_EXPLANATION).SetText(SharedFileExplanation(question.which));
  Item(IDC_SHARED_REPEAT).SetText(kSharedFileRepeat);
  Item(IDC_SHARED_REPEAT).SetChecked(answer.repeatForAll);
  Item(IDNO).SetText(kSharedFileKeep);
  Item(IDYES).SetText(SharedFileDeleteCaption(question.which));
  // Keeping the file is the safe answer, so it has the focus and Enter.
  SetFocus(Item(IDNO));
  return false;
}

bool TfSharedFile::OnCommand(int id, int code, HWND) {
  if (code != BN_CLICKED || (id != IDYES && id != IDNO)) return false;
  Close(id == IDYES);
  return true;
}

void TfSharedFile::OnCancel() { Close(false); }

void TfSharedFile::Close(bool deleteFile) {
  answer.deleteFile = deleteFile;
  answer.repeatForAll = Item(IDC_SHARED_REPEAT).IsChecked();
  End(deleteFile ? IDYES : IDNO);
}

SharedFileAnswer GuiSharedFilePrompt::Ask(const SharedFileQuestion& question) {
  TfSharedFile form;
  form.question = question;
  form.DoModal(owner_);
  return form.answer;
}

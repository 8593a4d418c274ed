#include "app/FileNameInput.h"

#include "app/FileNameInputIds.h"

TfFileNameInput::TfFileNameInput() : Dialog(IDD_FILE_NAME_INPUT, "TfFileNameInput", "fFileNameInput") {}

bool TfFileNameInput::OnInit() {
  Item(IDC_FILE_NAME_PROMPT).SetText(prompt);
  Item(IDC_FILE_NAME_EDIT).SetText(fileName);
  // The whole default selected: typing replaces it, an arrow key keeps it to edit.
  SetFocus(Item(IDC_FILE_NAME_EDIT).Handle());
  SendMessageA(Item(IDC_FILE_NAME_EDIT).Handle(), EM_SETSEL, 0, -1);
  return false;
}

void TfFileNameInput::OnOK() {
  fileName = Item(IDC_FILE_NAME_EDIT).Text();
  End(IDOK);
}

bool RunFileNameInput(HWND owner, const std::string& prompt, std::string& fileName) {
  TfFileNameInput form;
  form.prompt = prompt;
  form.fileName = fileName;
  if (form.DoModal(owner) != IDOK) return false;
  fileName = form.fileName;
  return true;
}

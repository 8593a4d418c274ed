#include "app/AddSystemFileDialog.h"

#include "app/AddSystemFileDialogIds.h"
#include "app/GuiInteraction.h"
#include "restore/UserSystemFiles.h"

namespace {

std::string ProcessCurrentFolder() {
  char folder[MAX_PATH] = "";
  const DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
  return length > 0 && length < sizeof folder ? std::string(folder, length) : std::string();
}

}  // namespace

TfAddSystemFile::TfAddSystemFile() : Dialog(IDD_ADD_SYSTEM_FILE, "TfAddSystemFile", "fAddSystemFile") {}

bool TfAddSystemFile::OnInit() {
  Item(IDC_ADD_FILE_NOTE).SetText(kUserFileTextNote);
  CheckRadioButton(hwnd_, IDC_ADD_FILE_INI, IDC_ADD_FILE_TEXT, IDC_ADD_FILE_INI);
  return true;
}

bool TfAddSystemFile::OnCommand(int id, int code, HWND) {
  if (id != IDC_ADD_FILE_BROWSE || code != BN_CLICKED) return false;
  FileDialogSpec spec;
  spec.title = "Add System File";
  spec.filter = "All files (*.*)|*.*|INI files (*.INI)|*.ini|TEXT files (*.TXT)|*.txt";
  std::string path;
  if (chooseFile ? chooseFile(spec, path) : ShowFileDialog(hwnd_, spec, path, false))
    Item(IDC_ADD_FILE_NAME).SetText(path);
  return true;
}

void TfAddSystemFile::OnOK() {
  // A missing file raises its error here, and the dialog stays open for another name.
  const std::string folder = currentFolder.empty() ? ProcessCurrentFolder() : currentFolder;
  choice.path = CheckUserFileName(Item(IDC_ADD_FILE_NAME).Text(), folder);
  choice.iniFile = IsDlgButtonChecked(hwnd_, IDC_ADD_FILE_TEXT) != BST_CHECKED;
  End(IDOK);
}

bool RunAddSystemFileDialog(HWND owner, UserFileChoice& choice) {
  TfAddSystemFile form;
  if (form.DoModal(owner) != IDOK) return false;
  choice = form.choice;
  return true;
}

#include "app/CompareDialog.h"

#include "app/CompareDialogIds.h"
#include "app/GuiInteraction.h"
#include "core/Errors.h"

namespace {

// LoadCfgDlg, shared by the two configuration fields.
FileDialogSpec LoadConfigurationSpec() {
  FileDialogSpec spec;
  spec.title = "Load a config file";
  spec.filter = "Config file  (*.SXD)|*.SXD";
  spec.defaultExt = "SXD";
  spec.fileMustExist = true;
  return spec;
}

FileDialogSpec SaveLogSpec(const std::string& fileName) {
  FileDialogSpec spec;
  spec.title = "Save a log file";
  spec.filter = "Log file (*.SXL)|*.SXL";
  spec.defaultExt = "SXL";
  spec.fileName = fileName;
  spec.promptOverwrite = true;
  return spec;
}

}  // namespace

TfCompare::TfCompare() : Dialog(IDD_COMPARE, "TfCompare", "fCompare") {}

bool TfCompare::OnInit() {
  Item(IDC_COMPARE_OLD).SetText(files.oldFile);
  Item(IDC_COMPARE_NEW).SetText(files.newFile);
  Item(IDC_COMPARE_LOG).SetText(files.logFile);
  return true;
}

ConfigurationFiles TfCompare::ReadFields() const {
  return {Item(IDC_COMPARE_OLD).Text(), Item(IDC_COMPARE_NEW).Text(), Item(IDC_COMPARE_LOG).Text()};
}

bool TfCompare::ChooseFile(const FileDialogSpec& spec, bool save, std::string& path) {
  return chooseFile ? chooseFile(spec, save, path) : ShowFileDialog(hwnd_, spec, path, save);
}

bool TfCompare::OnCommand(int id, int code, HWND) {
  if (code != BN_CLICKED) return false;
  std::string path;
  switch (id) {
    case IDC_COMPARE_OLD_BROWSE:
    case IDC_COMPARE_NEW_BROWSE:
      // The open dialog starts without a name, whatever was chosen before.
      if (ChooseFile(LoadConfigurationSpec(), false, path))
        Item(id == IDC_COMPARE_OLD_BROWSE ? IDC_COMPARE_OLD : IDC_COMPARE_NEW).SetText(path);
      return true;
    case IDC_COMPARE_LOG_BROWSE:
      if (ChooseFile(SaveLogSpec(lastLogChoice_), true, path)) {
        lastLogChoice_ = path;
        Item(IDC_COMPARE_LOG).SetText(path);
      }
      return true;
    default:
      return false;
  }
}

void TfCompare::OnOK() {
  ConfigurationFiles chosen = ReadFields();
  const std::pair<const std::string*, const char*> required[] = {
      {&chosen.oldFile, "Choose file for old configuration."},
      {&chosen.newFile, "Choose file for new configuration."},
      {&chosen.logFile, "Choose file for log file."},
  };
  for (const auto& [field, message] : required)
    if (field->empty()) throw Exception(message);
  files = chosen;
  if (compare) compare(chosen);
  End(IDOK);
}

bool RunCompareDialog(HWND owner, const std::function<void(const ConfigurationFiles&)>& compare) {
  TfCompare form;
  form.compare = compare;
  return form.DoModal(owner) == IDOK;
}

#pragma once
// TfCompare, caption "Compare Two Configurations": the old and the new configuration file and
// the log file of Compare Configurations. A form: "&OK" checks that every field is filled and
// hands the names to `compare`; what a compare is, is the caller's business.

#include <windows.h>

#include <functional>
#include <string>

#include "core/UserInteraction.h"
#include "ui/Dialog.h"

struct ConfigurationFiles {
  std::string oldFile;
  std::string newFile;
  std::string logFile;
};

class TfCompare : public Dialog {
 public:
  TfCompare();

  ConfigurationFiles files;  // in: shown at start; out: the fields at the last "&OK"
  // Runs at "&OK" once every field is filled; an error keeps the dialog open.
  std::function<void(const ConfigurationFiles&)> compare;
  // The file dialogs of the browse buttons; unset, the common dialogs owned by the form.
  std::function<bool(const FileDialogSpec& spec, bool save, std::string& path)> chooseFile;

  ConfigurationFiles ReadFields() const;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnOK() override;

 private:
  bool ChooseFile(const FileDialogSpec& spec, bool save, std::string& path);

  std::string lastLogChoice_;  // the log's save dialog offers the name chosen before
};

// Shows TfCompare modally with compare behind its "&OK"; true when it closed with "&OK".
bool RunCompareDialog(HWND owner, const std::function<void(const ConfigurationFiles&)>& compare);

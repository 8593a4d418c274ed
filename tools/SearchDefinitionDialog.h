#pragma once
// "Define search criteria:": one search of a cleaning tool. "&OK" takes the fields only when
// both the folder and the mask hold more than blanks; otherwise it says so and stays open. The
// file backup's definitions have no description: the field is hidden for them.

#include <functional>
#include <string>

#include "tools/SearchDefinitions.h"
#include "ui/Dialog.h"
#include "ui/FolderBrowser.h"

class TTempfiles2FRM : public Dialog {
 public:
  TTempfiles2FRM();

  SearchDefinition definition;  // in: what the fields show; out: what they held at "&OK"
  DefinitionFields fields = DefinitionFields::WithDescription;
  // The folder picker of the "..." button; unset, the shell's picker owned by the form.
  std::function<bool(const FolderBrowseSpec& spec, std::string& folder)> browseFolder;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnOK() override;

 private:
  void HideDescription();
};

// Shows the dialog modally; true with definition filled when it closed with "&OK".
bool RunSearchDefinitionDialog(HWND owner, SearchDefinition& definition,
                               DefinitionFields fields = DefinitionFields::WithDescription);

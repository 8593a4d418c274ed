#include "tools/SearchDefinitionDialog.h"

#include "core/Errors.h"
#include "platform/FileLines.h"
#include "tools/SearchDefinitionDialogIds.h"

TTempfiles2FRM::TTempfiles2FRM() : Dialog(IDD_SEARCH_DEFINITION, "TTempfiles2FRM", "Tempfiles2FRM") {}

bool TTempfiles2FRM::OnInit() {
  Item(IDC_DEFINITION_DESCRIPTION).SetText(definition.description);
  if (fields == DefinitionFields::WithoutDescription) HideDescription();
  Item(IDC_DEFINITION_PATH).SetText(definition.folder);
  Item(IDC_DEFINITION_RECURSE).SetChecked(definition.recurse);
  Item(IDC_DEFINITION_MASK).SetText(definition.mask);
  return true;
}

void TTempfiles2FRM::HideDescription() {
  // Everything below the description moves up into its place, and the dialog shrinks by as much.
  const int shift =
      Item(IDC_DEFINITION_PATH_LABEL).RectIn(hwnd_).top - Item(IDC_DEFINITION_DESCRIPTION_LABEL).RectIn(hwnd_).top;
  for (int id : {IDC_DEFINITION_DESCRIPTION_LABEL, IDC_DEFINITION_DESCRIPTION}) Item(id).Show(SW_HIDE);
  for (int id : {IDC_DEFINITION_PATH_LABEL, IDC_DEFINITION_PATH, IDC_DEFINITION_BROWSE, IDC_DEFINITION_RECURSE,
                 IDC_DEFINITION_MASK_LABEL, IDC_DEFINITION_MASK, IDOK, IDCANCEL}) {
    RECT rect = Item(id).RectIn(hwnd_);
    OffsetRect(&rect, 0, -shift);
    Item(id).Move(rect);
  }
  const RECT frame = WindowRect();
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top - shift,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TTempfiles2FRM::OnCommand(int id, int code, HWND) {
  if (id != IDC_DEFINITION_BROWSE || code != BN_CLICKED) return false;
  FolderBrowseSpec spec{"Select folder.", "Select folder to search.", true};
  std::string folder = Item(IDC_DEFINITION_PATH).Text();
  if (browseFolder ? browseFolder(spec, folder) : BrowseForFolder(hwnd_, spec, folder))
    Item(IDC_DEFINITION_PATH).SetText(folder);
  return true;
}

void TTempfiles2FRM::OnOK() {
  const std::string folder = TrimText(Item(IDC_DEFINITION_PATH).Text());
  const std::string mask = TrimText(Item(IDC_DEFINITION_MASK).Text());
  // Raised here, the error is shown and the dialog stays open for the missing field.
  if (folder.empty() || mask.empty()) throw Exception("Please enter path and search text (wildcards allowed).");
  definition = {Item(IDC_DEFINITION_DESCRIPTION).Text(), folder, Item(IDC_DEFINITION_RECURSE).IsChecked(), mask};
  End(IDOK);
}

bool RunSearchDefinitionDialog(HWND owner, SearchDefinition& definition, DefinitionFields fields) {
  TTempfiles2FRM form;
  form.definition = definition;
  form.fields = fields;
  if (form.DoModal(owner) != IDOK) return false;
  definition = form.definition;
  return true;
}

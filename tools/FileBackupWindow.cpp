#include "tools/FileBackupWindow.h"

#include <algorithm>

#include "app/RestoreSettingsOf.h"
#include "platform/SettingsAccess.h"
#include "platform/TMyRegIniFile.h"
#include "tools/FileBackupWindowIds.h"
#include "tools/FoundFileList.h"
#include "tools/SearchDefinitionDialog.h"

namespace {

enum MasterColumn { kFolderColumn, kSubdirectoriesColumn, kMaskColumn, kFoundColumn };

const std::vector<ListColumn> kMasterColumns = {
    {"Folder", 220}, {"Subdirectories", 100}, {"Search Text", 90}, {"Found", 60, ListAlign::Right}};

const int kEntryButtons[] = {IDC_BACKUP_NEW, IDC_BACKUP_EDIT, IDC_BACKUP_DELETE};
const int kRunButtons[] = {IDC_BACKUP_START, IDC_BACKUP_CANCEL, IDC_BACKUP_CLOSE};

}  // namespace

TDLLBackUpFRM::TDLLBackUpFRM(const FileBackupContext& context)
    : ToolWindow(IDD_FILE_BACKUP, "TDLLBackUpFRM", kSection, context.settingsKeyPath, {420, 240}),
      context_(context),
      ui_(StatusControls{}),
      backup_(*this, ui_) {}

TDLLBackUpFRM::~TDLLBackUpFRM() {
  if (Exists()) SaveState();
}

ListView TDLLBackUpFRM::MasterView() const { return Item(IDC_BACKUP_MASTER); }

std::vector<FormList> TDLLBackUpFRM::LayoutLists() const { return {{"MasterView", MasterView()}}; }

bool TDLLBackUpFRM::OnInit() {
  ui_ = GuiInteraction(StatusControls{hwnd_, Item(IDC_BACKUP_STATUS)});
  MasterView().SetFullRowSelect();
  MasterView().AddColumns(kMasterColumns);
  definitions_ = LoadSearchDefinitions(Ini(), kSection, DefinitionFields::WithoutDescription);
  if (definitions_.empty()) definitions_ = DefaultBackupDefinitions(SystemFolder());
  RestoreLayout();
  FillMaster(0);
  return true;
}

void TDLLBackUpFRM::SaveState() {
  SaveSearchDefinitions(Ini(), kSection, definitions_, DefinitionFields::WithoutDescription);
  ToolWindow::SaveState();
}

bool TDLLBackUpFRM::OnCommand(int id, int code, HWND) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_BACKUP_NEW:
    case IDM_BACKUP_MASTER_NEW:
      NewEntry();
      return true;
    case IDC_BACKUP_EDIT:
    case IDM_BACKUP_MASTER_EDIT:
      EditEntry();
      return true;
    case IDC_BACKUP_DELETE:
    case IDM_BACKUP_MASTER_DELETE:
      DeleteEntry();
      return true;
    case IDC_BACKUP_START:
      BackUpFiles();
      return true;
    case IDC_BACKUP_CANCEL:
      backup_.Cancel();
      return true;
    case IDC_BACKUP_CLOSE:
      OnCancel();
      return true;
    default:
      return false;
  }
}

bool TDLLBackUpFRM::OnNotify(int id, const NMHDR& header, LRESULT&) {
  if (id != IDC_BACKUP_MASTER) return false;
  if (header.code == NM_DBLCLK) {
    EditEntry();
    return true;
  }
  if (header.code == NM_RCLICK) {
    POINT at;
    GetCursorPos(&at);
    ShowMasterMenu(at);
    return true;
  }
  return false;
}

void TDLLBackUpFRM::Layout() {
  const RECT client = ClientRect();
  const ToolMetrics m = ToolMetricsOf(hwnd_);
  const int width = client.right, height = client.bottom;
  const int buttonLeft = width - m.margin - m.buttonWidth;
  // Without its buttons the list takes the whole width.
  const int listRight = buttonsHidden_ ? width - m.margin : buttonLeft - m.margin;
  const int panelTop = height - m.gap - m.panelHeight;
  const int listTop = m.margin + m.labelHeight + m.gap;
  const int listHeight = std::max(m.buttonHeight, panelTop - m.gap - listTop);

  Item(IDC_BACKUP_MASTER_LABEL).Move(m.margin, m.margin, listRight - m.margin, m.labelHeight);
  Item(IDC_BACKUP_MASTER).Move(m.margin, listTop, listRight - m.margin, listHeight);
  int top = listTop;
  for (int id : {IDC_BACKUP_NEW, IDC_BACKUP_EDIT, IDC_BACKUP_DELETE, 0, IDC_BACKUP_START, IDC_BACKUP_CANCEL}) {
    if (id == 0) {
      top += m.gap * 2;
      continue;
    }
    Item(id).Move(buttonLeft, top, m.buttonWidth, m.buttonHeight);
    top += m.buttonHeight + m.gap;
  }
  Item(IDC_BACKUP_CLOSE).Move(buttonLeft, listTop + listHeight - m.buttonHeight, m.buttonWidth, m.buttonHeight);

  const int panelsLeft = width - m.margin - 2 * m.panelWidth - m.gap;
  Item(IDC_BACKUP_STATUS).Move(m.margin, panelTop, std::max(0, panelsLeft - m.gap - m.margin), m.panelHeight);
  Item(IDC_BACKUP_FILES).Move(panelsLeft, panelTop, m.panelWidth, m.panelHeight);
  Item(IDC_BACKUP_FOLDERS).Move(panelsLeft + m.panelWidth + m.gap, panelTop, m.panelWidth, m.panelHeight);
  Invalidate();
}

void TDLLBackUpFRM::HideButtons() {
  buttonsHidden_ = true;
  for (int id : kEntryButtons) Item(id).Show(SW_HIDE);
  for (int id : kRunButtons) Item(id).Show(SW_HIDE);
  Layout();
}

std::optional<size_t> TDLLBackUpFRM::SelectedDefinition() const { return MasterView().FirstSelectedOwner(); }

void TDLLBackUpFRM::FillMaster(std::optional<size_t> select) {
  const ListView list = MasterView();
  {
    ListView::Refill refill(list);
    for (size_t i = 0; i < definitions_.size(); ++i) {
      const SearchDefinition& definition = definitions_[i];
      list.AddRow({i}, {definition.folder, SubFolderText(definition.recurse), definition.mask,
                        i < found_.size() ? found_[i] : std::string()});
    }
  }
  if (select && *select < definitions_.size()) list.SelectAndShow(*select);
}

void TDLLBackUpFRM::NewEntry() {
  if (backup_.Running()) return;
  SearchDefinition definition;
  definition.mask = "*.*";
  if (!RunSearchDefinitionDialog(hwnd_, definition, DefinitionFields::WithoutDescription)) return;
  definitions_.push_back(definition);
  FillMaster(definitions_.size() - 1);
}

void TDLLBackUpFRM::EditEntry() {
  const std::optional<size_t> selected = SelectedDefinition();
  if (backup_.Running() || !selected) return;
  SearchDefinition definition = definitions_[*selected];
  if (!RunSearchDefinitionDialog(hwnd_, definition, DefinitionFields::WithoutDescription)) return;
  definitions_[*selected] = definition;
  if (*selected < found_.size()) found_[*selected].clear();
  FillMaster(selected);
}

void TDLLBackUpFRM::DeleteEntry() {
  const std::optional<size_t> selected = SelectedDefinition();
  if (backup_.Running() || !selected) return;
  definitions_.erase(definitions_.begin() + static_cast<std::ptrdiff_t>(*selected));
  if (*selected < found_.size()) found_.erase(found_.begin() + static_cast<std::ptrdiff_t>(*selected));
  FillMaster(definitions_.empty() ? std::nullopt : std::optional<size_t>(std::min(*selected, definitions_.size() - 1)));
}

void TDLLBackUpFRM::EnableRunControls(bool running) {
  for (int id : kEntryButtons) Item(id).Enable(!running);
  Item(IDC_BACKUP_START).Enable(!running);
  Item(IDC_BACKUP_CANCEL).Enable(running);
}

void TDLLBackUpFRM::BackUpFiles() {
  if (backup_.Running()) return;
  const std::string backupRoot = CurrentRestoreSettings(context_.programFolder).dllBackupPath;
  EnableRunControls(true);
  const bool ran = backup_.Run(definitions_, backupRoot, [this](size_t row) { MasterView().SelectAndShow(row); });
  EnableRunControls(false);
  if (ran) {
    found_.clear();
    for (uint64_t found : backup_.Found()) found_.push_back(std::to_string(found));
    FillMaster(SelectedDefinition().value_or(0));
  }
  FinishRun();
}

void TDLLBackUpFRM::ShowMasterMenu(POINT at) {
  if (backup_.Running() || buttonsHidden_) return;
  ShowDefinitionMenu(hwnd_, at, SelectedDefinition().has_value(),
                     {IDM_BACKUP_MASTER_NEW, IDM_BACKUP_MASTER_EDIT, IDM_BACKUP_MASTER_DELETE});
}

void TDLLBackUpFRM::SetStatus(const std::string& text) { ShowPanelText(Item(IDC_BACKUP_STATUS), text); }

void TDLLBackUpFRM::ShowCounters(const SearchCounters& counters) {
  ShowFileAndFolderCounts(Item(IDC_BACKUP_FILES), Item(IDC_BACKUP_FOLDERS), counters.files, counters.folders);
}

void RunFileBackupWindow(HWND owner, const FileBackupContext& context) {
  TDLLBackUpFRM form(context);
  form.DoModal(owner);
}

void BackUpFilesAfterSave(HWND owner, const FileBackupContext& context) {
  try {
    if (!StaticReg() || !SettingAsBool(ReadSetting("MakeDLLBackup", 0))) return;
    TDLLBackUpFRM form(context);
    if (!form.Create(owner)) return;
    form.HideButtons();
    form.Show();
    form.BackUpFiles();
  } catch (...) {
    // The configuration is saved; a backup that failed does not undo that.
  }
}

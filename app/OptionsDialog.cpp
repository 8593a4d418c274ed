#include "app/OptionsDialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>

#include "app/OptionsDialogIds.h"
#include "core/Errors.h"
#include "platform/Handle.h"
#include "ui/Controls.h"
#include "ui/FolderBrowser.h"

namespace {

constexpr int kPageTemplates[TfOptions::kPageCount] = {IDD_OPTIONS_GENERAL, IDD_OPTIONS_DISPLAY, IDD_OPTIONS_DELETE,
                                                       IDD_OPTIONS_BACKUP};
constexpr const char* kPageNames[TfOptions::kPageCount] = {"GeneralTS", "DisplayTS", "DeleteTS", "BackupTS"};

// The colour fields in the order of colors_.
constexpr int kColorFields[] = {IDC_HINT_COLOR, IDC_CAPTION_COLOR, IDC_CAPTION_TEXT_ACTIVE, IDC_CAPTION_TEXT_INACTIVE};

int ColorIndex(int id) {
  const int* field = std::find(std::begin(kColorFields), std::end(kColorFields), id);
  return field == std::end(kColorFields) ? -1 : static_cast<int>(field - std::begin(kColorFields));
}

}  // namespace

// One tab page: a child dialog whose commands and drawing the form handles, as all the
// settings' controls belong to the form.
class TfOptions::Page : public Dialog {
 public:
  Page(TfOptions& form, int index)
      : Dialog(kPageTemplates[index], "TTabSheet", kPageNames[index], &form), form_(form) {}

 protected:
  bool OnCommand(int id, int code, HWND) override { return form_.OnPageCommand(id, code); }
  bool OnMessage(UINT message, WPARAM, LPARAM lParam, INT_PTR& result) override {
    if (message != WM_DRAWITEM) return false;
    result = form_.DrawColorField(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return result != FALSE;
  }
  void OnOK() override { form_.OnOK(); }
  void OnCancel() override { form_.OnCancel(); }

 private:
  TfOptions& form_;
};

TfOptions::TfOptions() : Dialog(IDD_OPTIONS, "TfOptions", "fOptions") {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_TAB_CLASSES;
  InitCommonControlsEx(&controls);
}

TfOptions::~TfOptions() = default;

bool TfOptions::OnInit() {
  Window tabs = Item(IDC_OPTIONS_TABS);
  AddTabs(tabs, {"General", "Display", "Delete", "Backup"});
  RECT pageArea = tabs.RectIn(hwnd_);
  TabCtrl_AdjustRect(tabs, FALSE, &pageArea);
  for (int i = 0; i < kPageCount; ++i) {
    pages_[i] = std::make_unique<Page>(*this, i);
    if (!pages_[i]->Create(hwnd_)) throw Exception(ErrorKind::EComponentError, "Cannot create an options page");
    // Above the tab control (which clips its siblings), so the control never paints over it.
    SetWindowPos(*pages_[i], HWND_TOP, pageArea.left, pageArea.top, pageArea.right - pageArea.left,
                 pageArea.bottom - pageArea.top, SWP_NOACTIVATE);
  }
  // The colour fields stay editable: the settings travel with the user to a system that shows them.
  Control(IDC_CAPTION_COLOR_NOTE).Show(CaptionColorsSupported() ? SW_HIDE : SW_SHOW);
  ShowSettings(settings);
  SelectPage(0);
  return true;
}

void TfOptions::SelectPage(int index) {
  Item(IDC_OPTIONS_TABS).Send(TCM_SETCURSEL, index);
  for (int i = 0; i < kPageCount; ++i)
    if (pages_[i]) pages_[i]->Show(i == index ? SW_SHOW : SW_HIDE);
}

int TfOptions::CurrentPage() const { return static_cast<int>(Item(IDC_OPTIONS_TABS).Send(TCM_GETCURSEL)); }

Window TfOptions::Control(int id) const {
  for (const auto& page : pages_)
    if (page && page->Exists())
      if (HWND control = GetDlgItem(*page, id)) return control;
  return Item(id);
}

Settings TfOptions::ReadControls() const {
  Settings read;
  read.pathToSystemFiles = Control(IDC_PATH_TO_SYSTEM_FILES).Text();
  read.defaultText = Control(IDC_DEFAULT_TEXT).Text();
  read.emptyText = Control(IDC_EMPTY_TEXT).Text();
  read.showHints = Control(IDC_SHOW_HINTS).IsChecked();
  read.hintColor = colors_[0];
  read.captionColor = colors_[1];
  read.captionTextActive = colors_[2];
  read.captionTextInActive = colors_[3];
  read.useRecycleBin = Control(IDC_USE_RECYCLE_BIN).IsChecked();
  read.backupFiles = Control(IDC_BACKUP_FILES).IsChecked();
  read.backupDir = Control(IDC_BACKUP_DIR).Text();
  read.handleSharedDLLs = 0;
  for (int choice = 0; choice < 3; ++choice)
    if (Control(IDC_SHARED_DLLS_CONFIRM + choice).IsChecked()) read.handleSharedDLLs = choice;
  read.makeDLLBackup = Control(IDC_MAKE_DLL_BACKUP).IsChecked();
  read.dllBackupPath = Control(IDC_DLL_BACKUP_PATH).Text();
  read.useDLLBackupRestore = Control(IDC_USE_DLL_BACKUP_RESTORE).IsChecked();
  return read;
}

void TfOptions::ShowSettings(const Settings& shown) {
  Control(IDC_PATH_TO_SYSTEM_FILES).SetText(shown.pathToSystemFiles);
  Control(IDC_DEFAULT_TEXT).SetText(shown.defaultText);
  Control(IDC_EMPTY_TEXT).SetText(shown.emptyText);
  Control(IDC_SHOW_HINTS).SetChecked(shown.showHints);
  colors_ = {shown.hintColor, shown.captionColor, shown.captionTextActive, shown.captionTextInActive};
  for (int field : kColorFields) Control(field).Invalidate();
  Control(IDC_USE_RECYCLE_BIN).SetChecked(shown.useRecycleBin);
  Control(IDC_BACKUP_FILES).SetChecked(shown.backupFiles);
  Control(IDC_BACKUP_DIR).SetText(shown.backupDir);
  // A stored number outside the three choices shows the nearest one.
  int choice = std::clamp(shown.handleSharedDLLs, 0, 2);
  for (int i = 0; i < 3; ++i) Control(IDC_SHARED_DLLS_CONFIRM + i).SetChecked(i == choice);
  Control(IDC_MAKE_DLL_BACKUP).SetChecked(shown.makeDLLBackup);
  Control(IDC_DLL_BACKUP_PATH).SetText(shown.dllBackupPath);
  Control(IDC_USE_DLL_BACKUP_RESTORE).SetChecked(shown.useDLLBackupRestore);
}

uint32_t TfOptions::FieldColor(int id) const {
  int index = ColorIndex(id);
  return index < 0 ? 0 : colors_[index];
}

bool TfOptions::OnCommand(int id, int code, HWND) {
  if (id != IDC_OPTIONS_APPLY || code != BN_CLICKED) return false;
  Apply();
  return true;
}

bool TfOptions::OnNotify(int id, const NMHDR& header, LRESULT&) {
  if (id != IDC_OPTIONS_TABS || header.code != TCN_SELCHANGE) return false;
  SelectPage(CurrentPage());
  return true;
}

void TfOptions::OnOK() {
  Apply();
  End(IDOK);
}

void TfOptions::Apply() {
  Settings read = ReadControls();
  if (apply) apply(read);
  settings = read;
}

bool TfOptions::OnPageCommand(int id, int code) {
  if (code != BN_CLICKED) return false;
  if (ColorIndex(id) >= 0) {
    ChooseFieldColor(id);
    return true;
  }
  switch (id) {
    case IDC_BACKUP_DIR_BROWSE:
      BrowseFolder(IDC_BACKUP_DIR, "Folder");
      return true;
    case IDC_DLL_BACKUP_PATH_BROWSE:
      BrowseFolder(IDC_DLL_BACKUP_PATH, "Backup Folder:");
      return true;
    // Deleted files go either to the recycle bin or to the backup folder, not both.
    case IDC_USE_RECYCLE_BIN:
      if (Control(IDC_USE_RECYCLE_BIN).IsChecked()) Control(IDC_BACKUP_FILES).SetChecked(false);
      return true;
    case IDC_BACKUP_FILES:
    case IDC_MAKE_DLL_BACKUP:
    case IDC_USE_DLL_BACKUP_RESTORE:
      if (Control(IDC_BACKUP_FILES).IsChecked()) Control(IDC_USE_RECYCLE_BIN).SetChecked(false);
      return true;
    default:
      return false;
  }
}

bool TfOptions::DrawColorField(const DRAWITEMSTRUCT& item) const {
  int index = ColorIndex(static_cast<int>(item.CtlID));
  if (index < 0) return false;
  RECT area = item.rcItem;
  DrawEdge(item.hDC, &area, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  const UniqueBrush brush(CreateSolidBrush(SettingColorToRGB(colors_[index])));
  FillRect(item.hDC, &area, brush.Get());
  if (item.itemState & ODS_FOCUS) {
    InflateRect(&area, -1, -1);
    DrawFocusRect(item.hDC, &area);
  }
  return true;
}

void TfOptions::ChooseFieldColor(int id) {
  int index = ColorIndex(id);
  CHOOSECOLORA choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = hwnd_;
  choose.rgbResult = SettingColorToRGB(colors_[index]);
  choose.lpCustColors = customColors_;
  choose.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorA(&choose)) return;
  colors_[index] = choose.rgbResult;
  Control(id).Invalidate();
}

void TfOptions::BrowseFolder(int editId, const char* statusText) {
  FolderBrowseSpec spec;
  spec.statusText = statusText;
  std::string folder = Control(editId).Text();
  if (BrowseForFolder(hwnd_, spec, folder)) Control(editId).SetText(folder);
}

void BindOptionsToRegistry(TfOptions& form, TMyRegistry& settingsKey, const std::string& programFolder) {
  form.settings = LoadSettings(settingsKey, programFolder);
  form.apply = [&settingsKey](const Settings& changed) { SaveSettings(settingsKey, changed); };
}

bool RunOptionsDialog(HWND owner, TMyRegistry& settingsKey, const std::string& programFolder) {
  TfOptions form;
  BindOptionsToRegistry(form, settingsKey, programFolder);
  return form.DoModal(owner) == IDOK;
}

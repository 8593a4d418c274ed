#include "wizards/InstallWizardWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/TMyRegistry.h"
#include "res/resource.h"
#include "ui/Controls.h"
#include "wizards/InstallWizardWindowIds.h"

namespace {

using namespace install_wizard;

constexpr const char* kInInstallValue = "Wizard2InInstall";
constexpr int kStartButtonIds[] = {IDC_IW_START1, IDC_IW_START2, IDC_IW_START3,
                                   IDC_IW_START4, IDC_IW_START5, IDC_IW_START6};

// Places of a step page's controls inside the tab control's frame, in dialog units.
constexpr int kLeft = 18, kTop = 30, kLeftWidth = 120, kTextLeft = 148, kTextWidth = 304;
constexpr int kLineHeight = 8, kGap = 7, kButtonWidth = 120, kButtonHeight = 14, kReminderTop = 176;

int LineCount(const char* text) {
  int lines = 1;
  for (const char* c = text; *c; ++c)
    if (*c == '\n') ++lines;
  return lines;
}

int PageOrdinal(WizardSection section, int page) {
  return section == WizardSection::Install ? page : kInstallPages + page;
}

UniqueFont ScaledFont(HFONT base, int percent, bool bold) {
  LOGFONTA font{};
  GetObjectA(base, sizeof font, &font);
  font.lfHeight = font.lfHeight * percent / 100;
  if (bold) font.lfWeight = FW_BOLD;
  return UniqueFont(CreateFontIndirectA(&font));
}

// A value of another type than a number counts as not installing.
bool ReadInInstall(const std::string& keyPath) {
  try {
    TMyRegistry reg(HKEY_CURRENT_USER, kRegAccessReadWrite);
    return reg.OpenKey(keyPath, true) && reg.ValueExists(kInInstallValue) && reg.ReadInteger(kInInstallValue) == 1;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

TWizard2FRM::TWizard2FRM(WizardHost host, std::string settingsKeyPath)
    : Dialog(IDD_INSTALL_WIZARD, "TWizard2FRM", "Wizard2FRM"),
      host_(std::move(host)),
      keyPath_(std::move(settingsKeyPath)),
      ui_(StatusControls{}) {}

TWizard2FRM::~TWizard2FRM() {
  for (HICON picture : pictures_) DestroyIcon(picture);
}

bool TWizard2FRM::OnInit() {
  ui_ = GuiInteraction(StatusControls{hwnd_, nullptr});
  const std::vector<WizardButton>& start = StartButtons();
  titleFont_ = ScaledFont(Font(), 125, true);
  for (size_t i = 0; i < start.size(); ++i) {
    Item(kStartButtonIds[i]).SetText(start[i].caption);
    Item(kStartButtonIds[i]).SetFont(titleFont_.Get(), false);
    actions_.emplace_back(Item(kStartButtonIds[i]), start[i].action);
  }
  for (WizardSection section : {WizardSection::Install, WizardSection::Uninstall}) {
    HWND tabs = Item(section == WizardSection::Install ? IDC_IW_INSTALL_TABS : IDC_IW_UNINSTALL_TABS);
    const std::vector<WizardStepPage>& pages = PagesOf(section);
    for (size_t i = 0; i < pages.size(); ++i) {
      TCITEMA tab{};
      tab.mask = TCIF_TEXT;
      tab.pszText = const_cast<char*>(pages[i].tab);
      TabCtrl_InsertItem(tabs, static_cast<int>(i), &tab);
    }
  }
  CreateStepPages();

  if (ReadInInstall(keyPath_))
    ShowSection(WizardSection::Install, kInstallNewApplication);
  else
    ShowStartPage();
  return false;  // the page put the focus on its first button
}

void TWizard2FRM::CreateStepPages() {
  stepFont_ = ScaledFont(Font(), 200, true);
  const auto place = [this](HWND control, int x, int y, int width, int height) {
    RECT rect{x, y, x + width, y + height};
    MapDialogRect(hwnd_, &rect);
    MoveWindow(control, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, FALSE);
  };
  // The tab order: the start page's buttons, each page's buttons, then the navigation and the
  // tabs, so that Tab reaches the step's own buttons first.
  std::vector<HWND> order;
  for (int id : kStartButtonIds) order.push_back(Item(id));
  for (WizardSection section : {WizardSection::Install, WizardSection::Uninstall}) {
    const std::vector<WizardStepPage>& pages = PagesOf(section);
    for (int page = 0; page < static_cast<int>(pages.size()); ++page) {
      const WizardStepPage& content = pages[static_cast<size_t>(page)];
      int id = IDC_IW_PAGE_FIRST + kInstallWizardPageIdStep * PageOrdinal(section, page);
      const auto add = [&](HWND control, HFONT font) {
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : Font()), FALSE);
        pageControls_.push_back({control, section, page});
        order.push_back(control);
        return control;
      };
      place(add(CreateChild(hwnd_, "STATIC", content.step, SS_LEFT | SS_NOPREFIX, id++), stepFont_.Get()), kLeft, kTop,
            kLeftWidth, 2 * kLineHeight);
      const int titleHeight = LineCount(content.title) * (kLineHeight + 2);
      place(add(CreateChild(hwnd_, "STATIC", content.title, SS_LEFT | SS_NOPREFIX, id++), titleFont_.Get()), kLeft,
            kTop + 2 * kLineHeight + 4, kLeftWidth, titleHeight);
      int y = kTop;
      for (const char* text : content.texts) {
        const int height = LineCount(text) * kLineHeight;
        place(add(CreateChild(hwnd_, "STATIC", text, SS_LEFT | SS_NOPREFIX, id++), nullptr), kTextLeft, y, kTextWidth,
              height);
        y += height + kGap;
      }
      if (content.reminderLabel) {
        place(add(CreateChild(hwnd_, "STATIC", content.reminderLabel, SS_LEFT | SS_NOPREFIX, id++), nullptr), kLeft,
              kReminderTop, 90, 2 * kLineHeight);
        HWND picture = add(CreateChild(hwnd_, "STATIC", "", SS_ICON, id++), nullptr);
        place(picture, kLeft + 94, kReminderTop - 2, 20, 20);
        if (HICON icon = host_.buttonPicture ? host_.buttonPicture(content.reminderCommand) : nullptr) {
          pictures_.push_back(icon);
          SendMessageA(picture, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        }
      }
      int buttonId =
          IDC_IW_PAGE_FIRST + kInstallWizardPageIdStep * PageOrdinal(section, page) + kInstallWizardButtonOffset;
      int buttonTop = kTop + 2 * kLineHeight + 4 + titleHeight + 12;
      for (const WizardButton& button : content.buttons) {
        HWND control =
            add(CreateChild(hwnd_, "BUTTON", button.caption, WS_TABSTOP | BS_PUSHBUTTON, buttonId++), nullptr);
        place(control, kLeft, buttonTop, kButtonWidth, kButtonHeight);
        buttonTop += kButtonHeight + 6;
        actions_.emplace_back(control, button.action);
      }
    }
  }
  for (int id : {IDC_IW_BACK, IDC_IW_NEXT, IDC_IW_START_PAGE, IDC_IW_CLOSE, IDC_IW_INSTALL_TABS, IDC_IW_UNINSTALL_TABS})
    order.push_back(Item(id));
  HWND previous = HWND_TOP;
  for (HWND control : order) {
    SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = control;
  }
}

void TWizard2FRM::ShowControls() {
  const bool start = section_ == WizardSection::Start;
  for (int id : kStartButtonIds) Item(id).Show(start ? SW_SHOW : SW_HIDE);
  for (const PageControl& control : pageControls_)
    ShowWindow(control.window, control.section == section_ && control.page == Page() ? SW_SHOW : SW_HIDE);
  Item(IDC_IW_INSTALL_TABS).Show(section_ == WizardSection::Install ? SW_SHOW : SW_HIDE);
  Item(IDC_IW_UNINSTALL_TABS).Show(section_ == WizardSection::Uninstall ? SW_SHOW : SW_HIDE);
  if (!start) {
    HWND tabs = Item(section_ == WizardSection::Install ? IDC_IW_INSTALL_TABS : IDC_IW_UNINSTALL_TABS);
    TabCtrl_SetCurSel(tabs, Page());
  }
  const int last = start ? 0 : static_cast<int>(PagesOf(section_).size()) - 1;
  for (int id : {IDC_IW_BACK, IDC_IW_NEXT, IDC_IW_START_PAGE}) Item(id).Show(start ? SW_HIDE : SW_SHOW);
  Item(IDC_IW_BACK).Enable(!start && Page() > 0);
  Item(IDC_IW_NEXT).Enable(!start && Page() < last);
  // The focus goes to the page's first button, unless the user is moving through the pages with
  // the tabs or Back and Next.
  HWND focus = GetFocus();
  if (!start && focus && IsWindowVisible(focus) && IsWindowEnabled(focus)) {
    const int focusId = GetDlgCtrlID(focus);
    if (focusId == IDC_IW_BACK || focusId == IDC_IW_NEXT || focusId == IDC_IW_INSTALL_TABS ||
        focusId == IDC_IW_UNINSTALL_TABS)
      return;
  }
  HWND first = start ? Item(IDC_IW_START1).Handle()
                     : Item(IDC_IW_PAGE_FIRST + kInstallWizardPageIdStep * PageOrdinal(section_, Page()) +
                            kInstallWizardButtonOffset)
                           .Handle();
  if (first) SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
}

void TWizard2FRM::ShowStartPage() {
  section_ = WizardSection::Start;
  ShowControls();
}

void TWizard2FRM::ShowSection(WizardSection section, int page) {
  if (section == WizardSection::Start) {
    ShowStartPage();
    return;
  }
  section_ = section;
  pages_[Index(section)] = std::clamp(page, 0, static_cast<int>(PagesOf(section).size()) - 1);
  ShowControls();
  AfterPageChange();
}

void TWizard2FRM::Step(int delta) {
  if (section_ == WizardSection::Start) return;
  const int page = Page() + delta;
  if (page < 0 || page >= static_cast<int>(PagesOf(section_).size())) return;
  ShowSection(section_, page);
}

void TWizard2FRM::AfterPageChange() {
  // Away from the install step the user is no longer in the middle of installing.
  if (pages_[Index(WizardSection::Install)] != kInstallNewApplication) SetInInstall(false);
}

void TWizard2FRM::SetInInstall(bool inInstall) const {
  TMyRegistry reg(HKEY_CURRENT_USER, kRegAccessReadWrite);
  if (reg.OpenKey(keyPath_, true)) reg.WriteInteger(kInInstallValue, inInstall ? 1 : 0);
}

HWND TWizard2FRM::ActionButton(InstallWizardAction action) const {
  for (const auto& [button, buttonAction] : actions_)
    if (buttonAction == action) return button;
  return nullptr;
}

bool TWizard2FRM::OnCommand(int id, int code, HWND control) {
  if (code != BN_CLICKED) return false;
  for (const auto& [button, action] : actions_) {
    if (button == control && control) {
      Run(action);
      return true;
    }
  }
  if (running_) return id == IDC_IW_BACK || id == IDC_IW_NEXT || id == IDC_IW_START_PAGE || id == IDC_IW_CLOSE;
  switch (id) {
    case IDC_IW_BACK:
      Step(-1);
      return true;
    case IDC_IW_NEXT:
      Step(1);
      return true;
    case IDC_IW_START_PAGE:
      SetInInstall(false);
      ShowStartPage();
      return true;
    case IDC_IW_CLOSE:
      SetInInstall(false);
      Hide();
      return true;
    default:
      return false;
  }
}

bool TWizard2FRM::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  if (message != WM_CTLCOLORSTATIC) return false;
  const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
  if (id < IDC_IW_PAGE_FIRST) return false;
  HBRUSH brush = TabPageTextColors(reinterpret_cast<HDC>(wParam));
  result = reinterpret_cast<INT_PTR>(brush);
  return brush != nullptr;
}

bool TWizard2FRM::OnNotify(int id, const NMHDR& header, LRESULT&) {
  if (header.code != TCN_SELCHANGE || (id != IDC_IW_INSTALL_TABS && id != IDC_IW_UNINSTALL_TABS)) return false;
  ShowSection(id == IDC_IW_INSTALL_TABS ? WizardSection::Install : WizardSection::Uninstall,
              TabCtrl_GetCurSel(header.hwndFrom));
  return true;
}

void TWizard2FRM::Present() {
  ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void TWizard2FRM::Hide() { ShowWindow(hwnd_, SW_HIDE); }

UserInteraction& TWizard2FRM::Ui() { return IsWindowVisible(hwnd_) || !host_.ui ? ui_ : host_.ui(); }

bool TWizard2FRM::RunHidden(int command) {
  Hide();
  return host_.runCommand(command);
}

void TWizard2FRM::Run(InstallWizardAction action) {
  // A command started here lets messages run; the wizard's buttons wait for it.
  if (running_) return;
  running_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{running_};
  using A = InstallWizardAction;
  switch (action) {
    case A::ShowInstallSection:
      ShowSection(WizardSection::Install, 0);
      return;
    case A::ShowUninstallSection:
      ShowSection(WizardSection::Uninstall, 0);
      return;
    case A::RemoveExistingApplication:
      RunHidden(IDM_DELETE_APPLICATIONS);
      return;
    case A::FindDuplicates:
      RunHidden(IDM_FIND_DUPLICATES);
      return;
    case A::DeleteTempFiles:
      RunHidden(IDM_FIND_TEMP_FILES);
      return;
    case A::DeleteFonts:
      RunHidden(IDM_DELETE_FONTS);
      return;
    case A::SelectManually:
      Hide();
      host_.showSelectionPages();
      host_.bringToFront();
      return;
    case A::AutomaticSelection:
      host_.selectDefaults();
      Ui().Tell(MsgType::Information, "Automatic selection complete.\rSelect Next to continue.");
      return;
    case A::SaveConfiguration: {
      const bool saved = RunHidden(IDM_SAVE_CURRENT_CONFIG);
      if (!Exists()) return;
      Present();
      // A save that failed or was declined has said so already; it is not "stored".
      if (saved) Ui().Tell(MsgType::Information, "Configuration stored.\rSelect Next to continue.");
      return;
    }
    case A::SwitchToExplorer:
      SetInInstall(true);
      host_.minimize();
      host_.startExplorer();
      return;
    case A::CreateLogFile:
      if (!RunHidden(IDM_COMPARE)) {
        // The compare's error was shown; the user may try this step again.
        if (Exists()) Present();
        return;
      }
      if (!Exists()) return;
      ShowStartPage();
      Ui().Tell(MsgType::Information,
                "Configuration stored.\r     Deinstall procedure completed.\r"
                "Please switch to the main program window to review changes made.");
      return;
    case A::LoadLogFile:
      RunHidden(IDM_LOAD_LOG_FILE);
      if (!Exists()) return;
      Present();
      // Restore All is enabled exactly while a log is loaded.
      if (host_.isCommandEnabled(IDM_RESTORE_ALL))
        Ui().Tell(MsgType::Information, "Log file loaded.\rSelect Next to continue.");
      else
        Ui().Tell(MsgType::Warning, "No log file loaded!");
      return;
    case A::NoLogFile:
      Hide();
      ShowStartPage();
      host_.runCommand(IDM_DELETE_APPLICATIONS);
      return;
    case A::SemiAutomaticDeinstallation:
      Hide();
      ShowStartPage();
      host_.showLogPages();
      Ui().ProcessMessages();
      Ui().Tell(MsgType::Information,
                "You can now review the logged changes in detail.\rRight-click on an item to display the pop-up "
                "menu,\rthen select \"Restore Changes\" to undo the deletions.\rThis works both in the tree (left) "
                "and the list window (right).");
      return;
    case A::AutomaticDeinstallation:
      if (!host_.isCommandEnabled(IDM_RESTORE_ALL)) {
        Ui().Tell(MsgType::Information, "Please load a log file first!");
        return;
      }
      ShowStartPage();
      RunHidden(IDM_RESTORE_ALL);
      return;
  }
}

#include "app/MainWindow.h"

#include <commctrl.h>
#include <shellapi.h>
#include <uxtheme.h>

#include <algorithm>

#include "app/ErrorReporting.h"
#include "app/ExclusionCommands.h"
#include "app/MainCommands.h"
#include "app/OptionsDialog.h"
#include "app/SelectionCommands.h"
#include "app/SelectionTreeBuilder.h"
#include "app/Settings.h"
#include "app/SettingsEffects.h"
#include "platform/SettingsAccess.h"
#include "core/CheckStates.h"
#include "core/Errors.h"
#include "res/resource.h"
#include "ui/Controls.h"
#include "ui/Dpi.h"
#include "ui/ListView.h"
#include "ui/MessagePump.h"
#include "ui/ShellIcons.h"
#include "ui/Splitter.h"
#include "wizards/WelcomeDialog.h"

namespace {

constexpr char kWindowClass[] = "QuorvelMainWindow";
// Lengths at 96 DPI; the window scales them to its monitor's DPI.
constexpr int kStatusHeight = 22;
constexpr int kMargin = 4;
constexpr int kProgressWidth = 150;
constexpr SIZE kDefaultSize{900, 640};
constexpr SIZE kMinimumSize{520, 360};

enum ControlId {
  kToolbarId = 3000,
  kOuterTabsId,
  kSelectionTabsId,
  kLogTabsId,
  kFirstPageControlId = 3100,
  kStatusPanelId = 3200,
  kStatusLabel2Id,
  kProgressBar1Id,
  kProgressBar2Id,
  kDeleteExcludedId,
  kRightsLabelId,
};

constexpr char kNoRightsText[] = "No administrator rights";

struct ToolButton {
  int command;
  int image;  // index into the common toolbar bitmap, or kOwnPicture + index into our own strip
  const char* hint;
};

// Pictures of res/Toolbar.bmp, appended behind the common ones.
constexpr int kOwnPicture = 1000;
enum OwnPicture { kStepWizardPicture = kOwnPicture, kWizardPicture, kInstallPicture, kRemovePicture, kLoadLogPicture };

constexpr ToolButton kToolButtons[] = {
    {IDM_STEP_WIZARD, kStepWizardPicture, "Step-by-Step Wizard"},
    {IDM_START_WIZARD, kWizardPicture, "Wizard"},
    {IDM_INSTALL_APPLICATION, kInstallPicture, "Install an Application"},
    {IDM_REMOVE_APPLICATION, kRemovePicture, "Remove an Application"},
    {0, 0, nullptr},
    {IDM_LOAD_SELECTION, STD_FILEOPEN, "Load Selection File"},
    {IDM_SAVE_SELECTION, STD_FILESAVE, "Save Selection File"},
    {0, 0, nullptr},
    {IDM_SAVE_CURRENT_CONFIG, STD_FILENEW, "Save Current Configuration"},
    {IDM_COMPARE, STD_FIND, "Compare (create log file)"},
    {IDM_INCREMENTAL_COMPARE, STD_REPLACE, "Incremental Compare (stores current config after compare)"},
    {IDM_LOAD_LOG_FILE, kLoadLogPicture, "Load Log File"},
    {0, 0, nullptr},
    {IDM_REFRESH_VIEW, STD_REDOW, "Refresh View"},
    {0, 0, nullptr},
    {IDM_RESTORE_ALL, STD_UNDO, "Restore All (remove all changes)"},
};

// Positions of the pop-up menus in IDR_RESULT_POPUPS: the three result trees, then the lists
// beside them, in LogSection order, then the drive selection's file list and the system-file
// selection tree.
constexpr int kResultListPopups = 3;
constexpr int kDriveSelFilesPopup = 6;
constexpr int kSystemSelectPopup = 7;

// Rows of the icon legend: image index of the strip and its meaning.
constexpr std::pair<int, const char*> kIconLegend[] = {
    {7, "a deleted Key,Dir or Entry"},
    {6, "a new (added) Key,Dir or Entry"},
    {8, "altered Key, the Values or Files of this Key have been changed"},
    {10, "deleted Value or File"},
    {9, "new (added) Value or File"},
    {11, "old Value of a changed Entry"},
    {12, "new (actual) Value of a changed Value"},
    {2, "Workplace, all Drives, all Systemfiles"},
    {13, "Registry Value: type string"},
    {15, "Registry Value: type integer"},
    {14, "Registry Value: type binary"},
};

using Columns = std::vector<ListColumn>;

HWND CreateTree(HWND parent, int id) {
  return CreateChild(parent, WC_TREEVIEWA, "",
                     WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, id);
}

HWND CreateList(HWND parent, int id, const Columns& columns) {
  // The image lists belong to their owners, which share them among several controls.
  ListView list = CreateChild(parent, WC_LISTVIEWA, "",
                              WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS, id);
  list.SetFullRowSelect();
  list.AddColumns(columns);
  return list;
}

void Place(HWND control, int x, int y, int width, int height) {
  MoveWindow(control, x, y, width > 0 ? width : 0, height > 0 ? height : 0, TRUE);
}

BOOL CALLBACK SetChildFont(HWND child, LPARAM font) {
  SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
  return TRUE;
}

// Calls visit with each command item of menu and its submenus, last item first, so that visit
// may delete the item.
void ForEachCommandItem(HMENU menu, const std::function<void(HMENU menu, int position, int id)>& visit) {
  for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
    if (HMENU submenu = GetSubMenu(menu, i))
      ForEachCommandItem(submenu, visit);
    else if (const int id = static_cast<int>(GetMenuItemID(menu, i)); id > 0)
      visit(menu, i, id);
  }
}

}  // namespace

// One inner page: its controls and how they fill the page's rectangle.
struct MainWindow::Page {
  std::vector<HWND> controls;
  std::function<void(const RECT&)> layout;
  // Pages of a tree beside a list: their divider and the names under which the layout is kept.
  std::unique_ptr<Splitter> splitter;
  std::string treeName;
  std::string listName;
  HWND list = nullptr;
};

MainWindow::MainWindow(Session& session, ErrorHandler onError)
    : WindowBase("TMainForm", "MainForm"), session_(session), onError_(std::move(onError)) {
  RegisterMainCommands(commands_);
  commands_.Add({IDM_STEP_WIZARD, "WizardBTN", false, [this](CommandEnvironment&) { OpenStepWizard(); }});
  commands_.Add({IDM_START_WIZARD, "Wizard2BTN", false, [this](CommandEnvironment&) { OpenInstallWizard(); }});
  commands_.Add({IDM_INSTALL_APPLICATION, "InstallNewProgBTN", false,
                 [this](CommandEnvironment&) { OpenInstallWizard().ShowSection(WizardSection::Install, 0); }});
  commands_.Add({IDM_REMOVE_APPLICATION, "RemoveProgramBTN", false,
                 [this](CommandEnvironment&) { OpenInstallWizard().ShowSection(WizardSection::Uninstall, 0); }});
  commands_.Add({IDM_WELCOME_SCREEN, "WelcomeMNU", false, [this](CommandEnvironment&) { ShowWelcomeScreen(); }});
}

MainWindow::~MainWindow() {
  // The wizards keep their state and go before the window they work with.
  if (stepWizard_) stepWizard_->Close();
  stepWizard_.reset();
  installWizard_.reset();
  session_.SetView(nullptr);
  if (hwnd_) DestroyWindow(hwnd_);
  results_.reset();
  pages_.reset();
  icons_.Reset();
  accelerators_.Reset();
}

HWND MainWindow::Create() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  // The monitor is not known yet: the default size is for the system's DPI, within the primary
  // monitor's work area.
  scale_ = DpiScale(SystemDpi());
  RECT work{0, 0, scale_(kDefaultSize.cx), scale_(kDefaultSize.cy)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int width = std::min<int>(scale_(kDefaultSize.cx), work.right - work.left);
  const int height = std::min<int>(scale_(kDefaultSize.cy), work.bottom - work.top);
  const WindowClassSpec windowClass{
      kWindowClass, LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
      LoadIconA(instance, MAKEINTRESOURCEA(IDI_QUORVEL)),
      static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_QUORVEL), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                    GetSystemMetrics(SM_CYSMICON), LR_SHARED))};
  HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAINMENU));
  if (!CreateFromClass(windowClass, 0, "Quorvel", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                       {CW_USEDEFAULT, CW_USEDEFAULT, width, height}, nullptr, menu))
    throw Exception(ErrorKind::EComponentError, "The main window could not be created.");
  accelerators_.Reset(LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS)));
  MessagePump::AddWindow(hwnd_, accelerators_.Get(), true);
  return hwnd_;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      scale_ = DpiScale(WindowDpi(hwnd_));
      CreateControls();
      return 0;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {scale_(kMinimumSize.cx), scale_(kMinimumSize.cy)};
      return 0;
    }
    case WM_DPICHANGED: {
      // Moved to a monitor of another DPI: the suggested rectangle keeps the window's place.
      const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
      ApplyDpi(HIWORD(wParam));
      SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_INITMENUPOPUP:
      UpdateCommandStates();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kDeleteExcludedId) {
        if (!busy_) pages_->DeleteSelectedExcludeEntry();
      } else if (HIWORD(wParam) == 0 || HIWORD(wParam) == 1) {
        RunCommand(LOWORD(wParam));
      }
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) RememberFocus();
      return DefaultHandling(message, wParam, lParam);
    case WM_CANCELMODE:
      // Sent as the window is disabled for a message box, while its control still has the
      // focus it is about to lose.
      RememberFocus();
      return DefaultHandling(message, wParam, lParam);
    case WM_SETFOCUS:
      RestoreFocus();
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

void MainWindow::RememberFocus() {
  HWND focus = GetFocus();
  if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
}

void MainWindow::RestoreFocus() {
  HWND target = lastFocus_;
  // A control of a page that is no longer shown gives way to the first control of this one.
  if (!target || !IsWindow(target) || !IsWindowVisible(target) || !IsWindowEnabled(target))
    target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  if (target) SetFocus(target);
}

void MainWindow::CreateControls() {
  icons_.Reset(LoadImageStrip("Icons", scale_.ImageSize(), scale_.ImageFactor()));
  CreateToolbar();
  CreatePages();
  CreateStatusLine();
  status_.owner = hwnd_;
  ui_ = std::make_unique<GuiInteraction>(status_);
  pages_ = std::make_unique<SelectionPages>(
      session_, *ui_,
      SelectionControls{Control("RegView"), Control("ListView1"), Control("DriveSel"), Control("DriveSelFiles"),
                        Control("SystemSelect"), Control("SystemselectValues"), Control("NoCheck")},
      icons_.Get());
  results_ = std::make_unique<ResultPages>(
      session_, *ui_,
      ResultControls{Control("ResultView"), Control("ResultValues"), Control("DriveResult"),
                     Control("ResultDriveFiles"), Control("SystemResult"), Control("SystemResultValues")},
      ResultImages{icons_.Get(), pages_->DriveImages(), pages_->SystemImages()});
  results_->onTreeMenu = [this](LogSection section, POINT screen) { ShowPopup(static_cast<int>(section), screen); };
  results_->onListMenu = [this](LogSection section, POINT screen) {
    ShowPopup(kResultListPopups + static_cast<int>(section), screen);
  };
  pages_->onFileListMenu = [this](POINT screen) { ShowPopup(kDriveSelFilesPopup, screen); };
  pages_->onSystemTreeMenu = [this](POINT screen) { ShowPopup(kSystemSelectPopup, screen); };
  session_.SetView(this);
  ForEachCommandItem(GetMenu(hwnd_), [this](HMENU menu, int position, int id) {
    if (!commands_.IsVisible(id)) DeleteMenu(menu, position, MF_BYPOSITION);
  });
  UpdateCommandStates();
  ShowPages();
  // Controls are made with the system's font; a window on a monitor of another DPI needs its own.
  if (scale_.Dpi() != SystemDpi()) ApplyDpi(scale_.Dpi());
}

void MainWindow::CreateToolbar() {
  toolbar_ =
      CreateChild(hwnd_, TOOLBARCLASSNAMEA, "", WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, kToolbarId);
  SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  // The large pictures (24 pixels) from 144 DPI on: drawn at that size, not stretched.
  TBADDBITMAP bitmap{HINST_COMMCTRL, scale_.Dpi() >= 144 ? static_cast<UINT_PTR>(IDB_STD_LARGE_COLOR)
                                                         : static_cast<UINT_PTR>(IDB_STD_SMALL_COLOR)};
  SendMessageA(toolbar_, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&bitmap));
  // Our own pictures join the toolbar's list at the size of the common ones.
  const auto pictures = reinterpret_cast<HIMAGELIST>(SendMessageA(toolbar_, TB_GETIMAGELIST, 0, 0));
  const int ownFirst = pictures ? ImageList_GetImageCount(pictures) : 0;
  if (pictures) {
    UniqueBitmap strip(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr),
                                                       scale_.Dpi() >= 144 ? "TOOLPICTURES24" : "TOOLPICTURES",
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (strip) ImageList_AddMasked(pictures, strip.Get(), RGB(255, 0, 255));
  }
  // Button texts serve as hints only.
  SendMessageA(toolbar_, TB_SETMAXTEXTROWS, 0, 0);
  std::vector<TBBUTTON> buttons;
  for (const ToolButton& tool : kToolButtons) {
    TBBUTTON button{};
    if (tool.command == 0) {
      button.fsStyle = BTNS_SEP;
    } else {
      button.iBitmap = tool.image >= kOwnPicture ? ownFirst + tool.image - kOwnPicture : tool.image;
      button.idCommand = tool.command;
      button.fsState = TBSTATE_ENABLED;
      button.fsStyle = BTNS_BUTTON;
      button.iString = reinterpret_cast<INT_PTR>(tool.hint);
    }
    buttons.push_back(button);
  }
  SendMessageA(toolbar_, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);
  named_.emplace_back("Toolbar", toolbar_);
}

void MainWindow::CreatePages() {
  // Tab stops too: with the focus on a tab control, the arrow keys change the page.
  outerTabs_ = CreateChild(hwnd_, WC_TABCONTROLA, "", WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, kOuterTabsId);
  AddTabs(outerTabs_, {"Selection: Registry, Drives", "View Log File"});
  selectionTabs_ = CreateChild(hwnd_, WC_TABCONTROLA, "", WS_CLIPSIBLINGS | WS_TABSTOP, kSelectionTabsId);
  AddTabs(selectionTabs_, {"Registry", "Drives", "System Files", "Options / Icons"});
  logTabs_ = CreateChild(hwnd_, WC_TABCONTROLA, "", WS_CLIPSIBLINGS | WS_TABSTOP, kLogTabsId);
  AddTabs(logTabs_, {"Registry Changes", "Changed Files", "Changed System Files"});
  named_.insert(named_.end(), {{"PageControl", outerTabs_}, {"SelectionTabs", selectionTabs_}, {"LogTabs", logTabs_}});

  int nextId = kFirstPageControlId;
  // A tree on the left, the list of the selected node's contents beside it, a splitter between.
  auto treeAndList = [&](const char* treeName, const char* listName, const Columns& columns) {
    auto page = std::make_unique<Page>();
    HWND tree = CreateTree(hwnd_, nextId++);
    Page* self = page.get();
    page->splitter = std::make_unique<Splitter>(hwnd_, nextId++, [this, self] { self->layout(pageArea_); });
    HWND list = CreateList(hwnd_, nextId++, columns);
    named_.emplace_back(treeName, tree);
    named_.emplace_back(listName, list);
    named_.emplace_back(std::string(treeName) + "Splitter", page->splitter->Handle());
    page->controls = {tree, page->splitter->Handle(), list};
    page->treeName = treeName;
    page->listName = listName;
    page->list = list;
    page->layout = [tree, list, self](const RECT& r) {
      int treeWidth = self->splitter->Arrange(r);
      int listLeft = r.left + treeWidth + self->splitter->BarWidth();
      Place(tree, r.left, r.top, treeWidth, r.bottom - r.top);
      Place(list, listLeft, r.top, r.right - listLeft, r.bottom - r.top);
    };
    return page;
  };

  const Columns fileColumns = {{"Filename", 200}, {"Size", 90, ListAlign::Right}, {"Date", 140}, {"Attr", 50}};
  selectionPages_.push_back(treeAndList("RegView", "ListView1", {{"Name", 160}, {"Value", 300}}));
  selectionPages_.push_back(treeAndList("DriveSel", "DriveSelFiles", fileColumns));
  selectionPages_.push_back(treeAndList("SystemSelect", "SystemselectValues", {{"Entry", 160}, {"Value", 300}}));

  // Options / Icons: the exclude list with its buttons, and the legend of the icons.
  auto options = std::make_unique<Page>();
  HWND noCheck = CreateList(hwnd_, nextId++, {{"Excluded files:", 300}});
  HWND add = CreateChild(hwnd_, "BUTTON", "Add", WS_TABSTOP | BS_PUSHBUTTON, IDM_ADD_EXCLUDED_FILES);
  HWND remove = CreateChild(hwnd_, "BUTTON", "Delete", WS_TABSTOP | BS_PUSHBUTTON, kDeleteExcludedId);
  HWND legendLabel = CreateChild(hwnd_, "STATIC", "Meaning of the icons:", SS_LEFT, nextId++);
  HWND legend = CreateList(hwnd_, nextId++, {{"Icons", 420}});
  named_.insert(named_.end(), {{"NoCheck", noCheck},
                               {"AddBTN", add},
                               {"DeleteBTN", remove},
                               {"LegendLBL", legendLabel},
                               {"ListView2", legend}});
  options->controls = {noCheck, add, remove, legendLabel, legend};
  options->layout = [=, this](const RECT& r) {
    const DpiScale& s = scale_;
    int width = r.right - r.left;
    int half = (width - s(kMargin)) / 2;
    int height = r.bottom - r.top;
    Place(noCheck, r.left, r.top, half, height - s(32));
    Place(add, r.left, r.bottom - s(26), s(80), s(24));
    Place(remove, r.left + s(88), r.bottom - s(26), s(80), s(24));
    Place(legendLabel, r.left + half + s(kMargin), r.top, half, s(18));
    Place(legend, r.left + half + s(kMargin), r.top + s(20), half, height - s(20));
  };
  selectionPages_.push_back(std::move(options));
  FillIconLegend();

  logPages_.push_back(treeAndList("ResultView", "ResultValues", {{"Name", 160}, {"Value", 300}}));
  logPages_.push_back(treeAndList("DriveResult", "ResultDriveFiles", fileColumns));
  logPages_.push_back(treeAndList("SystemResult", "SystemResultValues", {{"Entry", 160}, {"Value", 300}}));
}

void MainWindow::FillIconLegend() {
  ListView legend = Control("ListView2");
  legend.SetImageList(icons_.Get());
  ListView::Refill refill(legend);
  for (size_t row = 0; row < std::size(kIconLegend); ++row)
    legend.AddRow({row, kIconLegend[row].first}, {kIconLegend[row].second});
}

void MainWindow::CreateStatusLine() {
  status_.progressBar1 = CreateChild(hwnd_, PROGRESS_CLASSA, "", WS_VISIBLE, kProgressBar1Id);
  status_.progressBar2 = CreateChild(hwnd_, PROGRESS_CLASSA, "", 0, kProgressBar2Id);
  status_.statusPanel =
      CreateChild(hwnd_, "STATIC", " Status", WS_VISIBLE | SS_LEFT | SS_SUNKEN | SS_CENTERIMAGE, kStatusPanelId);
  status_.statusLabel2 = CreateChild(hwnd_, "STATIC", "", SS_LEFT | SS_CENTERIMAGE, kStatusLabel2Id);
  // The second label sits on top of the panel's right half.
  SetWindowPos(status_.statusLabel2, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  // Said for as long as the window is open: every undo under HKEY_LOCAL_MACHINE would fail.
  rightsLabel_ = CreateChild(hwnd_, "STATIC", kNoRightsText,
                             SS_CENTER | SS_SUNKEN | SS_CENTERIMAGE |
                                 (session_.State().administratorRights ? 0 : static_cast<DWORD>(WS_VISIBLE)),
                             kRightsLabelId);
  named_.emplace_back("RightsLBL", rightsLabel_);
  named_.insert(named_.end(), {{"ProgressBar1", status_.progressBar1},
                               {"ProgressBar2", status_.progressBar2},
                               {"Statuspanel", status_.statusPanel},
                               {"StatusLBL2", status_.statusLabel2}});
}

void MainWindow::ApplyDpi(UINT dpi) {
  scale_ = DpiScale(dpi);
  EnumChildWindows(hwnd_, SetChildFont, reinterpret_cast<LPARAM>(GuiFontForDpi(dpi)));
  Layout();
}

void MainWindow::Layout() {
  if (!toolbar_) return;
  RECT client;
  GetClientRect(hwnd_, &client);
  SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);
  RECT toolbarRect;
  GetWindowRect(toolbar_, &toolbarRect);
  int top = toolbarRect.bottom - toolbarRect.top;
  const DpiScale& s = scale_;
  const int margin = s(kMargin);
  const int statusHeight = s(kStatusHeight);
  int statusTop = client.bottom - statusHeight;

  int x = margin;
  Place(status_.progressBar1, x, statusTop + s(3), s(kProgressWidth), statusHeight - s(6));
  x += s(kProgressWidth) + margin;
  Place(status_.progressBar2, x, statusTop + s(3), s(kProgressWidth), statusHeight - s(6));
  x += s(kProgressWidth) + margin;
  int right = client.right - margin;
  if (!session_.State().administratorRights) {
    const int rightsWidth = TextExtent(rightsLabel_, kNoRightsText, false).cx + s(16);
    right -= rightsWidth + margin;
    Place(rightsLabel_, right + margin, statusTop + s(2), rightsWidth, statusHeight - s(4));
  }
  int panelWidth = right - x;
  Place(status_.statusPanel, x, statusTop + s(2), panelWidth, statusHeight - s(4));
  Place(status_.statusLabel2, x + panelWidth / 2, statusTop + s(3), panelWidth / 2 - 1, statusHeight - s(6));

  RECT outer{margin, top + margin, client.right - margin, statusTop - margin};
  Place(outerTabs_, outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top);
  RECT inner = outer;
  MapWindowPoints(hwnd_, outerTabs_, reinterpret_cast<POINT*>(&inner), 2);
  TabCtrl_AdjustRect(outerTabs_, FALSE, &inner);
  MapWindowPoints(outerTabs_, hwnd_, reinterpret_cast<POINT*>(&inner), 2);
  InflateRect(&inner, -margin, -margin);
  for (HWND tabs : {selectionTabs_, logTabs_}) {
    Place(tabs, inner.left, inner.top, inner.right - inner.left, inner.bottom - inner.top);
  }
  RECT pageArea = inner;
  MapWindowPoints(hwnd_, selectionTabs_, reinterpret_cast<POINT*>(&pageArea), 2);
  TabCtrl_AdjustRect(selectionTabs_, FALSE, &pageArea);
  MapWindowPoints(selectionTabs_, hwnd_, reinterpret_cast<POINT*>(&pageArea), 2);
  InflateRect(&pageArea, -margin, -margin);
  pageArea_ = pageArea;
  for (auto* pages : {&selectionPages_, &logPages_})
    for (auto& page : *pages) page->layout(pageArea);
}

void MainWindow::ShowPages() {
  bool selection = TabCtrl_GetCurSel(outerTabs_) == 0;
  ShowWindow(selectionTabs_, selection ? SW_SHOW : SW_HIDE);
  ShowWindow(logTabs_, selection ? SW_HIDE : SW_SHOW);
  // Siblings stack in creation order: the inner tabs must lie above the outer ones, the page
  // controls above both.
  for (HWND tabs : {selectionTabs_, logTabs_})
    SetWindowPos(tabs, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  auto show = [](std::vector<std::unique_ptr<Page>>& pages, int current, bool visible) {
    for (int i = 0; i < static_cast<int>(pages.size()); ++i)
      // Raised last to first, so they keep their order among themselves: the stacking order
      // is the order of Tab.
      for (auto control = pages[i]->controls.rbegin(); control != pages[i]->controls.rend(); ++control) {
        ShowWindow(*control, visible && i == current ? SW_SHOW : SW_HIDE);
        // Page controls sit above the tab controls they belong to.
        SetWindowPos(*control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      }
  };
  show(selectionPages_, TabCtrl_GetCurSel(selectionTabs_), selection);
  show(logPages_, TabCtrl_GetCurSel(logTabs_), !selection);
}

LRESULT MainWindow::OnNotify(const NMHDR& header) {
  LRESULT result = 0;
  if (pages_ && pages_->HandleNotify(header, result)) return result;
  if (results_ && results_->HandleNotify(header, result)) return result;
  if (header.code == TCN_SELCHANGE &&
      (header.hwndFrom == outerTabs_ || header.hwndFrom == selectionTabs_ || header.hwndFrom == logTabs_))
    ShowPages();
  return 0;
}

void MainWindow::OnClose() {
  if (busy_) return;  // a running save must finish first
  CloseWizards();
  const bool close = OfferToKeepSelection(session_, *ui_);
  // Kept also when the user cancelled: the layout is what the user sees now.
  SaveLayout();
  if (!close) return;
  DestroyWindow(hwnd_);
}

void MainWindow::CloseWizards() {
  if (stepWizard_) stepWizard_->Close();
  stepWizard_.reset();
  // Kept as it is, at its page, for the next Start Wizard should the user cancel the close.
  if (installWizard_ && installWizard_->Exists()) ShowWindow(installWizard_->Handle(), SW_HIDE);
}

TfWizard* MainWindow::StepWizard() const {
  return stepWizard_ && !stepWizard_->Closed() && stepWizard_->Exists() ? stepWizard_.get() : nullptr;
}

void MainWindow::OpenStepWizard() {
  if (TfWizard* open = StepWizard()) {
    open->Show(SW_SHOWNORMAL);
    SetForegroundWindow(open->Handle());
    return;
  }
  stepWizard_.reset();
  if (ui_->Ask(MsgType::Confirmation,
               "The Quorvel Step-by-Step Wizard will now guide you\r through each step using the program!\r"
               "                               Continue (Y/N) ?",
               MsgButtons::YesNo) != MsgAnswer::Yes)
    return;
  stepWizard_ = std::make_unique<TfWizard>(MakeWizardHost(), SettingsKeyPath(session_.State().exePath));
  if (!stepWizard_->Create(hwnd_)) {
    stepWizard_.reset();
    throw Exception("The wizard's window could not be made.");
  }
  stepWizard_->Show(SW_SHOWNORMAL);
}

TWizard2FRM& MainWindow::OpenInstallWizard() {
  if (!installWizard_ || !installWizard_->Exists()) {
    installWizard_ = std::make_unique<TWizard2FRM>(MakeWizardHost(), SettingsKeyPath(session_.State().exePath));
    if (!installWizard_->Create(hwnd_)) {
      installWizard_.reset();
      throw Exception("The wizard's window could not be made.");
    }
  }
  installWizard_->Present();
  return *installWizard_;
}

void MainWindow::ShowWelcomeScreen() {
  if (RunWelcomeDialog(hwnd_, SettingsKeyPath(session_.State().exePath),
                       [this](int command) { return ToolButtonPicture(command); }))
    OpenInstallWizard();
}

void MainWindow::GreetAtStart() {
  if (!showWelcome_) return;
  // The pages are drawn before the welcome window covers them.
  MessagePump::RunPending();
  RunCommand(IDM_WELCOME_SCREEN);
}

WizardHost MainWindow::MakeWizardHost() {
  WizardHost host;
  host.showSelectionPages = [this] {
    TabCtrl_SetCurSel(selectionTabs_, 0);
    TabCtrl_SetCurSel(logTabs_, 0);
    session_.ExpandSelectionTops();
    ShowSelectionPages();
  };
  host.showLogPages = [this] {
    TabCtrl_SetCurSel(logTabs_, 0);
    ShowResultPages();
  };
  host.bringToFront = [this] {
    if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
    SetForegroundWindow(hwnd_);
  };
  host.minimize = [this] { ShowWindow(hwnd_, SW_MINIMIZE); };
  host.runCommand = [this](int command) { return RunCommand(command); };
  host.isCommandEnabled = [this](int command) { return IsCommandEnabled(command); };
  host.selectDefaults = [this] {
    const SelectionTrees trees = session_.Selection();
    for (TreeModel* tree : {&trees.registry, &trees.drives, &trees.systemFiles})
      if (TreeNode* top = tree->FirstTop()) SetNodeChecked(*top, false);
    ApplyDefaultSelection(trees);
    session_.State().selectionChanged = true;
  };
  host.startExplorer = [this] {
    if (explorerStart_)
      explorerStart_();
    else
      ShellExecuteA(nullptr, nullptr, "explorer.exe", nullptr, nullptr, SW_SHOWNORMAL);
  };
  host.buttonPicture = [this](int command) { return ToolButtonPicture(command); };
  host.ui = [this]() -> UserInteraction& { return *ui_; };
  return host;
}

HICON MainWindow::ToolButtonPicture(int command) const {
  if (command == 0) {
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    return FileSmallIcon(std::string(windows) + "\\explorer.exe").Release();
  }
  const auto pictures = reinterpret_cast<HIMAGELIST>(SendMessageA(toolbar_, TB_GETIMAGELIST, 0, 0));
  TBBUTTONINFOA info{};
  info.cbSize = sizeof info;
  info.dwMask = TBIF_IMAGE;
  if (!pictures || SendMessageA(toolbar_, TB_GETBUTTONINFOA, command, reinterpret_cast<LPARAM>(&info)) < 0)
    return nullptr;
  return ImageList_GetIcon(pictures, info.iImage, ILD_NORMAL);
}

std::vector<LayoutPane> MainWindow::LayoutPanes() const {
  std::vector<LayoutPane> panes;
  for (const auto* pages : {&selectionPages_, &logPages_})
    for (const auto& page : *pages)
      if (page->splitter) panes.push_back({page->treeName, page->splitter.get(), page->listName, page->list});
  return panes;
}

void MainWindow::RestoreLayout() {
  // Without the settings object (a test's bare window) the built layout stays.
  TMyRegistry* settings = StaticReg();
  if (!settings) return;
  if (const std::optional<SavedPlacement> placement = ReadPlacement(*settings)) {
    WINDOWPLACEMENT restored{};
    restored.length = sizeof restored;
    restored.showCmd = IsWindowVisible(hwnd_) ? SW_SHOWNORMAL : SW_HIDE;
    restored.rcNormalPosition = OnVisibleMonitor(placement->normal);
    SetWindowPlacement(hwnd_, &restored);
    startMaximized_ = placement->maximized;
  }
  RestoreWindowLayout(*settings, LayoutPanes());
  showWelcome_ = ReadWelcomeFlag(*settings);
  Layout();
}

void MainWindow::SaveLayout() {
  TMyRegistry* settings = StaticReg();
  if (!settings) return;
  SaveWindowLayout(*settings, LayoutPanes());
  // The normal rectangle: a maximised or minimised window comes back where it was restored to.
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (GetWindowPlacement(hwnd_, &placement)) SavePlacement(*settings, PlacementToKeep(placement));
}

void MainWindow::Show(int showCommand) {
  const bool plain = showCommand == SW_SHOWNORMAL || showCommand == SW_SHOWDEFAULT || showCommand == SW_SHOW;
  ShowWindow(hwnd_, startMaximized_ && plain ? SW_SHOWMAXIMIZED : showCommand);
  UpdateWindow(hwnd_);
}

void MainWindow::ApplyHintSettings() {
  ::ApplyHintSettings(reinterpret_cast<HWND>(SendMessageA(toolbar_, TB_GETTOOLTIPS, 0, 0)));
}

void MainWindow::ShowPopup(int index, POINT screen) {
  const UniqueMenu menus(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_RESULT_POPUPS)));
  if (!menus) return;
  HMENU popup = GetSubMenu(menus.Get(), index);
  // The class-identifier item only for a node that looks like one.
  TreeNode* registryNode = results_->SelectedNode(LogSection::Registry);
  const bool classId = registryNode && IsClassIdText(registryNode->Text());
  ForEachCommandItem(popup, [&](HMENU menu, int position, int id) {
    if (!commands_.IsVisible(id) || (id == IDM_SHOW_CLSID_NAME && !classId))
      DeleteMenu(menu, position, MF_BYPOSITION);
    else
      EnableMenuItem(menu, position, MF_BYPOSITION | (IsCommandEnabled(id) ? MF_ENABLED : MF_GRAYED));
  });
  // The chosen item arrives as WM_COMMAND, like a menu's.
  TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd_, nullptr);
}

void MainWindow::ShowResults() {
  SetWindowTextA(hwnd_, ("Quorvel - " + session_.State().currentLogFile).c_str());
  ShowResultPages();
}

void MainWindow::ShowResultPages() {
  session_.ExpandResultTops();
  TabCtrl_SetCurSel(outerTabs_, 1);
  ShowPages();
  UpdateCommandStates();
}

void MainWindow::LoadStartupSelection() {
  try {
    ::LoadStartupSelection(session_, *ui_);
  } catch (const std::exception& e) {
    ui_->Tell(MsgType::Error, e.what());
  }
  try {
    RestoreLayout();
  } catch (const std::exception& e) {
    ui_->Tell(MsgType::Error, e.what());
  }
  ApplyHintSettings();
  ShowSelectionPages();
}

void MainWindow::ShowSelectionPages() {
  TabCtrl_SetCurSel(outerTabs_, 0);
  ShowPages();
}

void MainWindow::UpdateCommandStates() {
  ForEachCommandItem(GetMenu(hwnd_), [this](HMENU menu, int position, int id) {
    EnableMenuItem(menu, position, MF_BYPOSITION | (IsCommandEnabled(id) ? MF_ENABLED : MF_GRAYED));
  });
  for (const ToolButton& tool : kToolButtons)
    if (tool.command != 0)
      SendMessageA(toolbar_, TB_ENABLEBUTTON, tool.command, MAKELONG(IsCommandEnabled(tool.command), 0));
}

CommandEnvironment MainWindow::Environment() { return {hwnd_, session_, *ui_, calls_, *pages_, *results_}; }

bool MainWindow::RunCommand(int commandId) {
  // A save lets window messages run while its threads work; no other command may start then.
  if (busy_ || !IsCommandEnabled(commandId)) return false;
  busy_ = true;
  pages_->LockInput(true);
  UpdateCommandStates();
  bool ended = false;
  try {
    CommandEnvironment environment = Environment();
    commands_.Run(commandId, environment);
    ended = true;
  } catch (...) {
    onError_(hwnd_, ErrorSource{"TMenuItem", std::string("MainForm\\") + commands_.ComponentName(commandId)},
             std::current_exception());
  }
  busy_ = false;
  if (pages_) pages_->LockInput(false);
  if (!hwnd_) return ended;
  // A compare or load that failed leaves no current log; the caption must not name the old one.
  if (!session_.HasLog()) SetWindowTextA(hwnd_, "Quorvel");
  UpdateCommandStates();
  return ended;
}

void MainWindow::LoadingSelectionNode(TreeModel& tree, TreeNode& node, const std::function<void()>& load) {
  pages_->LoadingNode(tree, node, load);
}

void MainWindow::RefreshingSelection(const std::function<void()>& refresh) { pages_->Refreshing(refresh); }

SelectionIcons MainWindow::Icons() { return pages_->Icons(); }

void MainWindow::SelectionBuilt() { pages_->ShowNewTrees(); }

void MainWindow::ExcludeListChanged() { pages_->ShowExcludeList(); }

void MainWindow::ResultsReplacing() { results_->ClearLists(); }

void MainWindow::ResultsShown(bool named) {
  if (named)
    ShowResults();
  else
    ShowResultPages();
}

HWND MainWindow::Control(const std::string& name) const {
  for (const auto& [controlName, control] : named_)
    if (controlName == name) return control;
  return nullptr;
}

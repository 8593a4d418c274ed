#include "tools/DelExistingWindow.h"

#include <algorithm>

#include "app/RestoreSettingsOf.h"
#include "app/SelectionTreeBuilder.h"
#include "core/CheckStates.h"
#include "platform/SettingsAccess.h"
#include "tools/ApplicationRemoval.h"
#include "tools/DelExistingPages.h"
#include "tools/DelExistingWindowIds.h"
#include "tools/FileTypeLinks.h"
#include "tools/RemoverNavigation.h"
#include "ui/Controls.h"
#include "ui/Dpi.h"
#include "ui/MessagePump.h"

namespace {

constexpr const char* kCurrentVersionKey = "Software\\Microsoft\\windows\\currentVersion";
constexpr const char* kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

enum ActionColumn { kTypeColumn, kPathColumn, kStatusColumn, kSavedAsColumn };
const std::vector<ListColumn> kActionColumns = {{"Type", 80}, {"Path", 220}, {"Status", 90}, {"Saved as", 160}};

constexpr int kTreeIds[] = {IDC_DELEX_PROGRAM_TREE, IDC_DELEX_MENU_TREE, IDC_DELEX_SOFTWARE_TREE, IDC_DELEX_TYPES_TREE};
constexpr int kSwitchIds[] = {IDC_DELEX_SWITCH_MENU, IDC_DELEX_SWITCH_SOFTWARE, IDC_DELEX_SWITCH_TYPES};
constexpr int kConfirmIds[] = {IDC_DELEX_ACTIONS, IDC_DELEX_SELECT_ALL, IDC_DELEX_SELECT_NONE, IDC_DELEX_EXECUTE};

// The tree a page shows, if it shows one.
bool TreeOfPage(RemoverPageId page, RemoverTree& tree) {
  switch (page) {
    case RemoverPageId::ProgramFiles:
      tree = RemoverTree::ProgramFiles;
      return true;
    case RemoverPageId::StartMenu:
      tree = RemoverTree::StartMenu;
      return true;
    case RemoverPageId::Registry:
      tree = RemoverTree::Software;
      return true;
    case RemoverPageId::FileExtensions:
      tree = RemoverTree::FileTypes;
      return true;
    default:
      return false;
  }
}

int SwitchOfPage(RemoverPageId page) {
  switch (page) {
    case RemoverPageId::StartMenu:
      return IDC_DELEX_SWITCH_MENU;
    case RemoverPageId::Registry:
      return IDC_DELEX_SWITCH_SOFTWARE;
    case RemoverPageId::FileExtensions:
      return IDC_DELEX_SWITCH_TYPES;
    default:
      return 0;
  }
}

// Places the remover never deletes on this machine: both program-files folders, the program's
// own folders of the settings and its settings key.
ProtectedPlaces MachineProtectedPlaces(const DelExistingContext& context, const RestoreSettings& settings) {
  ProtectedPlaces places;
  for (const char* value : {"ProgramFilesDir", "ProgramFilesDir (x86)", "ProgramW6432Dir"}) {
    const std::string folder = RegistryText(HKEY_LOCAL_MACHINE, kCurrentVersionKey, value);
    if (!folder.empty()) places.programFilesFolders.push_back(folder);
  }
  places.ownFolders = {context.programFolder, settings.backupDir, settings.dllBackupPath};
  places.ownKeys = {"HKEY_CURRENT_USER\\" + context.settingsKeyPath};
  return places;
}

}  // namespace

TDelExistingFRM::TDelExistingFRM(const DelExistingContext& context)
    : ToolWindow(IDD_DEL_EXISTING, "TDelExistingFRM", kSection, context.settingsKeyPath, {600, 420}),
      context_(context),
      ui_(StatusControls{}) {}

TDelExistingFRM::~TDelExistingFRM() {
  // The views go before the models they follow.
  for (TreePane& pane : panes_) pane.binding.reset();
}

ListView TDelExistingFRM::ActionList() const { return Item(IDC_DELEX_ACTIONS); }

std::vector<FormList> TDelExistingFRM::LayoutLists() const { return {{"ConfirmView", ActionList()}}; }

TreeNode* TDelExistingFRM::SelectedNode(RemoverTree which) const {
  const TreePane& pane = panes_[static_cast<size_t>(which)];
  return pane.binding ? pane.binding->Selected() : nullptr;
}

bool TDelExistingFRM::OnInit() {
  ui_ = GuiInteraction(StatusControls{hwnd_});
  const HWND tabs = Item(IDC_DELEX_TABS);
  for (size_t i = 0; i < kRemoverPageCount; ++i) {
    TCITEMA tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<char*>(kRemoverPages[i].caption);
    TabCtrl_InsertItem(tabs, static_cast<int>(i), &tab);
  }
  LOGFONTA font{};
  GetObjectA(Item(IDC_DELEX_HELP).Font(), sizeof font, &font);
  font.lfHeight = font.lfHeight * 2;
  font.lfWeight = FW_BOLD;
  headingFont_.Reset(CreateFontIndirectA(&font));
  Item(IDC_DELEX_HEADING).SetFont(headingFont_.Get());
  Item(IDC_DELEX_HEADING).SetText(kRemoverHeading);

  const ListView list = ActionList();
  list.SetFullRowSelect();
  ListView_SetExtendedListViewStyleEx(list, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
  list.AddColumns(kActionColumns);

  // Ctrl+Tab and Ctrl+Shift+Tab turn the pages, as in every paged window.
  ACCEL keys[] = {{FVIRTKEY | FCONTROL, VK_TAB, IDC_DELEX_NEXT_PAGE},
                  {FVIRTKEY | FCONTROL | FSHIFT, VK_TAB, IDC_DELEX_PREVIOUS_PAGE}};
  accelerators_.Reset(CreateAcceleratorTableA(keys, 2));
  MessagePump::AddWindow(hwnd_, accelerators_.Get(), true);

  BuildTrees();
  RestoreLayout();

  // The all-users start menu is looked up first: whether it exists decides its switch button.
  NavigateToAllUsersMenu();
  ShowPage(0);
  Item(IDC_DELEX_SWITCH_MENU).SetText(kSwitchToAllUsersMenu);
  NavigateToFolder(RemoverTree::ProgramFiles, HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir");
  return false;  // ShowPage put the focus on Next
}

void TDelExistingFRM::BuildTrees() {
  const DpiScale scale(WindowDpi(hwnd_));
  images_.Reset(LoadImageStrip("Icons", scale.ImageSize(), scale.ImageFactor()));
  const IconSink icons = [this](HICON icon) { return ImageList_AddIcon(images_.Get(), icon); };
  BuildDriveSelectionTree(Pane(RemoverTree::ProgramFiles).model, icons);
  BuildDriveSelectionTree(Pane(RemoverTree::StartMenu).model, icons);
  BuildRegistrySelectionTree(Pane(RemoverTree::Software).model);
  BuildRegistrySelectionTree(Pane(RemoverTree::FileTypes).model);
  for (size_t i = 0; i < panes_.size(); ++i) ConnectTree(static_cast<RemoverTree>(i), kTreeIds[i]);
}

void TDelExistingFRM::ConnectTree(RemoverTree which, int controlId) {
  TreePane& pane = Pane(which);
  const bool folders = which == RemoverTree::ProgramFiles || which == RemoverTree::StartMenu;
  pane.model.SetLoader(folders ? LoadDriveChildren : LoadRegistryChildren);
  const HWND tree = Item(controlId);
  SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_.Get()));
  SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(images_.Get()));
  pane.binding = std::make_unique<TreeViewBinding>(tree, pane.model);
  pane.binding->onStateClick = [this, which](TreeNode& node) { OnStateClick(which, node); };
  pane.binding->onCollapsed = [](TreeNode& node) { CollapseSelectionNode(node); };
  if (TreeNode* top = pane.model.FirstTop()) {
    pane.model.Expand(top);
    pane.binding->Select(top);
  }
}

void TDelExistingFRM::OnStateClick(RemoverTree which, TreeNode& node) {
  if (context_.selectionChanged) *context_.selectionChanged = true;
  Pane(which).binding->Select(&node);
  ClickStateImage(node);
  if (which != RemoverTree::FileTypes) return;
  const HWND tree = Item(IDC_DELEX_TYPES_TREE);
  FileTypeLinkSeams seams;
  seams.defaultValueOf = ClassesRootDefaultValue;
  seams.showNode = [tree](TreeNode& shown) {
    if (shown.ViewItem()) TreeView_EnsureVisible(tree, static_cast<HTREEITEM>(shown.ViewItem()));
  };
  // The tree is repainted before each pause, so every newly ticked extension shows.
  seams.pause = [tree](int milliseconds) {
    UpdateWindow(tree);
    Sleep(static_cast<DWORD>(milliseconds));
  };
  LinkFileTypeSelection(node, ui_, seams);
}

void TDelExistingFRM::Reveal(RemoverTree which, TreeNode& node, bool expand) {
  TreePane& pane = Pane(which);
  if (expand) pane.model.Expand(&node);
  pane.binding->Select(&node);
  if (node.ViewItem()) TreeView_EnsureVisible(pane.binding->Handle(), static_cast<HTREEITEM>(node.ViewItem()));
}

bool TDelExistingFRM::NavigateToFolder(RemoverTree which, HKEY root, const char* key, const char* value) {
  TreeNode* node = FolderNodeOf(RegistryText(root, key, value), Pane(which).model);
  if (!node) return false;
  Reveal(which, *node, true);
  return true;
}

void TDelExistingFRM::NavigateToKey(RemoverTree which, const char* rootName, const char* keyName) {
  TreeModel& model = Pane(which).model;
  const TreeNode* top = model.FirstTop();
  if (!top) return;
  std::vector<std::string> names = {top->Text(), rootName};
  if (keyName) names.push_back(keyName);
  if (TreeNode* node = FindTreeNode(names, model)) Reveal(which, *node, true);
}

void TDelExistingFRM::NavigateToAllUsersMenu() {
  allUsersMenuFound_ =
      NavigateToFolder(RemoverTree::StartMenu, HKEY_LOCAL_MACHINE, kShellFoldersKey, "Common Programs");
  if (RemoverPageId::StartMenu == kRemoverPages[page_].id) ShowPageControls();
}

void TDelExistingFRM::NavigateToFileTypeBlock() {
  TreeNode* classes = ClassesRootNode(Pane(RemoverTree::FileTypes).model);
  if (!classes) return;
  if (TreeNode* block = FileTypeBlockNode(*classes)) Reveal(RemoverTree::FileTypes, *block, false);
}

void TDelExistingFRM::OnSwitch(int buttonId) {
  const Window button = Item(buttonId);
  const std::string caption = button.Text();
  switch (buttonId) {
    case IDC_DELEX_SWITCH_MENU:
      if (caption == kSwitchToAllUsersMenu) {
        button.SetText(kSwitchToCurrentUserMenu);
        NavigateToAllUsersMenu();
      } else {
        button.SetText(kSwitchToAllUsersMenu);
        NavigateToFolder(RemoverTree::StartMenu, HKEY_CURRENT_USER, kShellFoldersKey, "Programs");
      }
      return;
    case IDC_DELEX_SWITCH_SOFTWARE:
      if (caption == kSwitchToAllUsersEntries) {
        button.SetText(kSwitchToCurrentUserEntries);
        NavigateToKey(RemoverTree::Software, "HKEY_LOCAL_MACHINE", "Software");
      } else {
        button.SetText(kSwitchToAllUsersEntries);
        NavigateToKey(RemoverTree::Software, "HKEY_CURRENT_USER", "Software");
      }
      return;
    case IDC_DELEX_SWITCH_TYPES:
      if (caption == kSwitchToExtensionLinks) {
        button.SetText(kSwitchToFileExtensions);
        NavigateToFileTypeBlock();
      } else {
        button.SetText(kSwitchToExtensionLinks);
        NavigateToKey(RemoverTree::FileTypes, "HKEY_CLASSES_ROOT", nullptr);
      }
      return;
  }
}

void TDelExistingFRM::ShowPage(size_t page) {
  if (page >= kRemoverPageCount) return;
  page_ = page;
  TabCtrl_SetCurSel(Item(IDC_DELEX_TABS), static_cast<int>(page));
  ShowPageControls();
  switch (kRemoverPages[page].id) {
    case RemoverPageId::ProgramFiles:
      NavigateToFolder(RemoverTree::ProgramFiles, HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir");
      break;
    case RemoverPageId::StartMenu:
      NavigateToFolder(RemoverTree::StartMenu, HKEY_CURRENT_USER, kShellFoldersKey, "Programs");
      Item(IDC_DELEX_SWITCH_MENU).SetText(kSwitchToAllUsersMenu);
      break;
    case RemoverPageId::Registry:
      Item(IDC_DELEX_SWITCH_SOFTWARE).SetText(kSwitchToAllUsersEntries);
      NavigateToKey(RemoverTree::Software, "HKEY_CURRENT_USER", "Software");
      break;
    case RemoverPageId::FileExtensions:
      Item(IDC_DELEX_SWITCH_TYPES).SetText(kSwitchToExtensionLinks);
      NavigateToKey(RemoverTree::FileTypes, "HKEY_CLASSES_ROOT", nullptr);
      break;
    case RemoverPageId::Confirmation:
      RebuildActions();
      break;
    case RemoverPageId::Start:
      break;
  }
  const bool last = page + 1 == kRemoverPageCount;
  Item(IDC_DELEX_FINISH).Enable(!last);
  Item(IDC_DELEX_BACK).Enable(page > 0);
  Item(IDC_DELEX_NEXT).Enable(!last);
  // The focus goes to what the page is for; a hidden or disabled control must not keep it.
  RemoverTree tree;
  const int focus = TreeOfPage(kRemoverPages[page].id, tree) ? kTreeIds[static_cast<size_t>(tree)]
                    : last                                   ? IDC_DELEX_ACTIONS
                                                             : IDC_DELEX_NEXT;
  SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(HWND(Item(focus))), TRUE);
}

void TDelExistingFRM::ShowPageControls() {
  const RemoverPage& page = kRemoverPages[page_];
  const auto show = [this](int id, bool visible) { Item(id).Show(visible ? SW_SHOW : SW_HIDE); };
  RemoverTree tree = RemoverTree::ProgramFiles;
  const bool hasTree = TreeOfPage(page.id, tree);
  for (size_t i = 0; i < std::size(kTreeIds); ++i) show(kTreeIds[i], hasTree && static_cast<size_t>(tree) == i);
  const int switchId = SwitchOfPage(page.id);
  for (int id : kSwitchIds) show(id, id == switchId && (id != IDC_DELEX_SWITCH_MENU || allUsersMenuFound_));
  for (int id : kConfirmIds) show(id, page.id == RemoverPageId::Confirmation);
  show(IDC_DELEX_HEADING, page.id == RemoverPageId::Start);
  show(IDC_DELEX_LABEL, page.id != RemoverPageId::Start);
  Item(IDC_DELEX_LABEL).SetText(page.label);
  Item(IDC_DELEX_HELP).SetText(page.help);
  Layout();
}

void TDelExistingFRM::Layout() {
  const RECT client = ClientRect();
  RECT units{7, 4, 50, 14};
  MapDialogRect(hwnd_, &units);
  const int margin = units.left, gap = units.top, buttonWidth = units.right, buttonHeight = units.bottom;
  const int buttonTop = client.bottom - margin - buttonHeight;
  int x = client.right - margin;
  for (int id : {IDCANCEL, IDC_DELEX_FINISH, IDC_DELEX_NEXT, IDC_DELEX_BACK}) {
    x -= buttonWidth;
    Item(id).Move(x, buttonTop, buttonWidth, buttonHeight);
    x -= gap;
  }
  const HWND tabs = Item(IDC_DELEX_TABS);
  const RECT frame{margin, margin, client.right - margin, buttonTop - gap};
  Item(IDC_DELEX_TABS).Move(frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top);
  RECT inner = frame;
  TabCtrl_AdjustRect(tabs, FALSE, &inner);
  InflateRect(&inner, -margin, -margin);
  const int width = std::max(0, static_cast<int>(inner.right - inner.left));
  const int helpWidth = std::max(120, width / 3);
  const int right = inner.left + helpWidth + 2 * margin;
  const int rightWidth = std::max(0, static_cast<int>(inner.right) - right);
  const int height = std::max(0, static_cast<int>(inner.bottom - inner.top));
  const bool start = kRemoverPages[page_].id == RemoverPageId::Start;

  Item(IDC_DELEX_HEADING).Move(inner.left, inner.top, helpWidth, height);
  if (start)
    Item(IDC_DELEX_HELP).Move(right, inner.top, rightWidth, height);
  else
    Item(IDC_DELEX_HELP).Move(inner.left, inner.top, helpWidth, height);

  RECT text{0, 0, 0, 10};
  MapDialogRect(hwnd_, &text);
  Item(IDC_DELEX_LABEL).Move(right, inner.top, rightWidth, text.bottom);
  const int contentTop = inner.top + text.bottom + gap;
  const int rowTop = inner.bottom - buttonHeight;
  const int contentHeight = std::max(0, rowTop - gap - contentTop);
  for (int id : kTreeIds) Item(id).Move(right, contentTop, rightWidth, contentHeight);
  Item(IDC_DELEX_ACTIONS).Move(right, contentTop, rightWidth, contentHeight);
  const int switchWidth = std::min(rightWidth, 3 * buttonWidth + 2 * gap);
  for (int id : kSwitchIds) Item(id).Move(right, rowTop, switchWidth, buttonHeight);
  int buttonLeft = right;
  for (int id : {IDC_DELEX_SELECT_ALL, IDC_DELEX_SELECT_NONE}) {
    Item(id).Move(buttonLeft, rowTop, buttonWidth + gap, buttonHeight);
    buttonLeft += buttonWidth + 2 * gap;
  }
  const int executeWidth = 2 * buttonWidth + 2 * gap;
  Item(IDC_DELEX_EXECUTE)
      .Move(std::max(buttonLeft, right + rightWidth - executeWidth), rowTop, executeWidth, buttonHeight);
  Invalidate();
}

void TDelExistingFRM::RebuildActions() {
  actions_ = BuildRemovalActions({Pane(RemoverTree::ProgramFiles).model, Pane(RemoverTree::StartMenu).model,
                                  Pane(RemoverTree::Software).model, Pane(RemoverTree::FileTypes).model});
  const ListView list = ActionList();
  fillingActions_ = true;
  {
    ListView::Refill refill(list);
    for (size_t i = 0; i < actions_.size(); ++i) {
      const int row = list.AddRow({i}, {RemovalTypeText(actions_[i].kind), actions_[i].path, actions_[i].status, ""});
      ListView_SetCheckState(list, row, actions_[i].ticked);
    }
  }
  fillingActions_ = false;
}

void TDelExistingFRM::ShowActionCells(size_t index) {
  const ListView list = ActionList();
  const int row = list.RowOf(index);
  if (row < 0) return;
  ListView_SetItemText(list, row, kStatusColumn, const_cast<char*>(actions_[index].status.c_str()));
  ListView_SetItemText(list, row, kSavedAsColumn, const_cast<char*>(actions_[index].savedAs.c_str()));
}

void TDelExistingFRM::TickAllActions(bool ticked) {
  const ListView list = ActionList();
  for (size_t i = 0; i < actions_.size(); ++i) {
    actions_[i].ticked = ticked;
    const int row = list.RowOf(i);
    if (row >= 0) ListView_SetCheckState(list, row, ticked);
  }
}

void TDelExistingFRM::ExecuteSelectedActions() {
  const RestoreSettings settings = CurrentRestoreSettings(context_.programFolder);
  RemovalEnvironment environment{*context_.deletion, settings.Deletion(), ReadRequiredText("BackupDir"),
                                 MachineProtectedPlaces(context_, settings), ui_};
  {
    WaitCursor wait(ui_);
    DoAllCheckedActions(actions_, environment);
  }
  for (size_t i = 0; i < actions_.size(); ++i) ShowActionCells(i);
  ActionList().FitColumns({});
}

bool TDelExistingFRM::OnCommand(int id, int code, HWND) {
  switch (id) {
    case IDC_DELEX_NEXT_PAGE:
      ShowPage((page_ + 1) % kRemoverPageCount);
      return true;
    case IDC_DELEX_PREVIOUS_PAGE:
      ShowPage((page_ + kRemoverPageCount - 1) % kRemoverPageCount);
      return true;
  }
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_DELEX_BACK:
      if (page_ > 0) ShowPage(page_ - 1);
      return true;
    case IDC_DELEX_NEXT:
      ShowPage(page_ + 1);
      return true;
    case IDC_DELEX_FINISH:
      ShowPage(kRemoverPageCount - 1);
      return true;
    case IDC_DELEX_SWITCH_MENU:
    case IDC_DELEX_SWITCH_SOFTWARE:
    case IDC_DELEX_SWITCH_TYPES:
      OnSwitch(id);
      return true;
    case IDC_DELEX_SELECT_ALL:
      TickAllActions(true);
      return true;
    case IDC_DELEX_SELECT_NONE:
      TickAllActions(false);
      return true;
    case IDC_DELEX_EXECUTE:
      ExecuteSelectedActions();
      return true;
    default:
      return false;
  }
}

bool TDelExistingFRM::OnNotify(int id, const NMHDR& header, LRESULT& result) {
  for (TreePane& pane : panes_)
    if (pane.binding && pane.binding->HandleNotify(header, result)) return true;
  if (id == IDC_DELEX_TABS && header.code == TCN_SELCHANGE) {
    ShowPage(static_cast<size_t>(TabCtrl_GetCurSel(header.hwndFrom)));
    return true;
  }
  if (id == IDC_DELEX_ACTIONS && header.code == LVN_ITEMCHANGED && !fillingActions_) {
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if ((change.uChanged & LVIF_STATE) && ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK)) {
      const size_t owner = ActionList().OwnerOf(change.iItem);
      if (owner < actions_.size()) actions_[owner].ticked = ListView_GetCheckState(header.hwndFrom, change.iItem) != 0;
    }
    return true;
  }
  return false;
}

bool TDelExistingFRM::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  // The texts lie on the tab control's page, which a theme paints in the window colour.
  if (message == WM_CTLCOLORSTATIC) {
    const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
    if (id == IDC_DELEX_HEADING || id == IDC_DELEX_HELP || id == IDC_DELEX_LABEL) {
      if (HBRUSH brush = TabPageTextColors(reinterpret_cast<HDC>(wParam))) {
        result = reinterpret_cast<INT_PTR>(brush);
        return true;
      }
    }
  }
  return ToolWindow::OnMessage(message, wParam, lParam, result);
}

void RunDelExistingWindow(HWND owner, const DelExistingContext& context) {
  TDelExistingFRM form(context);
  form.DoModal(owner);
}

#pragma once
// "Deinstall an Existing Application (no log file)": pages that walk the user through ticking an
// application's folders under the program files and the start menus, its software keys and its
// file types by hand, then a list of every ticked item as an action to confirm and execute.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/GuiInteraction.h"
#include "core/TreeModel.h"
#include "platform/Handle.h"
#include "restore/FileDeletion.h"
#include "tools/RemovalActions.h"
#include "tools/ToolWindow.h"
#include "ui/ListView.h"
#include "ui/TreeViewBinding.h"

struct DelExistingContext {
  std::string settingsKeyPath;  // the settings key below HKEY_CURRENT_USER
  std::string programFolder;    // the default of the backup folder
  FileDeletionState* deletion;  // the program's; its backup folder becomes BackupDir itself
  // The main window's: a tick here sets it as a tick in the main window's trees does, so the
  // caller keeps its value across the window and puts it back afterwards.
  bool* selectionChanged = nullptr;
};

enum class RemoverTree { ProgramFiles, StartMenu, Software, FileTypes };

class TDelExistingFRM : public ToolWindow {
 public:
  static constexpr const char* kSection = "DelExistingFRM";

  explicit TDelExistingFRM(const DelExistingContext& context);
  ~TDelExistingFRM() override;

  // Makes page the active one and does what entering it does.
  void ShowPage(size_t page);
  size_t CurrentPage() const { return page_; }
  void ExecuteSelectedActions();
  void TickAllActions(bool ticked);

  TreeModel& Tree(RemoverTree which) { return panes_[static_cast<size_t>(which)].model; }
  TreeNode* SelectedNode(RemoverTree which) const;
  const std::vector<RemovalAction>& Actions() const { return actions_; }
  ListView ActionList() const;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(int id, const NMHDR& header, LRESULT& result) override;
  void OnOK() override { ShowPage(page_ + 1); }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  struct TreePane {
    TreeModel model;
    std::unique_ptr<TreeViewBinding> binding;
  };

  // ToolWindow: the remover's work is short and runs at once; nothing to stop.
  bool Running() const override { return false; }
  void CancelRun() override {}
  std::vector<FormList> LayoutLists() const override;
  void Layout() override;
  // ToolProgress: the remover shows its outcome in the action list instead of a status line.
  void SetStatus(const std::string&) override {}
  void ShowCounters(const SearchCounters&) override {}

  TreePane& Pane(RemoverTree which) { return panes_[static_cast<size_t>(which)]; }
  void BuildTrees();
  void ConnectTree(RemoverTree which, int controlId);
  void OnStateClick(RemoverTree which, TreeNode& node);
  void Reveal(RemoverTree which, TreeNode& node, bool expand);
  bool NavigateToFolder(RemoverTree which, HKEY root, const char* key, const char* value);
  void NavigateToKey(RemoverTree which, const char* rootName, const char* keyName);
  void NavigateToAllUsersMenu();
  void NavigateToFileTypeBlock();
  void OnSwitch(int buttonId);
  void ShowPageControls();
  void RebuildActions();
  void ShowActionCells(size_t row);

  DelExistingContext context_;
  GuiInteraction ui_;
  std::array<TreePane, 4> panes_;
  UniqueImageList images_;
  UniqueFont headingFont_;
  UniqueAccelerators accelerators_;
  std::vector<RemovalAction> actions_;
  size_t page_ = 0;
  bool allUsersMenuFound_ = false;
  bool fillingActions_ = false;  // the list's own check-box notices while rows are added
};

void RunDelExistingWindow(HWND owner, const DelExistingContext& context);

#pragma once
// The log pages of the main window: the registry, drive and system-file result trees with
// the list of the selected node's records beside each.

#include <windows.h>

#include <memory>

#include "app/AppState.h"
#include "app/GuiInteraction.h"
#include "compare/LogLoader.h"
#include "core/TreeModel.h"
#include "core/UserInteraction.h"
#include "ui/TreeViewBinding.h"

struct ResultControls {
  HWND registryTree, registryValues;
  HWND driveTree, driveFiles;
  HWND systemTree, systemValues;
};

class ResultPages {
 public:
  ResultPages(AppState& app, GuiInteraction& ui, const ResultControls& controls, HIMAGELIST icons);
  ~ResultPages();
  ResultPages(const ResultPages&) = delete;
  ResultPages& operator=(const ResultPages&) = delete;

  ResultTrees Trees() { return {registry_, drives_, systemFiles_}; }
  bool HandleNotify(const NMHDR& header, LRESULT& result);

  // Empties the three lists (before a compare or a load refills the trees).
  void ClearLists();
  // "<No log file loaded>" in each tree.
  void ShowNoLog();
  // After a compare or load: the top nodes one level open.
  void ShowResults();

 private:
  void Bind(std::unique_ptr<TreeViewBinding>& binding, HWND view, TreeModel& model, LogSection section);
  void ShowRows(LogSection section, TreeNode* node);

  AppState& app_;
  GuiInteraction& ui_;
  ResultControls controls_;
  HIMAGELIST icons_;
  TreeModel registry_, drives_, systemFiles_;
  std::unique_ptr<TreeViewBinding> registryBinding_, driveBinding_, systemBinding_;
};

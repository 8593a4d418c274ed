#pragma once
// The log pages of the main window: the session's registry, drive and system-file result trees
// with the list of the selected node's records beside each. The pages load a node's children
// from the log when the user expands it.

#include <windows.h>

#include <functional>
#include <memory>

#include "app/GuiInteraction.h"
#include "app/Session.h"
#include "compare/LogLoader.h"
#include "compare/ResultRecords.h"
#include "core/TreeModel.h"
#include "core/UserInteraction.h"
#include "restore/FilterList.h"
#include "ui/ListView.h"
#include "ui/TreeViewBinding.h"

struct ResultControls {
  HWND registryTree, registryValues;
  HWND driveTree, driveFiles;
  HWND systemTree, systemValues;
};

// The image lists the result trees draw from: the nodes' image indexes were taken from the
// selection trees' lists by the compare (drive icons, system-file images), so each result tree
// shares the list of its selection tree; the state images are the strip's.
struct ResultImages {
  HIMAGELIST strip;
  HIMAGELIST drives;
  HIMAGELIST systemFiles;
};

class ResultPages {
 public:
  ResultPages(Session& session, GuiInteraction& ui, const ResultControls& controls, const ResultImages& images);
  ~ResultPages();
  ResultPages(const ResultPages&) = delete;
  ResultPages& operator=(const ResultPages&) = delete;

  bool HandleNotify(const NMHDR& header, LRESULT& result);

  // Empties the three lists (before a compare or a load refills the trees).
  void ClearLists();

  TreeNode* SelectedNode(LogSection section) const;
  void Select(LogSection section, TreeNode* node);
  // Opens the file of a row of the changed-files list (a double click on it).
  void OpenFileRow(int row);
  // The list beside the tree shows the selected node's records again (their kinds changed).
  void ShowSelectedRows(LogSection section);

  // The records of the list beside the tree as a restore pass filters by them, chosen where
  // their rows are selected; and the selection a pass completed shown back in the list.
  std::vector<FilterRow> FilterRows(LogSection section) const;
  void ShowFilterSelection(LogSection section, const std::vector<FilterRow>& rows);

  // The pop-up menu of a result tree, at a screen point; the tree has a selected node.
  std::function<void(LogSection section, POINT screen)> onTreeMenu;
  // The pop-up menu of the list beside a tree; the list has a selected row, the tree a node.
  std::function<void(LogSection section, POINT screen)> onListMenu;

  // While one lives, expansions neither select nodes nor fill the lists: a whole subtree
  // opens at once (the Ctrl expansion, the export and restore walks).
  class BulkExpansion {
   public:
    explicit BulkExpansion(ResultPages& pages) : pages_(pages) { ++pages_.bulkExpansions_; }
    ~BulkExpansion() { --pages_.bulkExpansions_; }
    BulkExpansion(const BulkExpansion&) = delete;
    BulkExpansion& operator=(const BulkExpansion&) = delete;

   private:
    ResultPages& pages_;
  };

 private:
  class ImageList;
  // How the user last sorted a list: the column clicked (-1: the order of the log) and the way.
  struct ListSort {
    int column = -1;
    bool ascending = true;
  };

  void Bind(std::unique_ptr<TreeViewBinding>& binding, HWND view, TreeModel& model, LogSection section);
  TreeViewBinding& BindingOf(LogSection section) const;
  ListView ListOf(LogSection section) const;
  // The records the list of a section shows; its rows keep their indexes.
  std::vector<ResultRow>& ShownRows(LogSection section);
  const std::vector<ResultRow>& ShownRows(LogSection section) const;
  void ShowRows(LogSection section, TreeNode* node);
  void PickFileIcons(const TreeNode* node, std::vector<ResultRow>& rows);
  void FillList(LogSection section);
  void SortList(LogSection section);
  void OnColumnClick(LogSection section, int column);
  void ExpandInBulk(TreeViewBinding& binding, LogSection section, TreeNode& node);
  void OnTreeRightClick(TreeViewBinding& binding, LogSection section);

  Session& session_;
  GuiInteraction& ui_;
  ResultControls controls_;
  ResultImages images_;
  std::unique_ptr<ImageList> fileIcons_;  // shell icons of the changed-files list
  std::unique_ptr<TreeViewBinding> registryBinding_, driveBinding_, systemBinding_;
  std::vector<ResultRow> shownRows_[3];  // by LogSection
  // The entry list is sorted by caption until the user picks another column.
  ListSort sorts_[3] = {{}, {}, {0, true}};
  std::vector<int> columnFloors_[3];  // the user's widths, which a fill never goes below
  std::vector<int> fittedWidths_[3];  // the widths the last fill set
  int bulkExpansions_ = 0;
};

#pragma once
// "Find Duplicate Files": the drives and folders to search ticked in a drive tree with the
// selection trees' check rules, the groups of duplicates in the upper list, the paths of the
// selected group in the lower list, and the deletion of chosen copies through the one file
// deletion.

#include <memory>
#include <optional>
#include <string>

#include "app/GuiInteraction.h"
#include "core/TreeModel.h"
#include "platform/Handle.h"
#include "restore/FileDeletion.h"
#include "tools/DuplicateSearch.h"
#include "tools/ToolWindow.h"
#include "ui/ListView.h"
#include "ui/TreeViewBinding.h"

struct DuplicatesContext {
  std::string settingsKeyPath;  // the settings key below HKEY_CURRENT_USER
  std::string programFolder;    // the default of the backup folder
  FileDeletionState* deletion;  // the program's; its backup folder becomes <BackupDir>DOUBLE\ .
};

class TfDouble : public ToolWindow {
 public:
  static constexpr const char* kSection = "fDouble";

  explicit TfDouble(const DuplicatesContext& context);
  ~TfDouble() override;

  void StartSearch();
  void DeleteSelectedFiles();
  void SelectAllFiles();
  void SortGroups(int column);

  TreeModel& DriveTree() { return driveTree_; }
  ListView MasterView() const;
  ListView DetailView() const;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(int id, const NMHDR& header, LRESULT& result) override;

 private:
  // ToolWindow
  bool Running() const override { return search_.Running(); }
  void CancelRun() override { search_.Cancel(); }
  std::vector<FormList> LayoutLists() const override;
  void Layout() override;
  // ToolProgress
  void SetStatus(const std::string& text) override;
  void ShowCounters(const SearchCounters& counters) override;

  FolderSelection SelectionOf(const std::vector<std::string>& names) const;
  std::vector<DuplicateRoot> CheckedDrives() const;
  void FillGroups();
  std::vector<std::string> GroupCells(size_t group) const;
  void ShowGroup();

  DuplicatesContext context_;
  GuiInteraction ui_;
  TreeModel driveTree_;
  UniqueImageList images_;
  std::unique_ptr<TreeViewBinding> binding_;
  DuplicateSearch search_;
  int updateCounter_ = 0;  // while non-zero the lower list is not rebuilt
  int sortColumn_ = -1;
  bool descending_ = false;
};

void RunDuplicatesWindow(HWND owner, const DuplicatesContext& context);

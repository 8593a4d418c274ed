#pragma once
// "Find and Delete Temporary Files": the user's search definitions in the upper list, the files
// the selected one found in the lower list, and the deletion of chosen files through the one
// file deletion (backups and the recycle bin as the settings say). The search runs on the
// window's thread and lets messages run, so the window repaints and Cancel is heard.

#include <optional>
#include <string>
#include <vector>

#include "app/GuiInteraction.h"
#include "restore/FileDeletion.h"
#include "tools/TempFileSearch.h"
#include "tools/ToolWindow.h"
#include "ui/ListView.h"

struct TempFilesContext {
  std::string settingsKeyPath;  // the settings key below HKEY_CURRENT_USER
  std::string programFolder;    // the default of the backup folder
  FileDeletionState* deletion;  // the program's; its backup folder becomes <BackupDir>TEMPFILES\ .
};

class TfTempfiles : public ToolWindow {
 public:
  static constexpr size_t kMaxShownFiles = 1000;
  static constexpr const char* kSection = "fTempfiles";

  explicit TfTempfiles(const TempFilesContext& context);
  ~TfTempfiles() override;

  // The commands of the buttons and pop-up menus, as a click runs them.
  void NewEntry();
  void EditEntry();
  void DeleteEntry();
  void StartSearch();
  void DeleteSelectedFiles();
  void SelectAllFiles();
  void SortFiles(int column);

  const std::vector<SearchDefinition>& Definitions() const { return definitions_; }
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

  std::optional<size_t> SelectedDefinition() const;
  void FillMaster(std::optional<size_t> select);
  void SaveDefinitions();
  void ShowResults(std::optional<size_t> definition);
  void ShowMasterMenu(POINT at);
  void EnableSearchControls(bool searching);
  int CompareFiles(int column, size_t a, size_t b) const;

  TempFilesContext context_;
  GuiInteraction ui_;
  std::vector<SearchDefinition> definitions_;
  TempFileSearch search_;
  std::optional<size_t> shown_;  // the definition whose files the lower list shows
  int updateCounter_ = 0;        // while non-zero the lower list is not rebuilt
  int sortColumn_ = -1;
  bool descending_ = false;
};

// Shows the window modally.
void RunTempFilesWindow(HWND owner, const TempFilesContext& context);

#pragma once
// "File Backup": the folders and masks to back up in one list, and the run that copies what
// they find into the mirror tree under the setting DLLBackupPath. The list is read when the
// window is made and kept when it is destroyed. After Save Current Configuration the window
// also runs unattended: without its buttons, started at once, closed when done.

#include <optional>
#include <string>
#include <vector>

#include "app/GuiInteraction.h"
#include "tools/FileBackup.h"
#include "tools/ToolWindow.h"
#include "ui/ListView.h"

struct FileBackupContext {
  std::string settingsKeyPath;  // the settings key below HKEY_CURRENT_USER
  std::string programFolder;    // the default of the backup folder
};

class TDLLBackUpFRM : public ToolWindow {
 public:
  static constexpr const char* kSection = "DLLBackUpFRM";

  explicit TDLLBackUpFRM(const FileBackupContext& context);
  // A modeless window still open keeps its list and layout here.
  ~TDLLBackUpFRM() override;

  // The commands of the buttons and pop-up menu, as a click runs them.
  void NewEntry();
  void EditEntry();
  void DeleteEntry();
  void BackUpFiles();
  // The unattended form: the list alone, nothing to edit or click.
  void HideButtons();

  const std::vector<SearchDefinition>& Definitions() const { return definitions_; }
  ListView MasterView() const;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(int id, const NMHDR& header, LRESULT& result) override;
  // Enter starts the run, as the default button does; it never closes the window unsaved.
  void OnOK() override { BackUpFiles(); }

 private:
  // ToolWindow
  bool Running() const override { return backup_.Running(); }
  void CancelRun() override { backup_.Cancel(); }
  std::vector<FormList> LayoutLists() const override;
  void Layout() override;
  // The list of definitions as well as the layout.
  void SaveState() override;
  // ToolProgress
  void SetStatus(const std::string& text) override;
  void ShowCounters(const SearchCounters& counters) override;

  std::optional<size_t> SelectedDefinition() const;
  void FillMaster(std::optional<size_t> select);
  void ShowMasterMenu(POINT at);
  void EnableRunControls(bool running);

  FileBackupContext context_;
  GuiInteraction ui_;
  std::vector<SearchDefinition> definitions_;
  std::vector<std::string> found_;  // the "Found" column; empty before a run
  FileBackup backup_;
  bool buttonsHidden_ = false;
};

// Shows the window modally.
void RunFileBackupWindow(HWND owner, const FileBackupContext& context);

// After Save Current Configuration, when the setting MakeDLLBackup asks for it: the window
// made (reading its list), shown without buttons, run, and freed (keeping its list). Any error
// of the backup is left out: the saved configuration stands.
void BackUpFilesAfterSave(HWND owner, const FileBackupContext& context);

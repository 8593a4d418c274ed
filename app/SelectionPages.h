#pragma once
// The selection pages of the main window: the session's registry, drive and system-file
// selection trees with the contents list beside each, and the exclude list.

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Session.h"
#include "core/TreeModel.h"
#include "core/UserInteraction.h"
#include "platform/Handle.h"
#include "ui/TreeViewBinding.h"

struct SelectionControls {
  HWND registryTree, registryValues;
  HWND driveTree, driveFiles;
  HWND systemTree, systemValues;
  HWND excludeList;
};

class SelectionPages {
 public:
  SelectionPages(Session& session, UserInteraction& ui, const SelectionControls& controls, HIMAGELIST icons);
  ~SelectionPages();
  SelectionPages(const SelectionPages&) = delete;
  SelectionPages& operator=(const SelectionPages&) = delete;

  bool HandleNotify(const NMHDR& header, LRESULT& result);
  // While a command reads the trees (a save's threads walk them), clicks on them are refused.
  void LockInput(bool locked);

  // What the pages add to the session's work on the selection trees (SessionView): the node
  // to load selected under the hourglass; the refresh under the hourglass and its status text,
  // the registry values shown again after it; the icons of drives and files; in new trees the
  // top nodes selected and the emptied exclude list shown.
  void LoadingNode(TreeModel& tree, TreeNode& node, const std::function<void()>& load);
  void Refreshing(const std::function<void()>& refresh);
  SelectionIcons Icons();
  // The image lists of the drive and system-file trees: the strip, then the shell icons added
  // to them (and, for system files, the INI-file, text-file and entry images right after the
  // strip). The result trees show the indexes the compare took from them.
  HIMAGELIST DriveImages() const { return driveImages_.Get(); }
  HIMAGELIST SystemImages() const { return systemImages_.Get(); }
  void ShowNewTrees();
  // Shows the exclude list of the application state again.
  void ShowExcludeList();
  void DeleteSelectedExcludeEntry();
  // The full paths of the files selected in the drive selection's file list.
  std::vector<std::string> SelectedDriveFiles() const;
  // The pop-up menu of the drive selection's file list, at a screen point; a file is selected.
  std::function<void(POINT screen)> onFileListMenu;
  // The pop-up menu of the system-file tree, at a screen point; the node under the mouse (if
  // any) is selected.
  std::function<void(POINT screen)> onSystemTreeMenu;

  // Appends a user-defined file to the system-file tree with its shell icon and selects it.
  void AddUserFile(const std::string& path, bool iniFile);
  // Removes the selected user-defined file; raises for a node that is not one.
  void DeleteSelectedUserFile();

 private:
  void Bind(std::unique_ptr<TreeViewBinding>& binding, HWND view, TreeModel& model, HIMAGELIST images,
            void (SelectionPages::*show)(TreeNode*));
  void ShowRegistryValues(TreeNode* node);
  void ShowFolderFiles(TreeNode* node);
  void ShowSystemEntries(TreeNode* node);

  Session& session_;
  UserInteraction& ui_;
  SelectionControls controls_;
  HIMAGELIST icons_;
  UniqueImageList driveImages_;
  UniqueImageList systemImages_;
  std::unique_ptr<TreeViewBinding> registryBinding_, driveBinding_, systemBinding_;
  std::vector<std::string> shownFiles_;  // the names the drive file list shows, by owner index
};

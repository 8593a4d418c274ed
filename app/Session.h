#pragma once
// The session: the application state and the six trees (three selection trees read from the
// machine, three result trees filled from a log). The window's pages, batch mode and the
// workflows all work on one session; the window shows it through SessionView.

#include <functional>
#include <string>

#include "app/AppState.h"
#include "app/SelectionTreeBuilder.h"
#include "capture/SelectionTrees.h"
#include "compare/CompareConfigurations.h"
#include "compare/LogLoader.h"
#include "core/TreeModel.h"
#include "core/UserInteraction.h"

// Where the drive and system-file selection trees put the shell icons of their nodes.
struct SelectionIcons {
  IconSink drives;
  IconSink systemFiles;
};

// A window that shows the session. The trees tell their views of their own changes; this hears
// of the rest and wraps the session's slow work in the window's hourglass and status texts.
// Implemented by MainWindow; batch mode without a display has none, and the defaults do
// nothing but the work itself.
class SessionView {
 public:
  virtual ~SessionView() = default;

  // Runs the lazy load of a selection node's children (the window selects the node first).
  virtual void LoadingSelectionNode(TreeModel&, TreeNode&, const std::function<void()>& load) { load(); }
  // Runs the refresh of the selection trees against the machine.
  virtual void RefreshingSelection(const std::function<void()>& refresh) { refresh(); }
  virtual SelectionIcons Icons() { return {}; }
  // The selection trees were built anew, before the default selection is applied.
  virtual void SelectionBuilt() {}
  virtual void ExcludeListChanged() {}
  // The result trees are about to be refilled or emptied: the lists beside them no longer match.
  virtual void ResultsReplacing() {}
  // A compare or a load filled the result trees. named: the log is the application's now and
  // the title names it.
  virtual void ResultsShown(bool /*named*/) {}
};

class Session {
 public:
  // The selection trees empty with their loaders installed; the result trees show no log.
  Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  AppState& State() { return state_; }
  const AppState& State() const { return state_; }

  SelectionTrees Selection() { return {registrySelection_, driveSelection_, systemFileSelection_}; }
  ResultTrees Results() { return {registryResult_, driveResult_, systemFileResult_}; }
  // Both sets, as the compare driver fills them.
  CompareTrees ForCompare();

  // nullptr: no view. The view must be reset before it goes.
  void SetView(SessionView* view) { view_ = view; }
  SessionView& View() { return view_ ? *view_ : noView_; }

  // Rebuilds the three selection trees from the machine, clears the exclude list, applies the
  // default selection.
  void BuildSelection();
  // Expands each selection tree's top node by one level.
  void ExpandSelectionTops();
  // Brings the loaded selection nodes up to date with the machine; the error of a tree that
  // failed is told and the others go on.
  void RefreshSelection(UserInteraction& ui);
  // Appends a user-defined file with its image to the system-file selection; the new node.
  TreeNode* AddUserFile(const std::string& path, bool iniFile, int image);
  // Removes a user-defined file; raises for a node that is not one.
  void DeleteUserFile(TreeNode* node);

  bool HasLog() const { return !state_.currentLogFile.empty(); }
  // "<No log file loaded>" in each result tree.
  void ShowNoLog();
  // A compare or load that failed has left the result trees half filled and the positions half
  // overwritten: nothing of them may be shown or restored as a log any more.
  void ForgetLog();
  // Expands each result tree's top node by one level.
  void ExpandResultTops();

 private:
  void InstallSelectionLoader(TreeModel& tree, void (*load)(TreeModel&, TreeNode&));

  AppState state_;
  TreeModel registrySelection_, driveSelection_, systemFileSelection_;
  TreeModel registryResult_, driveResult_, systemFileResult_;
  SessionView* view_ = nullptr;
  SessionView noView_;
};

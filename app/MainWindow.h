#pragma once
// The main window: menus, toolbar, the selection and log pages showing the session's trees
// with their lists, the status line. Commands run on the main thread from the command table;
// errors reach one handler.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandEnvironment.h"
#include "app/CommandTable.h"
#include "app/GuiInteraction.h"
#include "app/ResultPages.h"
#include "app/SelectionPages.h"
#include "app/Session.h"
#include "app/WindowLayout.h"
#include "core/MainThreadCalls.h"
#include "core/TreeModel.h"
#include "platform/Handle.h"
#include "ui/Dpi.h"
#include "ui/WindowBase.h"
#include "wizards/InstallWizardWindow.h"
#include "wizards/StepWizardWindow.h"

struct ErrorSource;

class MainWindow : public WindowBase, private SessionView {
 public:
  using ErrorHandler = std::function<void(HWND owner, const ErrorSource& source, std::exception_ptr error)>;

  // The window shows session from Create until it is destroyed; the session outlives it.
  MainWindow(Session& session, ErrorHandler onError);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window hidden; the caller shows it with Show. The message pump translates its
  // accelerators and moves the focus among its controls with Tab and Shift+Tab.
  HWND Create();
  HACCEL Accelerators() const { return accelerators_.Get(); }
  // Shows the window as showCommand asks, maximised when it was maximised at the last close and
  // the caller asks for no particular state.
  void Show(int showCommand);

  UserInteraction& Ui() { return *ui_; }
  // Batch mode: every question of the window and its pages takes the answer of answers.
  void AnswerUnattended(UserInteraction* answers) { ui_->AnswerUnattended(answers); }
  SelectionPages& Pages() { return *pages_; }
  ResultPages& Results() { return *results_; }
  // After a compare or a load: the title names the log, the result pages show.
  void ShowResults();
  // The same without naming the log in the title (Compare Configurations).
  void ShowResultPages();

  // Builds the selection trees, loads the start-up selection, restores the layout and applies
  // the hint settings; errors are shown, start-up goes on.
  void LoadStartupSelection();
  // The selection pages in front, as start-up ends.
  void ShowSelectionPages();
  // An error outside a command (start-up), to the window's error handler.
  void ReportError(const ErrorSource& source, std::exception_ptr error) { onError_(hwnd_, source, error); }
  // Whether the welcome window is to be shown, as restored from the settings.
  bool ShowWelcome() const { return showWelcome_; }
  // As the window has become visible the first time: the welcome window, unless the user
  // asked not to see it again.
  void GreetAtStart();
  MainThreadCalls& Calls() { return calls_; }
  CommandTable& Commands() { return commands_; }
  // What the commands work with, the window's interaction included.
  CommandEnvironment Environment();
  // As the menus and the toolbar show it now.
  bool IsCommandEnabled(int commandId) const { return commands_.IsEnabled(commandId, session_, busy_); }

  // Runs one command as the menu would, with its errors going to the error handler; true when
  // it ran to its end.
  bool RunCommand(int commandId);
  // The step-by-step wizard while its window is open, else nullptr.
  TfWizard* StepWizard() const;
  // The install/uninstall wizard once made (it is kept, hidden or shown), else nullptr.
  TWizard2FRM* InstallWizard() const { return installWizard_.get(); }
  // What "Switch to Explorer" starts, for the tests: the user's work outside the program.
  void ReplaceExplorerStart(std::function<void()> start) { explorerStart_ = std::move(start); }

  // Named controls, for the tests.
  HWND Control(const std::string& name) const;

 private:
  struct Page;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Keeps the control that has the focus when the window is deactivated, and gives it the
  // focus back when the window gets it again (after a dialog or message box closed).
  void RememberFocus();
  void RestoreFocus();

  void CreateControls();
  void CreateToolbar();
  void CreatePages();
  void CreateStatusLine();
  void FillIconLegend();
  void Layout();
  // Fonts and lengths for the monitor's DPI, then a new layout.
  void ApplyDpi(UINT dpi);
  std::vector<LayoutPane> LayoutPanes() const;
  void RestoreLayout();
  void SaveLayout();
  void ApplyHintSettings();
  void ShowPages();
  void UpdateCommandStates();
  LRESULT OnNotify(const NMHDR& header);
  // A pop-up menu of IDR_RESULT_POPUPS; its commands arrive as WM_COMMAND.
  void ShowPopup(int index, POINT screen);
  void OnClose();
  // The tool button of the step-by-step wizard: the open one comes to front, else a new one
  // after the user agrees.
  void OpenStepWizard();
  // The install/uninstall wizard shown as it was left, made on first use.
  TWizard2FRM& OpenInstallWizard();
  void ShowWelcomeScreen();
  // The close query's first step: no wizard stays open over a window about to go.
  void CloseWizards();
  // What the wizards ask of the window.
  WizardHost MakeWizardHost();
  HICON ToolButtonPicture(int command) const;

  // SessionView: the session's work shown in the pages.
  void LoadingSelectionNode(TreeModel& tree, TreeNode& node, const std::function<void()>& load) override;
  void RefreshingSelection(const std::function<void()>& refresh) override;
  SelectionIcons Icons() override;
  void SelectionBuilt() override;
  void ExcludeListChanged() override;
  void ResultsReplacing() override;
  void ResultsShown(bool named) override;

  Session& session_;
  CommandTable commands_;
  ErrorHandler onError_;
  UniqueAccelerators accelerators_;
  HWND lastFocus_ = nullptr;
  std::unique_ptr<GuiInteraction> ui_;
  MainThreadCalls calls_;
  bool busy_ = false;
  bool showWelcome_ = true;
  bool startMaximized_ = false;  // as the window was closed last time

  UniqueImageList icons_;
  std::unique_ptr<SelectionPages> pages_;
  std::unique_ptr<ResultPages> results_;
  std::unique_ptr<TfWizard> stepWizard_;
  std::unique_ptr<TWizard2FRM> installWizard_;
  std::function<void()> explorerStart_;

  DpiScale scale_;
  HWND toolbar_ = nullptr;
  HWND rightsLabel_ = nullptr;
  HWND outerTabs_ = nullptr;
  HWND selectionTabs_ = nullptr;
  HWND logTabs_ = nullptr;
  std::vector<std::unique_ptr<Page>> selectionPages_;
  std::vector<std::unique_ptr<Page>> logPages_;
  RECT pageArea_{};  // where the inner pages lie, for a splitter's drag
  std::vector<std::pair<std::string, HWND>> named_;
  StatusControls status_;
};

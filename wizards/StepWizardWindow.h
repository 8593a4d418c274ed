#pragma once
// "Step-by-Step Wizard": a small modeless window beside the main one that leads through the
// cycle select, save, install, compare, review. Each chapter has its text, a button that runs
// the step in the main window and an "OK, done" box; the hints of the current chapter show
// below. The window calls the main window only through its host.

#include <windows.h>

#include <functional>
#include <memory>

#include "app/GuiInteraction.h"
#include "ui/Dialog.h"
#include "wizards/StepWizardCourse.h"

// What the wizard asks of the main window.
struct StepWizardHost {
  std::function<void()> showSelectionPages;  // with each selection tree's first node expanded
  std::function<void()> showLogPages;        // with each result tree's first node expanded
  std::function<void()> bringToFront;
  // Runs a command as its menu item does; false when it did not run or ended with an error.
  std::function<bool(int command)> runCommand;
  std::function<void()> startExplorer;
  // The picture of the main window's tool button for a command, or of the explorer for 0.
  std::function<HICON(int command)> buttonPicture;
};

class TfWizard : public Dialog {
 public:
  TfWizard(StepWizardHost host, const std::string& settingsKeyPath);
  ~TfWizard() override;

  int Chapter() const { return course_.Chapter(); }
  // True once the window has closed (Quit Wizard, the close box, the end of the course).
  bool Closed() const { return closed_; }
  void Close();

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnOK() override { Advance(); }
  void OnCancel() override { Close(); }

 private:
  void ShowChapter();
  void Advance();
  // The button of a chapter.
  void RunChapter(int chapter);
  // A click on the box of a chapter the button alone can finish: the box goes back.
  void RefuseBox(int chapter);
  static int ChapterOfControl(int id, int first);

  StepWizardHost host_;
  StepWizardCourse course_;
  GuiInteraction ui_;
  bool busy_ = false;
  bool closed_ = false;
  std::vector<HICON> pictures_;
};

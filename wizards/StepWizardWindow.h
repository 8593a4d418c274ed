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
#include "wizards/WizardHost.h"

class TfWizard : public Dialog {
 public:
  TfWizard(WizardHost host, const std::string& settingsKeyPath);
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

  WizardHost host_;
  StepWizardCourse course_;
  GuiInteraction ui_;
  bool busy_ = false;
  bool closed_ = false;
  std::vector<HICON> pictures_;
};

#pragma once
// "Startpage": the install/uninstall wizard, a modeless window over the main one. Its start
// page offers six large buttons; two lead into guided sections (install an application under
// monitoring in four steps, remove one with its log in two), the others open the cleaning
// tools. Each step's buttons run the main window's commands through the host. The value
// "Wizard2InInstall" remembers that the user left to install, so the next wizard opens at the
// install step.

#include <windows.h>

#include <string>
#include <vector>

#include "app/GuiInteraction.h"
#include "platform/Handle.h"
#include "ui/Dialog.h"
#include "wizards/InstallWizardPages.h"
#include "wizards/WizardHost.h"

class TWizard2FRM : public Dialog {
 public:
  TWizard2FRM(WizardHost host, std::string settingsKeyPath);
  ~TWizard2FRM() override;

  // Shown and in front, as it was left.
  void Present();
  void ShowStartPage();
  // A section at one of its pages (install_wizard::InstallPage or UninstallPage).
  void ShowSection(WizardSection section, int page);
  WizardSection Section() const { return section_; }
  int Page() const { return section_ == WizardSection::Start ? 0 : pages_[Index(section_)]; }
  // The button of a step page or of the start page that runs action, for the tests.
  HWND ActionButton(InstallWizardAction action) const;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(int id, const NMHDR& header, LRESULT& result) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
  void OnOK() override {}
  // Escape and the close box hide the wizard; only "&Close" leaves the install state.
  void OnCancel() override { Hide(); }

 private:
  static int Index(WizardSection section) { return section == WizardSection::Install ? 0 : 1; }
  void CreateStepPages();
  void ShowControls();
  // Back and Next: one page within the section.
  void Step(int delta);
  void AfterPageChange();
  void Run(InstallWizardAction action);
  // Runs a main-window command with the wizard hidden meanwhile; true when it ran to its end.
  bool RunHidden(int command);
  void Hide();
  void SetInInstall(bool inInstall) const;
  UserInteraction& Ui();

  WizardHost host_;
  std::string keyPath_;
  GuiInteraction ui_;
  WizardSection section_ = WizardSection::Start;
  int pages_[2] = {0, 0};
  struct PageControl {
    HWND window;
    WizardSection section;
    int page;
  };
  std::vector<PageControl> pageControls_;
  std::vector<std::pair<HWND, InstallWizardAction>> actions_;
  UniqueFont stepFont_;
  UniqueFont titleFont_;
  std::vector<HICON> pictures_;
  bool running_ = false;
};

#pragma once
// The pages of the install/uninstall wizard: the start page's six buttons, and the step pages
// of its two sections with their headings, texts and buttons.

#include <vector>

enum class InstallWizardAction {
  // start page
  ShowInstallSection,
  ShowUninstallSection,
  RemoveExistingApplication,
  FindDuplicates,
  DeleteTempFiles,
  DeleteFonts,
  // install section
  SelectManually,
  AutomaticSelection,
  SaveConfiguration,
  SwitchToExplorer,
  CreateLogFile,
  // uninstall section
  LoadLogFile,
  NoLogFile,
  SemiAutomaticDeinstallation,
  AutomaticDeinstallation,
};

struct WizardButton {
  const char* caption;
  InstallWizardAction action;
};

enum class WizardSection { Start, Install, Uninstall };

struct WizardStepPage {
  const char* tab;
  const char* step;   // "Step 1:"
  const char* title;  // lines separated by "\r\n"
  std::vector<const char*> texts;
  std::vector<WizardButton> buttons;
  // The reminder of the main window's tool button for the same command, with its label; none
  // when reminderLabel is null.
  const char* reminderLabel;
  int reminderCommand;
};

namespace install_wizard {

// The pages of the install section, in order.
enum InstallPage { kSelection, kSaveConfiguration, kInstallNewApplication, kCreateLogFile, kInstallPages };
// The pages of the uninstall section, in order.
enum UninstallPage { kLoadLogFile, kRestorePrevious, kUninstallPages };

const std::vector<WizardButton>& StartButtons();
const std::vector<WizardStepPage>& PagesOf(WizardSection section);

}  // namespace install_wizard

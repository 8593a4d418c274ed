#include "wizards/InstallWizardPages.h"

#include "res/resource.h"

namespace install_wizard {

namespace {

constexpr const char* kToolbarIcon = "Toolbar icon in\r\nmain window:";

}  // namespace

const std::vector<WizardButton>& StartButtons() {
  static const std::vector<WizardButton> buttons = {
      {"Install an Application", InstallWizardAction::ShowInstallSection},
      {"Deinstall (with log file)", InstallWizardAction::ShowUninstallSection},
      {"Deinstall an Existing Application\r(no log file)", InstallWizardAction::RemoveExistingApplication},
      {"Find Duplicates", InstallWizardAction::FindDuplicates},
      {"Delete Temp Files", InstallWizardAction::DeleteTempFiles},
      {"Delete Fonts", InstallWizardAction::DeleteFonts},
  };
  return buttons;
}

const std::vector<WizardStepPage>& PagesOf(WizardSection section) {
  static const std::vector<WizardStepPage> install = {
      {"Selection",
       "Step 1:",
       "Selection",
       {"Select items to be monitored:\r\n\r\n    1. Registry keys\r\n    2. Drives\r\n    3. System Files",
        "You can make your selections manually in the main window\r\nor you can let the program select the necessary "
        "items automatically.",
        "TIP:\r\nYour selections are normally stored as default when you exit the\r\nprogram. If you want to use your "
        "last selections you don't need to do\r\nanything now - just click on 'Next' to proceed to the next step."},
       {{"Select Manually", InstallWizardAction::SelectManually},
        {"Automatic Selection", InstallWizardAction::AutomaticSelection}},
       "Click this Icon to\r\nreturn here afterwards:",
       IDM_START_WIZARD},
      {"Save Configuration",
       "Step 2:",
       "Save your\r\ncurrent configuration",
       {"This computer's current configuration will now be saved.\r\nThe following items will be stored and "
        "monitored:\r\n\r\n    1. Registry keys (Windows and application settings)\r\n    2. Drives (files and "
        "folders)\r\n    3. SystemFiles (WIN.INI, CONFIG.SYS etc.)",
        "NOTE:\r\nThe program uses this configuration information to detect the \r\nchanges made to your system by "
        "your new application\r\n(using 'before' and 'after' snapshots).\r\n"},
       {{"Save Configuration", InstallWizardAction::SaveConfiguration}},
       kToolbarIcon,
       IDM_SAVE_CURRENT_CONFIG},
      {"Install New Application",
       "Step 3:",
       "Install the new\r\napplication",
       {"You now can switch to the Windows Explorer to install a new\r\napplication.\r\n\r\nWhen you are finished "
        "please return to Quorvel to create\r\nthe installation log file.",
        "This program DOESN'T need to be running during installation!\r\n You can exit the program now and even "
        "reboot the\r\ncomputer if you want!",
        "IMPORTANT:\r\nPlease run the new application at least once before creating\r\nthe installation log file! "
        "Many applications perform their final setup\r\nand configuration the first time you run them and not during "
        "the\r\ninstallation process."},
       {{"Switch to Explorer", InstallWizardAction::SwitchToExplorer}},
       nullptr,
       0},
      {"Create Log File",
       "Step 4:",
       "Create the\r\nlog file",
       {"The program will now store the new configuration file and compare it\r\nwith the one generated in Step 2 "
        "(Save Configuration). The\r\ndifferences will be stored in a log file, which you can then use later\r\nto "
        "remove the application if necessary.",
        "You will be asked to enter a name for the log file.\r\nIt's a good idea to use the application name, "
        "as\r\nthis makes it easier to identify the log file later.",
        "Note:\r\nFor best deinstallation performance you should always\r\nuse the log file created here to remove "
        "the application later.\r\nSelect 'Remove an Application' and then 'Load Log File', or just load\r\nthe log "
        "file manually by selecting 'Load Log File' in the File menu."},
       {{"Create Log File", InstallWizardAction::CreateLogFile}},
       kToolbarIcon,
       IDM_COMPARE},
  };
  static const std::vector<WizardStepPage> uninstall = {
      {"Load Log &File",
       "Step 1:",
       "Load\r\nlog file",
       {"To completely remove all traces of an application you need the log\r\nfile created by Quorvel when you "
        "installed the application.",
        "Select 'Load Log File' to select and load the log file now.\r\nSelect 'No Log File' to remove an "
        "application that was not monitored\r\nthis program.",
        "Note:\r\nThe log file enables you to remove all the application components \r\nvery precisely, even if "
        "other programs have been installed in\r\nthe meantime."},
       {{"Load Log &File", InstallWizardAction::LoadLogFile}, {"No Log File", InstallWizardAction::NoLogFile}},
       kToolbarIcon,
       IDM_LOAD_LOG_FILE},
      {"Restore previous configuration",
       "Step 2:",
       "Restore\r\nPrevious\r\nConfiguration",
       {"The information needed to deinstall the application has been\r\nread from the log file. You can now "
        "deinstall semi-automatically\r\n(specify components to be deleted) or automatically (delete\r\nall "
        "components).\r\n\r\nThe semi-automatic method is recommended!\r\n",
        "WARNING:\r\nAutomatic deinstallation may remove some components\r\nthat you would actually prefer to keep on "
        "your system!"},
       {{"Semi-Automatic Deinstallation", InstallWizardAction::SemiAutomaticDeinstallation},
        {"Automatic Deinstallation", InstallWizardAction::AutomaticDeinstallation}},
       kToolbarIcon,
       IDM_RESTORE_ALL},
  };
  static const std::vector<WizardStepPage> none;
  switch (section) {
    case WizardSection::Install:
      return install;
    case WizardSection::Uninstall:
      return uninstall;
    default:
      return none;
  }
}

}  // namespace install_wizard

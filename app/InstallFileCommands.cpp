#include "app/InstallFileCommands.h"

#include "app/ExportSelectionDialog.h"
#include "app/FileNameInput.h"
#include "ui/ActiveOwner.h"
#include "ui/FolderBrowser.h"

namespace {

// The tree a command starts from, and the form of the export selection dialog it shows.
LogSection SectionOf(InstallExportCommand command) {
  switch (command) {
    case InstallExportCommand::Drives:
      return LogSection::Drives;
    case InstallExportCommand::SystemFiles:
      return LogSection::SystemFiles;
    case InstallExportCommand::Registry:
    case InstallExportCommand::All:
      break;
  }
  return LogSection::Registry;
}

// The key/value form for the registry and "All", the folder/file form for the others.
LogSection DialogFormOf(InstallExportCommand command) {
  const LogSection section = SectionOf(command);
  return section == LogSection::SystemFiles ? LogSection::Drives : section;
}

}  // namespace

void CreateInstallFilesCommand(CommandEnvironment& environment, InstallExportCommand command,
                               const InstallFileQuestions& questions) {
  InstallExportRequest request;
  request.command = command;
  if (command != InstallExportCommand::All) {
    request.start = environment.results.SelectedNode(SectionOf(command));
    if (!request.start) return;
  }
  ExportChoice choice{kAllKinds, DialogFormOf(command)};
  if (!questions.chooseKinds(choice)) return;
  request.kinds = choice.kinds;

  const AppState& state = environment.session.State();
  if (command != InstallExportCommand::Drives) {
    request.baseName = DefaultInstallName(state.currentLogFile, command == InstallExportCommand::All);
    if (!questions.chooseFileName(request.baseName) || request.baseName.empty()) return;
  }
  if (command == InstallExportCommand::Drives || command == InstallExportCommand::All) {
    std::optional<std::string> folder =
        ChooseCopyFolder(DefaultInstallName(state.currentLogFile, false), environment.ui, questions.browseFolder);
    if (!folder) return;
    request.copyFolder = *folder;
  }

  WaitCursor wait(environment.ui);
  ResultPages::BulkExpansion bulk(environment.results);
  ExportInstallFiles(environment.session.Results(), state.currentLogFile, state.logPositions, request, environment.ui);
}

InstallFileQuestions InstallFileDialogs(HWND owner) {
  InstallFileQuestions questions;
  questions.chooseKinds = [owner](ExportChoice& choice) { return RunExportSelectionDialog(owner, choice); };
  questions.chooseFileName = [owner](std::string& baseName) {
    return RunFileNameInput(owner, "Please enter filename (without extension)", baseName);
  };
  questions.browseFolder = [owner](std::string& folder) {
    // Asked after the folder question, whose box has closed by now.
    return BrowseForFolder(ActiveOwnerOf(owner), {"Select folder.", "Choose destination folder for files", true},
                           folder);
  };
  return questions;
}

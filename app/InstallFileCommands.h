#pragma once
// "Create Install Files" of the Action menu and of the result trees' pop-up menus: the changes
// of the loaded log as a .REG file, _del.INF and _add.INF files and a copy of the new files,
// which undo or repeat the installation on another machine. The command asks its questions
// (the kinds to export, the file name, the copy folder), then runs the export.

#include <functional>
#include <string>

#include "app/CommandEnvironment.h"
#include "compare/ExportTreeWalk.h"
#include "restore/InstallExport.h"

// The dialogs the command shows; each returns false when the user cancelled.
struct InstallFileQuestions {
  std::function<bool(ExportChoice& choice)> chooseKinds;      // the export selection dialog
  std::function<bool(std::string& baseName)> chooseFileName;  // "Choose filename"
  std::function<bool(std::string& folder)> browseFolder;      // "Select folder."
};

// A tree's command does nothing when its tree has no selected node. A cancel at any question
// ends the command without output.
void CreateInstallFilesCommand(CommandEnvironment& environment, InstallExportCommand command,
                               const InstallFileQuestions& questions);

// The questions as the main window shows them, owned by owner.
InstallFileQuestions InstallFileDialogs(HWND owner);

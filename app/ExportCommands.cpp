#include "app/ExportCommands.h"

#include "platform/SettingsAccess.h"
#include "compare/TextExport.h"

void ExportDataCommand(CommandEnvironment& environment, LogSection section, const ExportKindsChooser& chooseKinds) {
  TreeNode* start = environment.results.SelectedNode(section);
  if (!start) return;
  ExportChoice choice{kAllKinds, section};
  if (!chooseKinds(choice)) return;

  FileDialogSpec spec;
  spec.title = "Save export file";
  spec.filter = "TEXT file  (*.TXT)|*.TXT";
  spec.defaultExt = "TXT";
  spec.promptOverwrite = true;
  std::string fileName;
  if (!environment.ui.ChooseSaveFile(spec, fileName)) return;

  const AppState& state = environment.session.State();
  std::vector<std::string> lines;
  {
    WaitCursor wait(environment.ui);
    ResultPages::BulkExpansion bulk(environment.results);
    lines = BuildTextExport(environment.session.Results().Of(section), start, choice, state.currentLogFile,
                            state.logPositions, ReadRequiredText("DefaultText"), environment.ui);
  }
  SaveTextLines(fileName, lines);
}

#include "app/ExportCommands.h"

#include "platform/SettingsAccess.h"
#include "compare/TextExport.h"

void ExportDataCommand(ExportCommandContext& context, LogSection section) {
  TreeNode* start = context.results.SelectedNode(section);
  if (!start) return;
  ExportChoice choice{kAllKinds, section};
  if (!context.chooseKinds(choice)) return;

  FileDialogSpec spec;
  spec.title = "Save export file";
  spec.filter = "TEXT file  (*.TXT)|*.TXT";
  spec.defaultExt = "TXT";
  spec.promptOverwrite = true;
  std::string fileName;
  if (!context.ui.ChooseSaveFile(spec, fileName)) return;

  std::vector<std::string> lines;
  {
    WaitCursor wait(context.ui);
    ResultPages::BulkExpansion bulk(context.results);
    lines = BuildTextExport(context.results.Trees().Of(section), start, choice, context.app.currentLogFile,
                            context.app.logPositions, ReadRequiredText("DefaultText"), context.ui);
  }
  SaveTextLines(fileName, lines);
}

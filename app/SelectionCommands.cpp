#include "app/SelectionCommands.h"

#include "app/SelectionTreeBuilder.h"
#include "platform/FileSystem.h"
#include "core/TextCompare.h"
#include "datafiles/SelectionFile.h"

const char* const kLastSelectionFile = "Last.SXS";

namespace {

FileDialogSpec SelectionFileDialog(const AppState& app, const char* title) {
  FileDialogSpec spec;
  spec.title = title;
  spec.filter = "Selection file (*.SXS)|*.SXS";
  spec.defaultExt = "SXS";
  spec.initialDir = app.programFolder;
  return spec;
}

void SaveSelectionFile(const std::string& path, AppState& app, SelectionPages& pages) {
  SelectionTrees trees = pages.Trees();
  SaveSelections(path, trees.registry, trees.drives, trees.systemFiles, app.excludeList);
}

}  // namespace

void LoadSelectionFile(const std::string& path, AppState& app, SelectionPages& pages, UserInteraction& ui) {
  SelectionTrees trees = pages.Trees();
  LoadSelections(path, trees.registry, trees.drives, trees.systemFiles, app.excludeList, ui, [&] {
    pages.ExpandTops();
    pages.Refresh();
  });
  pages.ShowExcludeList();
}

void LoadSelectionCommand(AppState& app, SelectionPages& pages, UserInteraction& ui) {
  FileDialogSpec spec = SelectionFileDialog(app, "Load Selection File");
  spec.fileMustExist = true;
  std::string path;
  if (ui.ChooseOpenFile(spec, path)) {
    WaitCursor wait(ui);
    LoadSelectionFile(path, app, pages, ui);
    app.selectionChanged = CompareTextLocale(path, app.programFolder + kLastSelectionFile) != 0;
  }
  pages.ExpandTops();
}

void SaveSelectionCommand(AppState& app, SelectionPages& pages, UserInteraction& ui) {
  FileDialogSpec spec = SelectionFileDialog(app, "Save Selection File");
  spec.promptOverwrite = true;
  std::string path;
  if (!ui.ChooseSaveFile(spec, path)) return;
  WaitCursor wait(ui);
  SaveSelectionFile(path, app, pages);
  app.selectionChanged = false;
}

void ResetSelectionsCommand(AppState& app, SelectionPages& pages, UserInteraction& ui) {
  WaitCursor wait(ui);
  pages.Build();
  pages.ExpandTops();
  app.selectionChanged = true;
}

void LoadStartupSelection(AppState& app, SelectionPages& pages, UserInteraction& ui) {
  pages.Build();
  std::string last = app.programFolder + kLastSelectionFile;
  if (FileExists(last)) {
    LoadSelectionFile(last, app, pages, ui);
  }
  pages.ExpandTops();
  DeselectControlSets(pages.Trees().registry);
  app.selectionChanged = false;
}

bool OfferToKeepSelection(AppState& app, SelectionPages& pages, UserInteraction& ui) {
  if (!app.selectionChanged) return true;
  std::string last = app.programFolder + kLastSelectionFile;
  if (FileExists(last)) {
    MsgAnswer answer = ui.Ask(MsgType::Confirmation,
                              "Save the current selection as the default\rto be used next time you start the program?",
                              MsgButtons::YesNoCancel);
    if (answer == MsgAnswer::Cancel) return false;
    if (answer != MsgAnswer::Yes) return true;
  }
  try {
    SaveSelectionFile(last, app, pages);
  } catch (const std::exception& e) {
    // A read-only program folder or file must not keep the window from closing.
    std::string reason = e.what();
    while (!reason.empty() && (reason.back() == '.' || reason.back() == ' ')) reason.pop_back();
    return ui.Ask(MsgType::Error, "The selection could not be saved: " + reason + ".\rClose anyway?",
                  MsgButtons::YesNo) == MsgAnswer::Yes;
  }
  return true;
}

void AddUserFileCommand(SelectionPages& pages, const std::function<bool(UserFileChoice&)>& askForFile) {
  UserFileChoice choice;
  if (askForFile(choice)) pages.AddUserFile(choice.path, choice.iniFile);
}

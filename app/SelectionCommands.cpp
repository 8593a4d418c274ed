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

void SaveSelectionFile(const std::string& path, Session& session) {
  SelectionTrees trees = session.Selection();
  SaveSelections(path, trees.registry, trees.drives, trees.systemFiles, session.State().excludeList);
}

}  // namespace

void LoadSelectionFile(const std::string& path, Session& session, UserInteraction& ui) {
  SelectionTrees trees = session.Selection();
  LoadSelections(path, trees.registry, trees.drives, trees.systemFiles, session.State().excludeList, ui, [&] {
    session.ExpandSelectionTops();
    session.RefreshSelection(ui);
  });
  session.View().ExcludeListChanged();
}

void LoadSelectionCommand(Session& session, UserInteraction& ui) {
  AppState& app = session.State();
  FileDialogSpec spec = SelectionFileDialog(app, "Load Selection File");
  spec.fileMustExist = true;
  std::string path;
  if (ui.ChooseOpenFile(spec, path)) {
    WaitCursor wait(ui);
    LoadSelectionFile(path, session, ui);
    app.selectionChanged = CompareTextLocale(path, app.programFolder + kLastSelectionFile) != 0;
  }
  session.ExpandSelectionTops();
}

void SaveSelectionCommand(Session& session, UserInteraction& ui) {
  FileDialogSpec spec = SelectionFileDialog(session.State(), "Save Selection File");
  spec.promptOverwrite = true;
  std::string path;
  if (!ui.ChooseSaveFile(spec, path)) return;
  WaitCursor wait(ui);
  SaveSelectionFile(path, session);
  session.State().selectionChanged = false;
}

void ResetSelectionsCommand(Session& session, UserInteraction& ui) {
  WaitCursor wait(ui);
  session.BuildSelection();
  session.ExpandSelectionTops();
  session.State().selectionChanged = true;
}

void LoadStartupSelection(Session& session, UserInteraction& ui) {
  {
    WaitCursor wait(ui);
    session.BuildSelection();
  }
  const std::string last = session.State().programFolder + kLastSelectionFile;
  if (FileExists(last)) LoadSelectionFile(last, session, ui);
  session.ExpandSelectionTops();
  session.State().selectionChanged = false;
}

void FinishStartupSelection(Session& session) {
  DeselectControlSets(session.Selection().registry);
  session.State().selectionChanged = false;
}

bool OfferToKeepSelection(Session& session, UserInteraction& ui) {
  if (!session.State().selectionChanged) return true;
  std::string last = session.State().programFolder + kLastSelectionFile;
  if (FileExists(last)) {
    MsgAnswer answer = ui.Ask(MsgType::Confirmation,
                              "Save the current selection as the default\rto be used next time you start the program?",
                              MsgButtons::YesNoCancel);
    if (answer == MsgAnswer::Cancel) return false;
    if (answer != MsgAnswer::Yes) return true;
  }
  try {
    SaveSelectionFile(last, session);
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

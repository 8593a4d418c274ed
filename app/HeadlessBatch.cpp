#include "app/HeadlessBatch.h"

#include <windows.h>

#include "app/BatchMode.h"
#include "app/NonInteractive.h"
#include "app/SelectionCommands.h"
#include "app/SelectionTreeBuilder.h"
#include "platform/FileSystem.h"
#include "core/Errors.h"
#include "datafiles/SelectionFile.h"

namespace {

// The trees batch mode works on, without views.
struct HeadlessTrees {
  TreeModel registry, drives, systemFiles;
  TreeModel registryResult, driveResult, systemResult;

  SelectionTrees Selection() { return {registry, drives, systemFiles}; }
  ResultTrees Results() { return {registryResult, driveResult, systemResult}; }

  void ExpandTops() {
    for (TreeModel* tree : {&registry, &drives, &systemFiles})
      if (TreeNode* top = tree->FirstTop()) tree->Expand(top);
  }

  void Refresh(UserInteraction& ui) {
    const std::pair<void (*)(TreeModel&), TreeModel*> trees[] = {{RefreshRegistrySelectionTree, &registry},
                                                                 {RefreshDriveSelectionTree, &drives},
                                                                 {RefreshSystemFileSelectionTree, &systemFiles}};
    for (const auto& [refresh, tree] : trees) {
      try {
        refresh(*tree);
      } catch (const std::exception& e) {
        ui.Tell(MsgType::Error, e.what());
      }
    }
  }
};

void LoadStartupTrees(HeadlessTrees& trees, AppState& app, UserInteraction& ui) {
  trees.registry.SetLoader(LoadRegistryChildren);
  trees.drives.SetLoader(LoadDriveChildren);
  trees.systemFiles.SetLoader(LoadSystemFileChildren);
  const IconSink noIcons = [](HICON) { return -1; };
  BuildRegistrySelectionTree(trees.registry);
  BuildDriveSelectionTree(trees.drives, noIcons);
  BuildSystemFileSelectionTree(trees.systemFiles, {}, noIcons);
  ApplyDefaultSelection(trees.Selection());
  const std::string last = app.programFolder + kLastSelectionFile;
  if (FileExists(last)) {
    LoadSelections(last, trees.registry, trees.drives, trees.systemFiles, app.excludeList, ui, [&] {
      trees.ExpandTops();
      trees.Refresh(ui);
    });
  }
  DeselectControlSets(trees.registry);
  app.selectionChanged = false;
}

}  // namespace

bool HasInteractiveDisplay() {
  USEROBJECTFLAGS flags{};
  DWORD needed = 0;
  if (GetUserObjectInformationA(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags, &needed) &&
      !(flags.dwFlags & WSF_VISIBLE))
    return false;
  HWND probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  if (!probe) return false;
  DestroyWindow(probe);
  return true;
}

int RunHeadlessBatch(AppState& app, const CommandLineRequest& request) {
  NonInteractive ui;
  try {
    HeadlessTrees trees;
    ui.SetStatus(StatusChannel::Main, "Running batch mode...");
    ui.SetStatus(StatusChannel::Main, "Status: Loading selections.");
    LoadStartupTrees(trees, app, ui);
    MainThreadCalls calls;
    BatchContext context{app,
                         ui,
                         calls,
                         trees.Selection(),
                         trees.Results(),
                         [&](const std::string& status) { ui.SetStatus(StatusChannel::Main, status); },
                         [&] {
                           trees.ExpandTops();
                           trees.Refresh(ui);
                         },
                         {},
                         NonInteractive::WriteLine};
    RunBatch(request, context);
    NonInteractive::WriteLine("Done.");
    return 0;
  } catch (...) {
    ErrorInfo error = DescribeError(std::current_exception());
    NonInteractive::WriteLine("Error: " + (error.message.empty() ? std::string("Operation aborted!") : error.message));
    return 1;
  }
}

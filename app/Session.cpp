#include "app/Session.h"

#include "core/StripImages.h"
#include "restore/UserSystemFiles.h"

Session::Session() {
  InstallSelectionLoader(registrySelection_, LoadRegistryChildren);
  InstallSelectionLoader(driveSelection_, LoadDriveChildren);
  InstallSelectionLoader(systemFileSelection_, LoadSystemFileChildren);
  ShowNoLog();
}

void Session::InstallSelectionLoader(TreeModel& tree, void (*load)(TreeModel&, TreeNode&)) {
  tree.SetLoader([this, load](TreeModel& model, TreeNode& node) {
    View().LoadingSelectionNode(model, node, [&] { load(model, node); });
  });
}

CompareTrees Session::ForCompare() {
  return {registrySelection_,
          driveSelection_,
          systemFileSelection_,
          registryResult_,
          driveResult_,
          systemFileResult_,
          SystemFileImages{kImageIniFile, kImageTextFile}};
}

void Session::BuildSelection() {
  const SelectionIcons icons = View().Icons();
  BuildRegistrySelectionTree(registrySelection_);
  BuildDriveSelectionTree(driveSelection_, icons.drives);
  BuildSystemFileSelectionTree(systemFileSelection_, {}, icons.systemFiles);
  state_.excludeList.clear();
  View().SelectionBuilt();
  ApplyDefaultSelection(Selection());
}

void Session::ExpandSelectionTops() {
  for (TreeModel* tree : {&registrySelection_, &driveSelection_, &systemFileSelection_})
    if (TreeNode* top = tree->FirstTop()) tree->Expand(top);
}

void Session::RefreshSelection(UserInteraction& ui) {
  View().RefreshingSelection([&] {
    const std::pair<void (*)(TreeModel&), TreeModel*> trees[] = {
        {RefreshRegistrySelectionTree, &registrySelection_},
        {RefreshDriveSelectionTree, &driveSelection_},
        {RefreshSystemFileSelectionTree, &systemFileSelection_}};
    for (const auto& [refresh, tree] : trees) {
      try {
        refresh(*tree);
      } catch (const std::exception& e) {
        ui.Tell(MsgType::Error, e.what());
      }
    }
  });
}

TreeNode* Session::AddUserFile(const std::string& path, bool iniFile, int image) {
  TreeNode* node = AddUserDefinedFile(systemFileSelection_, path, iniFile, image);
  state_.selectionChanged = true;
  return node;
}

void Session::DeleteUserFile(TreeNode* node) {
  DeleteUserDefinedFile(systemFileSelection_, node);
  state_.selectionChanged = true;
}

void Session::ShowNoLog() {
  for (TreeModel* tree : {&registryResult_, &driveResult_, &systemFileResult_}) {
    tree->Clear();
    tree->Add(nullptr, "<No log file loaded>");
  }
  View().ResultsReplacing();
}

void Session::ForgetLog() {
  state_.currentLogFile.clear();
  ShowNoLog();
}

void Session::ExpandResultTops() {
  for (TreeModel* tree : {&registryResult_, &driveResult_, &systemFileResult_})
    if (TreeNode* top = tree->FirstTop()) tree->Expand(top);
}

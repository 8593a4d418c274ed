#include "restore/InstallExport.h"

#include "core/Errors.h"
#include "platform/PathText.h"
#include "restore/InfFileExport.h"
#include "restore/InstallFileCopy.h"
#include "restore/RegFileExport.h"

namespace {

constexpr const char* kRegCreated = "*.REG-File created, (";
constexpr const char* kInfCreated = "*.INF-file created, (";

class InstallExport {
 public:
  InstallExport(const ResultTrees& trees, const std::string& logFileName, const LogPositions& positions,
                const InstallExportRequest& request, UserInteraction& ui)
      : trees_(trees), logFileName_(logFileName), positions_(positions), request_(request), ui_(ui) {}

  void Registry(TreeNode* start) {
    const InstallExportSource source = Source(trees_.registry, start);
    SaveInstallFile(request_.baseName + ".REG", BuildRegFile(source, ui_, refused_), kRegCreated, ui_);
    SaveInstallFile(request_.baseName + "_del.INF", BuildDeleteInf(source, ui_, refused_), kInfCreated, ui_);
  }

  void SystemFiles(TreeNode* start) {
    SaveInstallFile(request_.baseName + "_add.INF", BuildIniInf(Source(trees_.systemFiles, start), ui_, refused_),
                    kInfCreated, ui_);
  }

  void Files(TreeNode* start) {
    // An empty folder would make the copy land in the current drive's root.
    if (request_.copyFolder.empty()) throw Exception("Cannot create folder.");
    CopyInstallFiles(Source(trees_.drives, start), WithTrailingBackslash(request_.copyFolder), ui_, refused_);
  }

  void ReportRefused() const { refused_.Report(ui_); }

 private:
  InstallExportSource Source(TreeModel& tree, TreeNode* start) const {
    return {tree, start, request_.kinds, logFileName_, positions_};
  }

  const ResultTrees& trees_;
  const std::string& logFileName_;
  const LogPositions& positions_;
  const InstallExportRequest& request_;
  UserInteraction& ui_;
  RefusedItems refused_;
};

}  // namespace

std::string DefaultInstallName(const std::string& logFileName, bool replaceTildes) {
  std::string name = logFileName;
  const size_t dot = name.find_last_of('.');
  const size_t slash = name.find_last_of("\\/:");
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) name.erase(dot);
  if (replaceTildes)
    for (char& c : name)
      if (c == '~') c = '_';
  return name;
}

std::optional<std::string> ChooseCopyFolder(const std::string& defaultFolder, UserInteraction& ui,
                                            const std::function<bool(std::string&)>& browse) {
  switch (ui.Ask(MsgType::Confirmation, "Use default folder? :\r" + defaultFolder, MsgButtons::YesNoCancel)) {
    case MsgAnswer::Yes:
      return defaultFolder;
    case MsgAnswer::No: {
      std::string folder;
      if (browse && browse(folder)) return folder;
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

bool ExportInstallFiles(const ResultTrees& trees, const std::string& logFileName, const LogPositions& positions,
                        const InstallExportRequest& request, UserInteraction& ui) {
  InstallExport exporter(trees, logFileName, positions, request, ui);
  try {
    switch (request.command) {
      case InstallExportCommand::Registry:
        if (!request.start) return true;
        exporter.Registry(request.start);
        break;
      case InstallExportCommand::SystemFiles:
        if (!request.start) return true;
        exporter.SystemFiles(request.start);
        break;
      case InstallExportCommand::Drives:
        if (!request.start) return true;
        exporter.Files(request.start);
        break;
      case InstallExportCommand::All:
        exporter.Registry(trees.registry.FirstTop());
        exporter.SystemFiles(trees.systemFiles.FirstTop());
        exporter.Files(trees.drives.FirstTop());
        break;
    }
  } catch (const EAbort&) {
    return false;
  }
  exporter.ReportRefused();
  if (request.command == InstallExportCommand::Drives) ui.Tell(MsgType::Information, "All files copied.");
  if (request.command == InstallExportCommand::All) ui.Tell(MsgType::Information, "Export completed successfully!");
  return true;
}

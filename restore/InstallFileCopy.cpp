#include "restore/InstallFileCopy.h"

#include <windows.h>

#include <cstring>

#include "core/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Handle.h"
#include "restore/ShellFileOperations.h"

namespace {

constexpr const char* kEmptyFolderMark = "create.dir";

std::string FullPath(const std::string& path) {
  std::string full(MAX_PATH, '\0');
  DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length >= full.size()) {
    full.resize(length);
    length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  }
  full.resize(length < full.size() ? length : 0);
  return full;
}

// What the platform makes of target still lies below base: the last guard against a name the
// checks above did not foresee.
bool StaysBelow(const std::string& base, const std::string& target) {
  const std::string fullBase = FullPath(base);
  const std::string fullTarget = FullPath(target);
  return !fullBase.empty() && fullBase.back() == '\\' && fullTarget.size() > fullBase.size() &&
         CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, fullBase.data(), static_cast<int>(fullBase.size()),
                        fullTarget.data(), static_cast<int>(fullBase.size())) == CSTR_EQUAL;
}

void CreateFolderPath(const std::string& folder) {
  if (folder.empty() || !CreateFolderWithParents(folder)) throw Exception("Cannot create folder.");
}

void WriteEmptyFolderMark(const std::string& folder) {
  const std::string path = folder + kEmptyFolderMark;
  {
    // Hidden from the start: replacing a hidden file with a plain one is refused.
    const UniqueFile file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr));
    if (!file) throw Exception(ErrorKind::EFCreateError, "Cannot create file " + path + ": " + LastErrorText());
  }
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(path.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
}

class FileCopier {
 public:
  FileCopier(const std::string& base, UserInteraction& ui, RefusedItems& refused)
      : base_(base), ui_(ui), refused_(refused) {}

  void Node(const ExportNode& node) {
    if (node.kind != kKindNew && node.kind != kKindChanged) return;
    folderPath_ = node.path;
    copies_ = 0;
    target_ = CopyTargetFolder(base_, node.path);
    if (!target_) {
      refused_.Add(node.path);
      return;
    }
    CreateFolderPath(*target_);
  }

  void Record(const ExportRecord& record) {
    if (record.kind != kRecordNew && record.kind != kRecordNewSide) return;
    const std::string source = record.nodePath + record.name;
    const std::optional<std::string> folder = CopyTargetFolder(base_, record.nodePath);
    if (!folder || !IsPlainFileName(record.name) || !StaysBelow(base_, *folder + record.name)) {
      refused_.Add(source);
      return;
    }
    if (!FileExists(source)) {
      if (ui_.Ask(MsgType::Warning, "File not found:\r" + source, MsgButtons::OkCancel) == MsgAnswer::Cancel)
        throw EAbort();
      return;
    }
    // A record whose folder line was not chosen still goes to its own folder.
    if (record.nodePath != folderPath_) CreateFolderPath(*folder);
    if (!ShellCopy(source, *folder + record.name)) throw Exception("File copy error!");
    if (record.nodePath == folderPath_) ++copies_;
  }

  void NodeEnd(const ExportNode& node) {
    if (node.kind != kKindNew && node.kind != kKindChanged) return;
    if (target_ && node.path == folderPath_ && copies_ == 0) WriteEmptyFolderMark(*target_);
  }

 private:
  const std::string& base_;
  UserInteraction& ui_;
  RefusedItems& refused_;
  std::string folderPath_;  // of the last new or changed folder met
  std::optional<std::string> target_;
  int copies_ = 0;
};

}  // namespace

std::optional<std::string> CopyTargetFolder(const std::string& base, const std::string& folderPath) {
  // "C:\" and the folders below, each followed by "\".
  if (folderPath.size() < 3 || folderPath[1] != ':' || folderPath[2] != '\\') return std::nullopt;
  const char drive = folderPath[0];
  if (!((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z'))) return std::nullopt;
  for (size_t start = 3; start < folderPath.size();) {
    size_t end = folderPath.find('\\', start);
    if (end == std::string::npos) return std::nullopt;
    if (!IsPlainFileName(folderPath.substr(start, end - start))) return std::nullopt;
    start = end + 1;
  }
  std::string target = base + drive + folderPath.substr(2);
  if (!StaysBelow(base, target)) return std::nullopt;
  return target;
}

void CopyInstallFiles(const InstallExportSource& source, const std::string& targetFolder, UserInteraction& ui,
                      RefusedItems& refused) {
  FileCopier copier(targetFolder, ui, refused);
  ExportCallbacks callbacks;
  callbacks.node = [&](const ExportNode& node) { copier.Node(node); };
  callbacks.record = [&](const ExportRecord& record) { copier.Record(record); };
  callbacks.nodeEnd = [&](const ExportNode& node) { copier.NodeEnd(node); };
  ExportTreeWalk(source.tree, source.start, {source.kinds, LogSection::Drives}, source.logFileName, source.positions,
                 ui, callbacks);
}

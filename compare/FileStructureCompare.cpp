#include "compare/FileStructureCompare.h"

#include <algorithm>

#include "compare/LogFile.h"
#include "compare/RecordCopier.h"
#include "compare/SectionMerge.h"
#include "compare/UpperCase.h"
#include "core/CheckStates.h"
#include "core/Errors.h"
#include "datafiles/ConfigurationFile.h"

namespace {

constexpr ReadNextStrVariant kVariant = ReadNextStrVariant::FileStructure;

struct FileRecord {
  int32_t time;
  int32_t size;
  int32_t attributes;
};

FileRecord ReadFileRecord(CompareSide& side) {
  TReader& reader = side.Reader();
  reader.ReadInteger();  // record kind
  FileRecord file;
  file.time = reader.ReadInteger();
  file.size = reader.ReadInteger();
  file.attributes = reader.ReadInteger();
  return file;
}

void WriteFileRecord(TWriter& out, const std::string& name, int32_t kind, const FileRecord& file) {
  out.WriteString(name);
  out.WriteInteger(kind);
  out.WriteInteger(file.time);
  out.WriteInteger(file.size);
  out.WriteInteger(file.attributes);
}

// Drives are matched by their letter only, so a changed volume name is the same drive.
unsigned char DriveLetter(const std::string& name) { return name.empty() ? 0 : static_cast<unsigned char>(name[0]); }

}  // namespace

FileStructureCompare::FileStructureCompare(CompareRun& run, TreeModel& resultTree, const TreeModel& selectionTree,
                                           const std::vector<std::string>& excludeList)
    : run_(run), tree_(resultTree), block_(kDriveChangeHeader), path_(resultTree, selectionTree) {
  excluded_.reserve(excludeList.size());
  for (const std::string& entry : excludeList) excluded_.push_back(UpperCaseLocale(entry));
}

void FileStructureCompare::Run(TWriter& log, SectionPositions& positions) {
  run_.ProgressMax(0);
  run_.Status(" Comparing file structure");
  const std::string oldHeader = run_.oldSide.Reader().ReadString();
  const std::string newHeader = run_.newSide.Reader().ReadString();
  if (oldHeader != kDrivesHeader)
    throw Exception(FormatText("Error: %s\rNot a file-structure file: OldFile", run_.oldFile));
  if (newHeader != kDrivesHeader)
    throw Exception(FormatText("Error: %s\rNot a file-structure file: NewFile", run_.newFile));

  tree_.Clear();
  AddResultNode(tree_, nullptr, "Drives", kImageComputer, kKindPath, kImageComputer);
  path_.Push("Drives");
  CompareDrives();
  run_.Status(" Status");
  run_.ProgressPosition(0);
  run_.oldSide.Reader().ReadListEnd();
  run_.newSide.Reader().ReadListEnd();

  block_.WriteSection(log, tree_, positions);
}

void FileStructureCompare::ReadDriveName(CompareSide& side, std::string& name, bool& atEnd) {
  atEnd = side.Reader().EndOfList();
  if (atEnd)
    name = " ";
  else
    side.Reader().ReadString(name);
}

void FileStructureCompare::CompareDrives() {
  MergeTopEntries(
      run_, [this](CompareSide& side, std::string& name, bool& atEnd) { ReadDriveName(side, name, atEnd); },
      DriveLetter,
      [this](const std::string& name) {
        // The node shows the new name and the new icon.
        path_.Push(name);
        TreeNode* node = path_.FindOrCreate(kImageClosedFolder, kKindPath, kImageOpenFolder);
        const int image = run_.newSide.Reader().ReadInteger();
        run_.oldSide.Reader().ReadInteger();
        tree_.SetImages(node, image, image);
        CompareFolder(true);
        path_.Pop();
      },
      [this](bool isNew, CompareSide& side, const std::string& name) {
        // A drive on one side only is a leaf: its folders are not stored in the log.
        path_.Push(name);
        TreeNode* node = path_.FindOrCreate(kImageClosedFolder, isNew ? kKindNew : kKindDeleted, kImageOpenFolder);
        const int image = side.Reader().ReadInteger();
        tree_.SetImages(node, image, image);
        path_.Pop();
        RecordCopier(side, nullptr).FolderRecord();
      });
}

void FileStructureCompare::CompareFolder(bool lookup) {
  NestingLevel level(run_);
  const bool driveLevel = run_.Depth() == 1;
  CompareSide& oldSide = run_.oldSide;
  CompareSide& newSide = run_.newSide;

  // Subfolders first, then files, in the same two lists.
  MergeLists& lists = run_.LevelLists();
  NameList& oldFolders = lists.oldList;
  NameList& newFolders = lists.newList;
  oldFolders.Start(oldSide.ReadCount());
  newFolders.Start(newSide.ReadCount());
  if (driveLevel) run_.ProgressMax(newFolders.count);
  status_.assign(" Comparing file structure: ").append(path_.Name(1));
  run_.Status(status_);
  run_.Advance(oldSide, oldFolders, kVariant);
  run_.Advance(newSide, newFolders, kVariant);
  MergeNames(
      oldFolders, newFolders,
      [&](MergeStep step, const std::string& name) {
        // Nodes of new and deleted folders carry the plain folder image.
        SubtreeStep{run_, tree_, block_, path_, kVariant, &RecordCopier::FolderRecord, kImageClosedFolder}(
            step, name, oldFolders, newFolders, lookup, [this](bool lookupBelow) { CompareFolder(lookupBelow); });
      },
      [&] {
        if (driveLevel) run_.ProgressPosition((oldFolders.index + newFolders.index) / 2);
      });
  block_.MovePending();

  NameList& oldFiles = lists.oldList;
  NameList& newFiles = lists.newList;
  run_.StartList(oldSide, oldFiles, kVariant);
  run_.StartList(newSide, newFiles, kVariant);
  int counter = 0;
  MergeNames(
      oldFiles, newFiles,
      [&](MergeStep step, const std::string& name) { FileStep(step, name, oldFiles, newFiles, counter); }, [] {});
  block_.MoveCounted(counter);
  if (driveLevel) {
    run_.ProgressPosition(0);
    run_.Status(" Status ");
  }
}

TreeNode& FileStructureCompare::ChangedFolderNode() {
  TreeNode& node = *path_.FindOrCreate(kImageClosedFolder, kKindPath, kImageOpenFolder);
  if (node.StateIndex() != kKindChanged) tree_.SetState(&node, kKindChanged);
  if (node.Data() == 0) tree_.SetData(&node, block_.RecordOffset());
  return node;
}

void FileStructureCompare::FileStep(MergeStep step, const std::string& name, NameList& oldFiles, NameList& newFiles,
                                    int& counter) {
  CompareSide& oldSide = run_.oldSide;
  CompareSide& newSide = run_.newSide;
  TWriter& pending = block_.Pending();
  switch (step) {
    case MergeStep::Same: {
      const FileRecord oldFile = ReadFileRecord(oldSide);
      const FileRecord newFile = ReadFileRecord(newSide);
      const bool changed =
          oldFile.time != newFile.time || oldFile.size != newFile.size || oldFile.attributes != newFile.attributes;
      if (changed && !IsExcludedFile(name)) {
        ChangedFolderNode();
        WriteFileRecord(pending, name, kRecordOldSide, oldFile);
        WriteFileRecord(pending, name, kRecordNewSide, newFile);
        counter += 2;
      }
      run_.Advance(oldSide, oldFiles, kVariant);
      run_.Advance(newSide, newFiles, kVariant);
      break;
    }
    case MergeStep::New:
    case MergeStep::Deleted: {
      const bool isNew = step == MergeStep::New;
      CompareSide& side = isNew ? newSide : oldSide;
      if (IsExcludedFile(name)) {
        RecordCopier(side, nullptr).FileRecord();
      } else {
        ChangedFolderNode();
        pending.WriteString(name);
        RecordCopier(side, &pending, isNew ? kRecordNew : kRecordDeleted).FileRecord();
        ++counter;
      }
      run_.Advance(side, isNew ? newFiles : oldFiles, kVariant);
      break;
    }
  }
}

bool FileStructureCompare::IsExcludedFile(const std::string& name) const {
  if (excluded_.empty() || path_.Size() < 2) return false;
  const std::string& drive = path_.Name(1);
  // Upper case keeps the length: a path that no entry matches in length is not built at all,
  // which spares nearly every new, deleted and changed file its conversion.
  size_t length = (drive.empty() ? 0 : 1) + 2 + name.size();
  for (size_t level = 2; level < path_.Size(); ++level) length += path_.Name(level).size() + 1;
  if (std::none_of(excluded_.begin(), excluded_.end(),
                   [length](const std::string& entry) { return entry.size() == length; }))
    return false;
  std::string path = drive.empty() ? std::string() : drive.substr(0, 1);
  path += ":\\";
  for (size_t level = 2; level < path_.Size(); ++level) path += path_.Name(level) + "\\";
  path += name;
  const std::string upper = UpperCaseLocale(path);
  for (const std::string& entry : excluded_)
    if (entry == upper) return true;
  return false;
}

#include "compare/SystemFilesCompare.h"

#include "compare/LogFile.h"
#include "compare/RecordCopier.h"
#include "compare/SectionMerge.h"
#include "compare/UpperCase.h"
#include "core/CheckStates.h"
#include "core/Errors.h"
#include "core/TextCompare.h"
#include "datafiles/ConfigurationFile.h"
#include "datafiles/SystemFileText.h"

namespace {

constexpr ReadNextStrVariant kVariant = ReadNextStrVariant::SystemFiles;
constexpr int kImageTop = 0;

}  // namespace

SystemFilesCompare::SystemFilesCompare(CompareRun& run, TreeModel& resultTree, const TreeModel& selectionTree,
                                       SystemFileImages images)
    : run_(run),
      tree_(resultTree),
      images_(images),
      block_(kSystemFileChangeHeader),
      path_(resultTree, selectionTree) {}

int SystemFilesCompare::FileImage(int type) const { return IsIniType(type) ? images_.iniFile : images_.textFile; }

void SystemFilesCompare::Run(TWriter& log, SectionPositions& positions) {
  run_.ProgressMax(100);
  run_.Status(" Compare system files:");
  const std::string oldHeader = run_.oldSide.Reader().ReadString();
  if (oldHeader != kSystemFilesHeader)
    throw Exception(FormatText("ERROR: %s\rThis is not a systemfile: OldFile", run_.oldFile));
  const std::string newHeader = run_.newSide.Reader().ReadString();
  if (newHeader != kSystemFilesHeader)
    throw Exception(FormatText("ERROR: %s\rThis is not a systemfile: NewFile", run_.newFile));

  tree_.Clear();
  AddResultNode(tree_, nullptr, "System Files", kImageTop, kKindPath, kImageTop);
  path_.Push("System Files");
  CompareFiles();
  run_.Status(" Status");
  run_.ProgressPosition(0);

  block_.WriteSection(log, tree_, positions);
}

void SystemFilesCompare::ReadEntryName(CompareSide& side, std::string& name, bool& atEnd) {
  atEnd = side.Reader().EndOfList();
  name = atEnd ? " " : UpperCaseLocale(side.Reader().ReadString());
}

void SystemFilesCompare::CompareFiles() {
  // The files are matched by their upper-case entries compared byte by byte. The list's end is
  // left unread: nothing follows it.
  MergeTopEntries(
      run_, [this](CompareSide& side, std::string& name, bool& atEnd) { ReadEntryName(side, name, atEnd); },
      [](const std::string& name) -> const std::string& { return name; },
      [this](const std::string& name) {
        run_.Status(" Compare system files :" + name);
        run_.ProgressPosition(0);
        path_.Push(name);
        const int type = SystemFileTypeOfText(name);
        path_.FindOrCreate(FileImage(type), kKindPath, FileImage(type));
        CompareSystemFile(type, IsIniType(type));
        path_.Pop();
      },
      [this](bool isNew, CompareSide& side, const std::string& name) {
        // A file on one side only is a leaf: its contents are not stored in the log.
        const int type = SystemFileTypeOfText(name);
        path_.Push(name);
        path_.FindOrCreate(FileImage(type), isNew ? kKindNew : kKindDeleted, FileImage(type));
        path_.Pop();
        if (IsIniType(type))
          RecordCopier(side, nullptr).SectionList();
        else
          RecordCopier(side, nullptr).EntryList(false);
      });
}

void SystemFilesCompare::CompareSystemFile(int type, bool sections) {
  NestingLevel level(run_);
  CompareSide& oldSide = run_.oldSide;
  CompareSide& newSide = run_.newSide;
  MergeLists& lists = run_.LevelLists();
  if (sections && IsIniType(type)) {
    NameList& oldSections = lists.oldList;
    NameList& newSections = lists.newList;
    run_.StartList(oldSide, oldSections, kVariant);
    run_.StartList(newSide, newSections, kVariant);
    MergeNames(
        oldSections, newSections,
        [&](MergeStep step, const std::string& name) { SectionStep(step, name, oldSections, newSections, type); },
        [] {});
  }
  block_.MovePending();
  if (sections) return;

  NameList& oldEntries = lists.oldList;
  NameList& newEntries = lists.newList;
  run_.StartList(oldSide, oldEntries, kVariant);
  run_.StartList(newSide, newEntries, kVariant);
  int counter = 0;
  previousOldEntry_.clear();
  MergeNames(
      oldEntries, newEntries,
      [&](MergeStep step, const std::string& name) { EntryStep(step, name, oldEntries, newEntries, type, counter); },
      [] {});
  block_.MoveCounted(counter);
}

void SystemFilesCompare::SectionStep(MergeStep step, const std::string& name, NameList& oldSections,
                                     NameList& newSections, int type) {
  CompareSide& oldSide = run_.oldSide;
  CompareSide& newSide = run_.newSide;
  // Sections are in the selection tree only when the user expanded the file; an unchecked one
  // is left out.
  if (path_.Lookup(name) == kStateUnchecked) {
    if (step != MergeStep::New) {
      RecordCopier(oldSide, nullptr).EntryList(true);
      run_.Advance(oldSide, oldSections, kVariant);
    }
    if (step != MergeStep::Deleted) {
      RecordCopier(newSide, nullptr).EntryList(true);
      run_.Advance(newSide, newSections, kVariant);
    }
    return;
  }
  switch (step) {
    case MergeStep::Same:
      path_.Push(name);
      CompareSystemFile(type, false);
      path_.Pop();
      run_.Advance(oldSide, oldSections, kVariant);
      run_.Advance(newSide, newSections, kVariant);
      break;
    case MergeStep::New:
    case MergeStep::Deleted: {
      const bool isNew = step == MergeStep::New;
      CompareSide& side = isNew ? newSide : oldSide;
      TreeNode* parent = path_.FindOrCreate(FileImage(type), kKindPath, FileImage(type));
      // The entries show in the entry list, so the node has no children of its own.
      TreeNode* node =
          AddResultNode(tree_, parent, name, images_.textFile, isNew ? kKindNew : kKindDeleted, images_.textFile);
      tree_.SetData(node, block_.RecordOffset());
      RecordCopier(side, &block_.Pending(), isNew ? kRecordNew : kRecordDeleted).EntryList(true);
      run_.Advance(side, isNew ? newSections : oldSections, kVariant);
      break;
    }
  }
}

TreeNode& SystemFilesCompare::ChangedNode(int type) {
  TreeNode& node = *path_.FindOrCreate(FileImage(type), kKindPath, FileImage(type));
  if (node.StateIndex() != kKindChanged) tree_.SetState(&node, kKindChanged);
  if (node.Data() == 0) tree_.SetData(&node, block_.RecordOffset());
  return node;
}

void SystemFilesCompare::EntryStep(MergeStep step, const std::string& name, NameList& oldEntries, NameList& newEntries,
                                   int type, int& counter) {
  CompareSide& oldSide = run_.oldSide;
  CompareSide& newSide = run_.newSide;
  TWriter& pending = block_.Pending();
  const bool ini = IsIniType(type);
  switch (step) {
    case MergeStep::Same:
      if (!ini) {
        // A line found on both sides is unchanged wherever it stands.
        RecordCopier(oldSide, nullptr).EntryRecord(false);
        RecordCopier(newSide, nullptr).EntryRecord(false);
      } else {
        oldSide.Reader().ReadInteger();  // record kind
        oldSide.Reader().ReadString(oldValue_);
        newSide.Reader().ReadInteger();
        newSide.Reader().ReadString(newValue_);
        if (CompareTextLocale(oldValue_, newValue_) != 0) {
          TreeNode& node = ChangedNode(type);
          if (!previousOldEntry_.empty() && oldEntries.name == previousOldEntry_) {
            // Paths of system-file nodes start at the file: WIN.INI\[windows].
            std::string nodePath = node.Path();
            nodePath.erase(0, nodePath.find('\\') + 1);
            run_.ui.Tell(MsgType::Warning, "Value found that is not INI-compatible:" + nodePath + "\\" + name +
                                               "\rCannot export these values to install files.");
            previousOldEntry_.clear();
          }
          pending.WriteString(name);
          pending.WriteInteger(kRecordOldSide);
          pending.WriteString(oldValue_);
          pending.WriteString(name);
          pending.WriteInteger(kRecordNewSide);
          pending.WriteString(newValue_);
          counter += 2;
        }
        previousOldEntry_ = oldEntries.name;
      }
      run_.Advance(oldSide, oldEntries, kVariant);
      run_.Advance(newSide, newEntries, kVariant);
      break;
    case MergeStep::New:
    case MergeStep::Deleted: {
      const bool isNew = step == MergeStep::New;
      CompareSide& side = isNew ? newSide : oldSide;
      ChangedNode(type);
      ++counter;
      pending.WriteString(name);
      RecordCopier(side, &pending, isNew ? kRecordNew : kRecordDeleted).EntryRecord(ini);
      run_.Advance(side, isNew ? newEntries : oldEntries, kVariant);
      break;
    }
  }
}

#include "compare/RegistryCompare.h"

#include "compare/LogFile.h"
#include "compare/SectionMerge.h"
#include "compare/UpperCase.h"
#include "core/CheckStates.h"

namespace {

constexpr ReadNextStrVariant kVariant = ReadNextStrVariant::Registry;

}  // namespace

RegistryCompare::RegistryCompare(CompareRun& run, TreeModel& resultTree, const TreeModel& selectionTree,
                                 ChangeBlock& block)
    : run_(run), tree_(resultTree), block_(block), path_(resultTree, selectionTree) {}

void RegistryCompare::ReadRootName(CompareSide& side, std::string& name, bool& atEnd) {
  atEnd = side.Reader().EndOfList();
  name = atEnd ? " " : UpperCaseLocale(side.Reader().ReadString());
}

void RegistryCompare::Run() {
  tree_.Clear();
  AddResultNode(tree_, nullptr, "My Computer", kImageComputer, kKindPath, kImageComputer);
  path_.Push("My Computer");

  // Root entries are matched by their upper-case names compared byte by byte.
  MergeTopEntries(
      run_, [this](CompareSide& side, std::string& name, bool& atEnd) { ReadRootName(side, name, atEnd); },
      [](const std::string& name) -> const std::string& { return name; },
      [this](const std::string& name) {
        run_.Status(" Comparing registry: " + name);
        run_.ProgressPosition(0);
        path_.Push(name);
        path_.FindOrCreate(kImageClosedFolder, kKindPath, kImageOpenFolder);
        CompareKey(true);
        path_.Pop();
      },
      [this](bool isNew, CompareSide& side, const std::string& name) {
        // A root on one side only is a leaf: its keys are not stored in the log.
        path_.Push(name);
        path_.FindOrCreate(kImageClosedFolder, isNew ? kKindNew : kKindDeleted, kImageOpenFolder);
        path_.Pop();
        RecordCopier(side, nullptr).KeyRecord();
      });
  CompareSide& oldSide = run_.oldSide;
  CompareSide& newSide = run_.newSide;
  oldSide.Reader().ReadListEnd();
  newSide.Reader().ReadListEnd();
}

void RegistryCompare::CompareKey(bool lookup) {
  NestingLevel level(run_);
  const bool rootLevel = run_.Depth() == 1;
  CompareSide& oldSide = run_.oldSide;
  CompareSide& newSide = run_.newSide;

  // Subkeys first, then values, in the same two lists.
  MergeLists& lists = run_.LevelLists();
  NameList& oldKeys = lists.oldList;
  NameList& newKeys = lists.newList;
  oldKeys.Start(oldSide.ReadCount());
  newKeys.Start(newSide.ReadCount());
  if (rootLevel) run_.ProgressMax(newKeys.count);
  run_.Advance(oldSide, oldKeys, kVariant);
  run_.Advance(newSide, newKeys, kVariant);
  MergeNames(
      oldKeys, newKeys,
      [&](MergeStep step, const std::string& name) {
        SubtreeStep{run_, tree_, block_, path_, kVariant, &RecordCopier::KeyRecord, kImageOpenFolder}(
            step, name, oldKeys, newKeys, lookup, [this](bool lookupBelow) { CompareKey(lookupBelow); });
      },
      [&] {
        if (rootLevel) run_.ProgressPosition(oldKeys.index);
      });
  block_.MovePending();

  NameList& oldValues = lists.oldList;
  NameList& newValues = lists.newList;
  run_.StartList(oldSide, oldValues, kVariant);
  run_.StartList(newSide, newValues, kVariant);
  int counter = 0;
  MergeNames(
      oldValues, newValues,
      [&](MergeStep step, const std::string& name) { ValueStep(step, name, oldValues, newValues, counter); }, [] {});
  block_.MoveCounted(counter);
}

TreeNode& RegistryCompare::ChangedKeyNode() {
  TreeNode& node = *path_.FindOrCreate(kImageClosedFolder, kKindPath, kImageOpenFolder);
  if (node.SelectedIndex() != kImageOpenFolder) tree_.SetImages(&node, node.ImageIndex(), kImageOpenFolder);
  if (node.StateIndex() != kKindChanged) tree_.SetState(&node, kKindChanged);
  if (node.Data() == 0) tree_.SetData(&node, block_.RecordOffset());
  return node;
}

void RegistryCompare::ValueStep(MergeStep step, const std::string& name, NameList& oldValues, NameList& newValues,
                                int& counter) {
  CompareSide& oldSide = run_.oldSide;
  CompareSide& newSide = run_.newSide;
  TWriter& pending = block_.Pending();
  switch (step) {
    case MergeStep::Same:
      oldSide.Reader().ReadInteger();  // record kind
      ReadRegistryValue(oldSide, oldValue_);
      newSide.Reader().ReadInteger();
      ReadRegistryValue(newSide, newValue_);
      if (!SameRegistryValue(oldValue_, newValue_)) {
        ChangedKeyNode();
        pending.WriteString(name);
        pending.WriteInteger(kRecordOldSide);
        WriteRegistryValue(pending, oldValue_);
        pending.WriteString(name);
        pending.WriteInteger(kRecordNewSide);
        WriteRegistryValue(pending, newValue_);
        counter += 2;
      }
      run_.Advance(oldSide, oldValues, kVariant);
      run_.Advance(newSide, newValues, kVariant);
      break;
    case MergeStep::New:
    case MergeStep::Deleted: {
      const bool isNew = step == MergeStep::New;
      CompareSide& side = isNew ? newSide : oldSide;
      ChangedKeyNode();
      pending.WriteString(name);
      RecordCopier(side, &pending, isNew ? kRecordNew : kRecordDeleted).ValueRecord();
      ++counter;
      run_.Advance(side, isNew ? newValues : oldValues, kVariant);
      break;
    }
  }
}

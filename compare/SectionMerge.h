#pragma once
// The parts of a section compare that the registry, drives and system-files sections share:
// the walk over their top entries, and the step for a subkey or subfolder of a merge.

#include <cstdint>
#include <string>

#include "compare/ChangeBlock.h"
#include "compare/CompareRun.h"
#include "compare/LogFile.h"
#include "compare/RecordCopier.h"
#include "compare/ResultPath.h"
#include "core/CheckStates.h"
#include "core/StripImages.h"
#include "core/TreeModel.h"

// The top entries of a section (root keys, drives, system files) follow the selection tree's
// order, not the locale's: they are matched by a key of their names, compared with == and <.
// readName(side, name, atEnd) reads the next entry's name; same(newName) compares an entry
// present on both sides, oneSided(isNew, side, name) reads past one present on one side only.
// Both readers stand before the list; the list's end is left to the caller.
template <class ReadName, class KeyOf, class Same, class OneSided>
void MergeTopEntries(CompareRun& run, ReadName readName, KeyOf keyOf, Same same, OneSided oneSided) {
  CompareSide& oldSide = run.oldSide;
  CompareSide& newSide = run.newSide;
  oldSide.Reader().ReadListBegin();
  newSide.Reader().ReadListBegin();
  std::string oldName, newName;
  bool oldEnd, newEnd;
  readName(oldSide, oldName, oldEnd);
  readName(newSide, newName, newEnd);
  while (!oldEnd || !newEnd) {
    if (!oldEnd && !newEnd && keyOf(oldName) == keyOf(newName)) {
      same(newName);
      readName(oldSide, oldName, oldEnd);
      readName(newSide, newName, newEnd);
    } else {
      const bool isNew = oldEnd || (!newEnd && keyOf(newName) < keyOf(oldName));
      if (isNew) {
        oneSided(true, newSide, newName);
        readName(newSide, newName, newEnd);
      } else {
        oneSided(false, oldSide, oldName);
        readName(oldSide, oldName, oldEnd);
      }
    }
  }
}

// A subkey of a key or a subfolder of a folder in their merge: one the selection leaves
// unchecked is read past on both sides unreported; one on both sides is compared below it
// (compareBelow(lookup), with the path extended by its name); a new or deleted one becomes a
// result node that points at its record, whose whole subtree is copied raw into the change
// block.
struct SubtreeStep {
  CompareRun& run;
  TreeModel& tree;
  ChangeBlock& block;
  ResultPath& path;
  ReadNextStrVariant variant;
  int32_t (RecordCopier::*copyRecord)();  // KeyRecord or FolderRecord: returns the sublist count
  int oneSidedSelectedImage;

  template <class CompareBelow>
  void operator()(MergeStep step, const std::string& name, NameList& oldList, NameList& newList, bool lookup,
                  CompareBelow compareBelow) {
    CompareSide& oldSide = run.oldSide;
    CompareSide& newSide = run.newSide;
    const int state = lookup ? path.Lookup(name) : kStateChecked;
    if (state == kStateUnchecked) {
      if (step != MergeStep::New) {
        (RecordCopier(oldSide, nullptr).*copyRecord)();
        run.Advance(oldSide, oldList, variant);
      }
      if (step != MergeStep::Deleted) {
        (RecordCopier(newSide, nullptr).*copyRecord)();
        run.Advance(newSide, newList, variant);
      }
      return;
    }
    if (step == MergeStep::Same) {
      path.Push(name);
      compareBelow(state == kStatePartlyChecked);
      path.Pop();
      run.Advance(oldSide, oldList, variant);
      run.Advance(newSide, newList, variant);
      return;
    }
    const bool isNew = step == MergeStep::New;
    CompareSide& side = isNew ? newSide : oldSide;
    TreeNode* parent = path.FindOrCreate(kImageClosedFolder, kKindPath, kImageOpenFolder);
    TreeNode* node =
        AddResultNode(tree, parent, name, kImageClosedFolder, isNew ? kKindNew : kKindDeleted, oneSidedSelectedImage);
    tree.SetData(node, block.RecordOffset());
    const int32_t sublists = (RecordCopier(side, &block.Pending(), isNew ? kRecordNew : kRecordDeleted).*copyRecord)();
    tree.SetHasChildren(node, sublists > 0);
    run.Advance(side, isNew ? newList : oldList, variant);
  }
};

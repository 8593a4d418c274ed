#pragma once
// The state one compare shares between its three sections: the two configuration files with
// their readers, the nesting depth, the user's status display and the counted name lists.

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "core/TextCompare.h"
#include "core/UserInteraction.h"
#include "datafiles/ReadNextStr.h"
#include "datafiles/Stream.h"
#include "datafiles/TReader.h"

// One configuration data file, read front to back once.
class CompareSide {
 public:
  // Read only; other processes may go on reading and writing the file.
  explicit CompareSide(const std::string& fileName);
  CompareSide(const CompareSide&) = delete;
  CompareSide& operator=(const CompareSide&) = delete;

  TReader& Reader() { return reader_; }

  // Storage of the record copier (RecordCopier.h), kept from one new or deleted subtree to the
  // next, so that copying a record allocates only while its texts and its nesting grow.
  std::string copyText;
  std::vector<int32_t> copyLevels;
  // Raises the reader's errors unless count more bytes can be read: a damaged length must end
  // in a read error, never in a huge allocation.
  void RequireBytes(int64_t count);
  // A count of subkeys, values, folders, files, sections, entries or lines. A negative one is
  // malformed: copied into a log it would make the node unreadable there.
  int32_t ReadCount();
  bool AtEndOfStream();
  // Whether this file's data ran out or was malformed where the compare read it.
  bool Failed() const { return failed_ || reader_.Failed(); }
  void MarkFailed() { failed_ = true; }

 private:
  // The size at opening, so that checking a length costs no system call; asked again only
  // when a length seems to run past it.
  int64_t Remaining();

  TFileStream stream_;
  TReader reader_;
  int64_t knownSize_;
  bool failed_ = false;
};

// One side of a counted list of names that is being merged.
struct NameList {
  std::string name;
  int32_t count = 0;
  int index = 0;
  bool atEnd = true;

  // A new list of count names, none read yet; the name keeps its storage.
  void Start(int32_t listCount) {
    count = listCount;
    index = 0;
    name.clear();
  }
};

// The two sides of the lists merged at one nesting level.
struct MergeLists {
  NameList oldList;
  NameList newList;
};

// Records, keys and folders nest at most this deep (the registry allows 512 levels and ANSI
// paths far fewer folders); deeper data is damaged and must not exhaust the stack.
inline constexpr int kMaxNesting = 1024;

// Failed name reads one compare shows before it gives up on the file.
inline constexpr int kMaxNameReadFailures = 10;

class CompareRun {
 public:
  CompareRun(const std::string& oldFile, const std::string& newFile, UserInteraction& ui);

  CompareSide oldSide;
  CompareSide newSide;
  UserInteraction& ui;
  const std::string oldFile;
  const std::string newFile;

  // Nesting level of the recursive compare: 1 is a root key, drive or system file.
  int Depth() const { return depth_; }

  // The lists of the current nesting level. They serve key after key and folder after folder,
  // so that names are read into storage that has grown already, not into new strings.
  MergeLists& LevelLists();

  // Reads a list's count and its first name.
  void StartList(CompareSide& side, NameList& list, ReadNextStrVariant variant);
  // Reads the next name, or marks the list done. A failed read is reported by ReadNextStr and
  // the merge goes on with the old name, as long as that can lead anywhere: at the end of the
  // stream, or after kMaxNameReadFailures failures in one compare, it raises the read error,
  // so a damaged count cannot keep the user clicking away messages.
  void Advance(CompareSide& side, NameList& list, ReadNextStrVariant variant) {
    // Inline for the common case, a name that lies whole in the reader's buffer: the merge
    // advances once per name.
    if (list.index < list.count && side.Reader().ReadBufferedString(list.name)) {
      ++list.index;
      list.atEnd = false;
      return;
    }
    AdvanceSlowly(side, list, variant);
  }

  // The status text (unchanged texts are not set again), then pending messages run.
  void Status(const std::string& text);
  void ProgressMax(int max);
  void ProgressPosition(int position);

 private:
  friend class NestingLevel;
  void AdvanceSlowly(CompareSide& side, NameList& list, ReadNextStrVariant variant);
  int depth_ = 0;
  int nameReadFailures_ = 0;
  int progressMax_ = 0;
  std::deque<MergeLists> levelLists_;  // per depth; a deque keeps them in place as it grows
  std::string lastStatus_;
  bool statusShown_ = false;
};

// One level deeper for the life of the object; a level beyond kMaxNesting is a format error.
class NestingLevel {
 public:
  explicit NestingLevel(CompareRun& run);
  ~NestingLevel() { --run_.depth_; }
  NestingLevel(const NestingLevel&) = delete;
  NestingLevel& operator=(const NestingLevel&) = delete;

 private:
  CompareRun& run_;
};

enum class MergeStep { Same, New, Deleted };

// The merge of two sorted name lists: equal names (ignoring case, in the locale's order) are
// the same item, given with the new name; the lower name is new or deleted; when one side is
// done the rest of the other is new or deleted. step must advance the lists it consumes.
// beforeStep runs first in every round (progress).
// step(MergeStep, const std::string& name) is given a list's own name, which advancing that
// list overwrites.
template <class Step, class BeforeStep>
void MergeNames(NameList& oldList, NameList& newList, Step step, BeforeStep beforeStep) {
  while (!oldList.atEnd || !newList.atEnd) {
    beforeStep();
    if (!oldList.atEnd && !newList.atEnd) {
      const int c = CompareTextLocale(oldList.name, newList.name);
      if (c == 0)
        step(MergeStep::Same, newList.name);
      else if (c > 0)
        step(MergeStep::New, newList.name);
      else
        step(MergeStep::Deleted, oldList.name);
    } else if (!newList.atEnd) {
      step(MergeStep::New, newList.name);
    } else {
      step(MergeStep::Deleted, oldList.name);
    }
  }
}

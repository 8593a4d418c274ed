#include "tools/DuplicateSearch.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/Errors.h"
#include "core/TextCompare.h"
#include "tools/FolderEntries.h"

namespace {

// Counters are repainted, messages let run and Cancel heard every this many files.
constexpr uint64_t kFilesPerRefresh = 100;

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Runs of one name are told by ASCII letters only, as the file system folds them.
bool SameNameAscii(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (AsciiLower(*a) != AsciiLower(*b)) return false;
  return *a == *b;
}

// Members of one run with equal key(member), as classes in run order; classes of one member are
// dropped.
template <class Key>
std::vector<std::vector<uint32_t>> ClassesBy(uint32_t first, uint32_t last, Key key) {
  std::vector<uint32_t> members;
  for (uint32_t i = first; i <= last; ++i) members.push_back(i);
  std::stable_sort(members.begin(), members.end(), [&](uint32_t a, uint32_t b) { return key(a) < key(b); });
  std::vector<std::vector<uint32_t>> classes;
  for (size_t begin = 0; begin < members.size();) {
    size_t end = begin + 1;
    while (end < members.size() && key(members[end]) == key(members[begin])) ++end;
    if (end - begin >= 2) classes.emplace_back(members.begin() + begin, members.begin() + end);
    begin = end;
  }
  return classes;
}

}  // namespace

void DuplicateSearch::Run(const std::vector<DuplicateRoot>& roots, DuplicateTest test) {
  struct RunningFlag {
    bool& flag;
    explicit RunningFlag(bool& f) : flag(f) { flag = true; }
    ~RunningFlag() { flag = false; }
  } running(running_);
  abort_ = false;
  progress_.SetStatus("Initialize data...");
  catalog_.Clear();
  std::vector<DuplicateFile>().swap(files_);
  groups_.clear();
  counters_ = {};
  reads_ = {};

  for (const DuplicateRoot& root : roots) {
    progress_.SetStatus(FormatText("Search files on %s", root.folder));
    progress_.ProcessMessages();
    std::vector<std::string> names = root.names;
    Walk(root.folder, names, root.selective);
  }
  progress_.ShowCounters(counters_);
  progress_.SetStatus("Sorting files...");
  progress_.ProcessMessages();
  SortByName();
  Detect(test);
}

void DuplicateSearch::Walk(const std::string& folder, std::vector<std::string>& names, bool selective) {
  const uint32_t folderIndex = catalog_.AddFolder(folder);
  ++counters_.folders;
  ForEachFolderEntry(folder + "*.*", [&](const FolderEntry& entry) {
    if (entry.isFolder) {
      if (entry.name.front() == '.') return;
      names.emplace_back(entry.name);
      bool walkSelective = false;
      if (selective) {
        const FolderSelection state = lookup_(names);
        if (state != FolderSelection::Checked && state != FolderSelection::Partial) {
          names.pop_back();
          return;
        }
        walkSelective = state == FolderSelection::Partial;
      }
      Walk(folder + names.back() + "\\", names, walkSelective);
      names.pop_back();
      return;
    }
    files_.push_back({{folderIndex, catalog_.AddName(entry.name), entry.time, entry.size, entry.attributes}, false});
    if (++counters_.files % kFilesPerRefresh == 0) {
      progress_.ShowCounters(counters_);
      progress_.ProcessMessages();
      if (abort_) RaiseAbort();
    }
  });
}

void DuplicateSearch::SortByName() {
  // Stable: files of one name stay in walk order, which decides the order of their groups.
  std::stable_sort(files_.begin(), files_.end(), [this](const DuplicateFile& a, const DuplicateFile& b) {
    return CompareTextLocale(catalog_.Name(a.file), catalog_.Name(b.file)) < 0;
  });
}

void DuplicateSearch::Detect(DuplicateTest test) {
  const size_t count = files_.size();
  long lastShown = 0;
  for (size_t i = 0; i < count; ++i) {
    const size_t start = i;
    while (i + 1 < count && SameNameAscii(NameOf(static_cast<uint32_t>(i + 1)), NameOf(static_cast<uint32_t>(i)))) ++i;
    if (i > start) DetectInRun(static_cast<uint32_t>(start), static_cast<uint32_t>(i), test);
    // Rounded half to even, the default rounding mode.
    const long percent = std::lrint(static_cast<double>(i) / static_cast<double>(count) * 100.0);
    if (percent > lastShown) {
      lastShown = percent;
      progress_.ShowCounters(counters_);
      progress_.SetStatus("Detecting duplicates..." + std::to_string(percent) + "%");
      progress_.ProcessMessages();
      if (abort_) RaiseAbort();
    }
  }
  progress_.ShowCounters(counters_);
  progress_.SetStatus("Detecting duplicates...finished.");
}

void DuplicateSearch::DetectInRun(uint32_t first, uint32_t last, DuplicateTest test) {
  const auto size = [this](uint32_t i) { return files_[i].file.size; };
  std::vector<std::vector<uint32_t>> classes;
  if (test == DuplicateTest::NameSizeDate) {
    classes = ClassesBy(first, last, [&](uint32_t i) { return std::pair(size(i), files_[i].file.time); });
  } else {
    // Messages run before each file is read: one run of large candidates must not freeze the
    // window, and Cancel is heard there.
    const auto pathOf = [this](uint32_t i) {
      progress_.ProcessMessages();
      if (abort_) RaiseAbort();
      return PathOf(i);
    };
    for (const std::vector<uint32_t>& sameSize : ClassesBy(first, last, size))
      for (std::vector<uint32_t>& equal : EqualContentClasses(sameSize, pathOf, reads_))
        classes.push_back(std::move(equal));
  }
  // A group opens at its first member: by that member's place in the run.
  std::sort(classes.begin(), classes.end(),
            [](const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) { return a.front() < b.front(); });
  for (std::vector<uint32_t>& members : classes) AddGroup(std::move(members));
}

void DuplicateSearch::AddGroup(std::vector<uint32_t> members) {
  // The first pair opens the group unflagged; every later member joins it flagged.
  for (size_t i = 2; i < members.size(); ++i) files_[members[i]].grouped = true;
  counters_.duplicates += members.size() - 1;
  groups_.push_back({std::move(members)});
}

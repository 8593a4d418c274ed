// The finders' benchmark: the temp-file search and the duplicate search (date and content mode)
// over a generated file tree, set against a bare FindFirstFile walk of the same folders plus one
// sort by name, measured in the same run; the bytes the content mode reads against the bytes of
// its candidates; peak memory per file found; how many files pass between two turns of the
// message loop and how soon Cancel ends a search. Run by scripts/bench-tools.sh.
//
//   tools_bench.exe --folder C:\QuorvelToolsBench\ [--rounds 5] [--server-pid <pid>]

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "bench/BenchMemory.h"
#include "bench/BenchOptions.h"
#include "bench/BenchTiming.h"
#include "core/TextCompare.h"
#include "tools/DuplicateSearch.h"
#include "tools/TempFileSearch.h"

namespace {

// ------------------------------------------------------------------ floor

struct BareFile {
  std::string name;
  uint64_t size;
  FILETIME time;
};

void BareWalk(const std::string& folder, std::vector<BareFile>& files) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  std::vector<std::string> subfolders;
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (strcmp(data.cFileName, ".") != 0 && strcmp(data.cFileName, "..") != 0)
        subfolders.push_back(folder + data.cFileName + "\\");
    } else {
      files.push_back({data.cFileName, (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                       data.ftLastWriteTime});
    }
  } while (FindNextFileA(find, &data));
  FindClose(find);
  for (const std::string& subfolder : subfolders) BareWalk(subfolder, files);
}

// The floor: the walk and one sort by name, as a finder needs at the least.
std::vector<BareFile> WalkAndSort(const std::string& folder) {
  std::vector<BareFile> files;
  BareWalk(folder, files);
  std::stable_sort(files.begin(), files.end(),
                   [](const BareFile& a, const BareFile& b) { return CompareTextLocale(a.name, b.name) < 0; });
  return files;
}

// Bytes of the files that share name (ASCII case folded) and size with another: what the
// content test has to read at the least.
uint64_t CandidateBytes(const std::vector<BareFile>& files) {
  std::map<std::pair<std::string, uint64_t>, std::pair<uint64_t, uint64_t>> byKey;  // count, bytes
  for (const BareFile& file : files) {
    std::string name = file.name;
    for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    auto& entry = byKey[{name, file.size}];
    ++entry.first;
    entry.second += file.size;
  }
  uint64_t bytes = 0;
  for (const auto& [key, entry] : byKey)
    if (entry.first >= 2) bytes += entry.second;
  return bytes;
}

// ------------------------------------------------------------------ progress

// Counts the files and the time between two turns of the message loop (the window's
// responsiveness), and cancels after cancelAfterMs.
class BenchProgress : public ToolProgress {
 public:
  void Start(double cancelAfterMs, std::function<void()> cancel) {
    cancelAfterMs_ = cancelAfterMs;
    cancel_ = std::move(cancel);
    started_ = lastTurn_ = WallMs();
    cancelledAt_ = -1;
    files_ = 0;
    lastFiles_ = 0;
    longestPauseMs_ = 0;
    largestGap_ = 0;
    turns_ = 0;
  }
  void SetStatus(const std::string&) override {}
  void ShowCounters(const SearchCounters& counters) override { files_ = counters.files; }
  void ProcessMessages() override {
    ++turns_;
    const double now = WallMs();
    longestPauseMs_ = std::max(longestPauseMs_, now - lastTurn_);
    lastTurn_ = now;
    // The duplicate search counts anew for its detection.
    if (files_ >= lastFiles_) largestGap_ = std::max(largestGap_, files_ - lastFiles_);
    lastFiles_ = files_;
    if (cancel_ && cancelledAt_ < 0 && WallMs() - started_ >= cancelAfterMs_) {
      cancelledAt_ = WallMs();
      cancel_();
    }
  }
  void ReportError(std::exception_ptr) override {}

  uint64_t LargestGap() const { return largestGap_; }
  uint64_t Turns() const { return turns_; }
  double LongestPauseMs() const { return longestPauseMs_; }
  // From the Cancel to now; -1 when the search ended before it was cancelled.
  double SinceCancelMs() const { return cancelledAt_ < 0 ? -1 : WallMs() - cancelledAt_; }

 private:
  double cancelAfterMs_ = 0;
  std::function<void()> cancel_;
  double started_ = 0;
  double lastTurn_ = 0;
  double longestPauseMs_ = 0;
  double cancelledAt_ = -1;
  uint64_t files_ = 0;
  uint64_t lastFiles_ = 0;
  uint64_t largestGap_ = 0;
  uint64_t turns_ = 0;
};

FolderSelectionLookup EverythingTicked() {
  return [](const std::vector<std::string>&) { return FolderSelection::Checked; };
}

void RunDuplicates(DuplicateSearch& search, const std::string& folder, DuplicateTest test) {
  try {
    search.Run({DuplicateRoot{folder, {}, false}}, test);
  } catch (const std::exception&) {
    // The cancel's abort.
  }
}

struct Row {
  const char* name;
  Figure figure{};
  MemoryPeak memory{};
  uint64_t found = 0;
  uint64_t largestGap = 0;
  double longestPauseMs = 0;
};

double MiB(size_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

}  // namespace

int main(int argc, char** argv) {
  WorkloadOptions options;
  options.folder = "C:\\QuorvelToolsBench\\";
  ParseBenchOptions(argc, argv, options, [](const std::string& name, const std::string&) {
    fprintf(stderr, "unknown option %s\n", name.c_str());
  });
  const CpuClock cpu(options.serverPid);
  const Stopwatch watch(cpu);

  std::vector<BareFile> reference = WalkAndSort(options.folder);
  if (reference.empty()) {
    fprintf(stderr, "no files under %s\n", options.folder.c_str());
    return 1;
  }
  const uint64_t candidateBytes = CandidateBytes(reference);
  reference.clear();
  reference.shrink_to_fit();

  Row floor{"bare walk + sort (floor)"};
  Row temp{"temp-file search *.*"};
  Row tempMask{"temp-file search *.tmp"};
  Row date{"duplicates: name, size, date"};
  Row content{"duplicates: name, size, content"};
  uint64_t contentRead = 0;
  uint64_t groups = 0;
  BenchProgress progress;
  for (int round = 0; round < options.rounds; ++round) {
    // Rounds alternate the order, so that a warm cache favours none.
    auto measureFloor = [&] {
      floor.memory =
          MeasurePeak([&] { watch.Time(floor.figure, [&] { floor.found = WalkAndSort(options.folder).size(); }); });
    };
    auto measureTemp = [&](Row& row, const char* mask) {
      TempFileSearch search(progress);
      progress.Start(1e12, {});
      row.memory = MeasurePeak([&] {
        watch.Time(row.figure, [&] { search.Run({SearchDefinition{"all", options.folder, true, mask}}); });
      });
      row.found = search.Results().empty() ? 0 : search.Results()[0].found;
      row.largestGap = progress.LargestGap();
      row.longestPauseMs = std::max(row.longestPauseMs, progress.LongestPauseMs());
    };
    auto measureDuplicates = [&](Row& row, DuplicateTest test) {
      DuplicateSearch search(progress, EverythingTicked());
      progress.Start(1e12, {});
      row.memory = MeasurePeak([&] { watch.Time(row.figure, [&] { RunDuplicates(search, options.folder, test); }); });
      row.found = search.Files().size();
      row.largestGap = progress.LargestGap();
      row.longestPauseMs = std::max(row.longestPauseMs, progress.LongestPauseMs());
      groups = search.Groups().size();
      if (test == DuplicateTest::NameSizeContent) contentRead = search.ContentReads().bytes;
    };
    if (round % 2 == 0) {
      measureFloor();
      measureTemp(temp, "*.*");
    } else {
      measureTemp(temp, "*.*");
      measureFloor();
    }
    measureTemp(tempMask, "*.tmp");
    measureDuplicates(date, DuplicateTest::NameSizeDate);
    measureDuplicates(content, DuplicateTest::NameSizeContent);
  }

  // Cancel: pressed 300 ms into each search, timed until the search has returned.
  double tempCancelMs = 0;
  double duplicateCancelMs = 0;
  {
    TempFileSearch search(progress);
    progress.Start(300, [&] { search.Cancel(); });
    search.Run({SearchDefinition{"all", options.folder, true, "*.*"}});
    tempCancelMs = progress.SinceCancelMs();
  }
  {
    DuplicateSearch search(progress, EverythingTicked());
    progress.Start(300, [&] { search.Cancel(); });
    RunDuplicates(search, options.folder, DuplicateTest::NameSizeDate);
    duplicateCancelMs = progress.SinceCancelMs();
  }

  printf("== Finders (%llu files, %d rounds; median wall ms, ratio = median of each round's time / the floor's)\n",
         static_cast<unsigned long long>(floor.found), options.rounds);
  printf("%-34s %10s %10s %8s %10s %10s %11s %10s\n", "figure", "wall ms", "cpu ms", "ratio", "peak MiB", "limit MiB",
         "files/turn", "pause ms");
  for (const Row* row : {&floor, &temp, &tempMask, &date, &content}) {
    const size_t peak = row->memory.peakCommitted - row->memory.startCommitted;
    const double limit = MiB(200 * row->found) + 32;
    printf("%-34s %10.0f %10.0f %8.2f %10.1f %10.1f %11llu %10.0f\n", row->name, row->figure.wall.Median(),
           row->figure.cpu.Median(), row->figure.PairedRatio(floor.figure), MiB(peak), row == &floor ? 0.0 : limit,
           static_cast<unsigned long long>(row->largestGap), row->longestPauseMs);
  }
  printf("duplicate groups: %llu\n", static_cast<unsigned long long>(groups));
  printf("content mode read %.1f MiB of %.1f MiB candidate bytes: %.2fx\n", MiB(contentRead), MiB(candidateBytes),
         candidateBytes ? static_cast<double>(contentRead) / static_cast<double>(candidateBytes) : 0.0);
  printf("cancel to return: temp-file search %.0f ms, duplicate search %.0f ms%s\n", tempCancelMs, duplicateCancelMs,
         tempCancelMs < 0 || duplicateCancelMs < 0 ? " (-1: ended before the cancel)" : "");
  return 0;
}

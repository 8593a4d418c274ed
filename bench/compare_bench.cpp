// The compare benchmark: compares two configuration files of the capture workload, one saved
// before and one after about 30,000 changes, against reading both files value by value with
// TReader, in the same run; shows the compare's growth on wide keys, the loading of the log for
// two sizes of configuration, and the compare's peak memory. Run by scripts/bench-compare.sh,
// pinned to one CPU together with the prefix's wineserver.
//
//   compare_bench.exe [--root HKEY_CURRENT_USER] [--key Software\QuorvelBench] [--drive Q]
//                     [--folder Q:\] [--work C:\QuorvelCompareBench] [--rounds 5]
//                     [--server-pid <Linux pid of the wineserver>] [--keep-files 1]
//
// The changes are made with the platform's calls and undone before anything is timed; a save
// after the undo must compare equal to the first one, else the exit code is 3 and the workload
// is damaged (the script then has it made anew on the next run).

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "bench/BenchMemory.h"
#include "bench/BenchOptions.h"
#include "bench/BenchSelection.h"
#include "bench/BenchTable.h"
#include "bench/BenchTiming.h"
#include "bench/ConfigurationWalk.h"
#include "bench/SyntheticWideKey.h"
#include "bench/WorkloadChanges.h"
#include "capture/SaveConfiguration.h"
#include "platform/TMyRegistry.h"
#include "compare/CompareConfigurations.h"
#include "compare/LogFile.h"
#include "compare/LogLayout.h"
#include "compare/LogLoader.h"
#include "compare/ResultRecords.h"
#include "core/Errors.h"
#include "core/MainThreadCalls.h"
#include "core/TreeModel.h"

namespace {

struct Options : WorkloadOptions {
  std::string work = "C:\\QuorvelCompareBench";
  bool memoryOnly = false;  // the child that measures one compare's memory
  bool keepFiles = false;   // leave the configuration and log files for a closer look
};

Options ParseOptions(int argc, char** argv) {
  Options o;
  o.rounds = 5;
  ParseBenchOptions(argc, argv, o, [&](const std::string& name, const std::string& value) {
    if (name == "--work")
      o.work = value;
    else if (name == "--memory-only")
      o.memoryOnly = value == "1";
    else if (name == "--keep-files")
      o.keepFiles = value == "1";
  });
  return o;
}

// What one compare or load fills: the result trees and the log's positions, made new for each
// run and freed after its time is taken.
struct Results {
  TreeModel registry, drives, systemFiles;
  LogPositions positions;
};

// Two configuration files, the log of their compare, and the figures of both walks.
struct Pair {
  std::string what;
  std::string oldFile, newFile, logFile;
  Figure floor, compare;
  ConfigurationCounts counts;  // both files
};

// The changes a log reports: nodes of new and deleted keys and folders, and the records of the
// changed ones, read back from the change blocks.
ChangeCounts ReportedChanges(const Results& results, const std::string& logFile) {
  ChangeCounts counts;
  std::vector<ResultRow> rows;
  auto tally = [&](int& added, int& deleted, int& changed) {
    for (const ResultRow& row : rows) {
      const int kind = KindOf(row.kind);
      added += kind == kRecordNew;
      deleted += kind == kRecordDeleted;
      changed += kind == kRecordOldSide;
    }
  };
  results.registry.ForEach([&](TreeNode& node) {
    const int kind = KindOf(node.StateIndex());
    counts.newKeys += kind == kKindNew;
    counts.deletedKeys += kind == kKindDeleted;
    if (kind != kKindChanged) return;
    rows.clear();
    ReadRegistryRows(node, logFile, results.positions, "", "", rows);
    tally(counts.newValues, counts.deletedValues, counts.changedValues);
  });
  results.drives.ForEach([&](TreeNode& node) {
    const int kind = KindOf(node.StateIndex());
    counts.newFolders += kind == kKindNew;
    counts.deletedFolders += kind == kKindDeleted;
    if (kind != kKindChanged) return;
    rows.clear();
    ReadDriveRows(node, logFile, results.positions, rows);
    tally(counts.newFiles, counts.deletedFiles, counts.changedFiles);
  });
  return counts;
}

size_t NodeCount(const Results& results) {
  size_t nodes = 0;
  for (const TreeModel* tree : {&results.registry, &results.drives, &results.systemFiles})
    tree->ForEach([&](TreeNode&) { ++nodes; });
  return nodes;
}

// Bytes of the three pruned result trees: what a load reads beyond the selections.
int64_t TreeBytes(const LogPositions& positions) {
  const int64_t ends[] = {positions.registry.baseOffset, positions.drives.baseOffset, positions.systemFiles.baseOffset};
  const int64_t starts[] = {positions.registry.treePosition, positions.drives.treePosition,
                            positions.systemFiles.treePosition};
  int64_t bytes = 0;
  for (int i = 0; i < 3; ++i) bytes += ends[i] - starts[i];
  return bytes;
}

class Bench {
 public:
  explicit Bench(const Options& o) : o_(o), trees_(o.root, o.drive), cpu_(o.serverPid), watch_(cpu_) {}

  int Run();

 private:
  std::string Work(const std::string& name) const { return o_.work + "\\" + name; }
  void Save(const std::string& path) { WriteConfigurationFile(path, trees_.trees, calls_, ui_); }
  void Compare(const Pair& pair, Results& results);
  void CompareTimed(Pair& pair);
  void Load(const std::string& logFile);
  bool ChangeAndPutBack();
  void DescribePair(Pair& pair);
  void RunRound(int round);
  void PrintGrowth();
  int MeasureMemory();
  bool MeasureMemoryInChild();

  const Options& o_;
  BenchTrees trees_;
  MainThreadCalls calls_;
  QuietInteraction ui_;
  CpuClock cpu_;
  Stopwatch watch_;
  ConfigurationReadFloor floor_;

  ChangeCounts applied_;
  std::vector<std::string> changedKeys_, changedFolders_;
  Pair full_, small_, wide_, synthetic30_, synthetic120_;
  WideKeyChanges synthetic30Changes_, synthetic120Changes_;
  Figure loadFull_, loadSmall_;
};

void Bench::Compare(const Pair& pair, Results& results) {
  std::vector<std::string> excludeList;
  CompareTrees trees{trees_.registry,     trees_.drives, trees_.systemFiles, results.registry, results.drives,
                     results.systemFiles, {21, 22}};
  CompareConfigurations(pair.oldFile, pair.newFile, pair.logFile, trees, excludeList, results.positions, ui_);
}

// The result trees of the run are freed after its time is taken: the compare's work ends with
// the filled trees, and the window keeps them.
void Bench::CompareTimed(Pair& pair) {
  auto results = std::make_unique<Results>();
  watch_.Time(pair.compare, [&] { Compare(pair, *results); });
}

void Bench::Load(const std::string& logFile) {
  TreeModel registrySelection, driveSelection, systemFileSelection;
  std::vector<std::string> excludeList;
  Results results;
  LoadLogFile(logFile, registrySelection, driveSelection, systemFileSelection, excludeList,
              {results.registry, results.drives, results.systemFiles}, results.positions, ui_, [] {});
}

// The installation: the old configuration, the changes, the new configuration; then the changes
// are undone and a third save must compare equal to the first.
bool Bench::ChangeAndPutBack() {
  const int root = RootKeyIndex(o_.root);
  if (root < 0) throw Exception("unknown root key " + o_.root);
  {
    HKEY key = nullptr;
    if (RegOpenKeyExA(RootKeyHandle(root), o_.key.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
      throw Exception("no key " + o_.root + "\\" + o_.key + ": import the workload first");
    RegCloseKey(key);
  }
  double start = WallMs();
  Save(full_.oldFile);
  printf("old configuration saved (%.0f ms)\n", WallMs() - start);
  fflush(stdout);
  int undoFailures = 0;
  std::string undoError;
  {
    WorkloadChanges changes(RootKeyHandle(root), o_.root, o_.key, o_.folder, Work("Stash"));
    start = WallMs();
    try {
      changes.Apply();
    } catch (...) {
      changes.Undo();
      throw;
    }
    applied_ = changes.Counts();
    changedKeys_ = changes.ChangedKeyPaths();
    changedFolders_ = changes.ChangedFolderPaths();
    printf("changes made (%.0f ms): %s\n", WallMs() - start, applied_.Text().c_str());
    printf("they lie in %zu registry subtrees and %zu folders\n", changedKeys_.size(), changedFolders_.size());
    fflush(stdout);
    start = WallMs();
    Save(full_.newFile);
    printf("new configuration saved (%.0f ms)\n", WallMs() - start);
    start = WallMs();
    undoFailures = changes.Undo();
    undoError = changes.FirstUndoError();
    printf("changes undone (%.0f ms)%s\n", WallMs() - start, undoFailures ? ", WITH FAILURES" : "");
  }
  RemoveDirectoryA(Work("Stash").c_str());

  const std::string check = Work("Check.SXD");
  Save(check);
  Pair checkPair{"check", full_.oldFile, check, Work("Check.SXL"), {}, {}, {}};
  Results results;
  Compare(checkPair, results);
  const ChangeCounts left = ReportedChanges(results, checkPair.logFile);
  printf("workload put back: a save after the undo compares to the first one with %d differences\n", left.Total());
  if (left.Total()) printf("  %s\n", left.Text().c_str());
  if (undoFailures) printf("  %d undo steps failed, the first: %s\n", undoFailures, undoError.c_str());
  DeleteFileA(check.c_str());
  DeleteFileA(checkPair.logFile.c_str());
  fflush(stdout);
  return undoFailures == 0 && left.Total() == 0;
}

// One untimed compare: sizes, counts, and the changes its log reports against those made.
void Bench::DescribePair(Pair& pair) {
  pair.counts = floor_.Read(pair.oldFile);
  pair.counts += floor_.Read(pair.newFile);
  Results results;
  Compare(pair, results);
  const int64_t logSize = FileSize(pair.logFile);
  printf(
      "%s: files %.1f MB + %.1f MB, %llu keys, %llu values, %llu folders, %llu files in both; log %.2f MB, "
      "result trees %.2f MB, %zu nodes\n",
      pair.what.c_str(), FileSize(pair.oldFile) / 1048576.0, FileSize(pair.newFile) / 1048576.0,
      static_cast<unsigned long long>(pair.counts.keys), static_cast<unsigned long long>(pair.counts.values),
      static_cast<unsigned long long>(pair.counts.folders), static_cast<unsigned long long>(pair.counts.files),
      logSize / 1048576.0, TreeBytes(results.positions) / 1048576.0, NodeCount(results));
  if (&pair == &full_ || &pair == &small_) {
    const ChangeCounts reported = ReportedChanges(results, pair.logFile);
    printf("  the log reports %s\n  (%s the changes made)\n", reported.Text().c_str(),
           reported == applied_ ? "exactly" : "NOT");
  }
  fflush(stdout);
}

int Bench::Run() {
  CreateDirectoryA(o_.work.c_str(), nullptr);
  auto pair = [&](const std::string& what, const std::string& name) {
    return Pair{what, Work(name + "Old.SXD"), Work(name + "New.SXD"), Work(name + ".SXL"), {}, {}, {}};
  };
  full_ = pair("full workload", "Full");
  small_ = pair("changed subtrees only", "Small");
  wide_ = pair("wide key only", "Wide");
  synthetic30_ = pair("synthetic wide key, 30,000 subkeys", "Wide30000");
  synthetic120_ = pair("synthetic wide key, 120,000 subkeys", "Wide120000");
  if (o_.memoryOnly) return MeasureMemory();
  printf("CPU time: this process%s\n", cpu_.SeesServer() ? " and the wineserver" : " only (no --server-pid)");

  const bool restored = ChangeAndPutBack();

  // The same changes in smaller configurations: the subtrees that hold them; the wide key alone.
  ConfigurationFilter(changedKeys_, changedFolders_).Copy(full_.oldFile, small_.oldFile);
  ConfigurationFilter(changedKeys_, changedFolders_).Copy(full_.newFile, small_.newFile);
  const std::vector<std::string> wideKey{o_.root + "\\" + o_.key + "\\Wide Key 30000"};
  ConfigurationFilter(wideKey, {}).Copy(full_.oldFile, wide_.oldFile);
  ConfigurationFilter(wideKey, {}).Copy(full_.newFile, wide_.newFile);
  for (auto [pair, subkeys, changes] : {std::tuple{&synthetic30_, 30000, &synthetic30Changes_},
                                        std::tuple{&synthetic120_, 120000, &synthetic120Changes_}}) {
    SyntheticWideKey key(subkeys);
    key.Write(pair->oldFile, false);
    key.Write(pair->newFile, true);
    *changes = key.Changes();
  }
  for (Pair* p : {&full_, &small_, &wide_, &synthetic30_, &synthetic120_}) DescribePair(*p);
  printf("synthetic wide keys, changes: %d and %d\n", synthetic30Changes_.Total(), synthetic120Changes_.Total());

  for (int round = 0; round < o_.rounds; ++round) RunRound(round);

  std::vector<Row> rows = {
      {"floor: read both files of the full workload", &full_.floor},
      {"compare of the full workload", &full_.compare, &full_.floor, "<= 1.50x floor", 1.5},
      {"floor: read both files, changed subtrees only", &small_.floor},
      {"compare, changed subtrees only", &small_.compare, &small_.floor},
      {"floor: read both files, wide key only", &wide_.floor},
      {"compare, wide key only (30,000 subkeys)", &wide_.compare, &wide_.floor},
      {"floor: synthetic wide key, 30,000 subkeys", &synthetic30_.floor},
      {"compare, synthetic wide key, 30,000 subkeys", &synthetic30_.compare, &synthetic30_.floor},
      {"floor: synthetic wide key, 120,000 subkeys", &synthetic120_.floor},
      {"compare, synthetic wide key, 120,000 subkeys", &synthetic120_.compare, &synthetic120_.floor},
      {"load the log of the changed subtrees only", &loadSmall_},
      {"load the log of the full workload", &loadFull_, &loadSmall_, "<= 1.25x small", 1.25},
  };
  PrintTable(rows);
  PrintGrowth();
  const bool memoryMeasured = MeasureMemoryInChild();

  if (ui_.messages.load() > 0)
    printf("\nWARNING: the saves and compares showed %d messages; the first: %s\n", ui_.messages.load(),
           ui_.firstMessage.c_str());
  if (!o_.keepFiles) {
    for (Pair* p : {&full_, &small_, &wide_, &synthetic30_, &synthetic120_})
      for (const std::string* file : {&p->oldFile, &p->newFile, &p->logFile}) DeleteFileA(file->c_str());
    RemoveDirectoryA(o_.work.c_str());
  }
  if (!restored) {
    printf("\nERROR: the workload was not put back as it was\n");
    return 3;
  }
  return memoryMeasured ? 0 : 1;
}

// The child's work: one compare of the full workload, its memory sampled. A process of its own,
// because the saves and compares before would have raised the peak of the working set, which
// cannot be reset.
int Bench::MeasureMemory() {
  Results results;
  const MemoryPeak memory = MeasurePeak([&] { Compare(full_, results); });
  PrintMemory(memory, "one compare of the full workload", "log file written", FileSize(full_.logFile));
  return 0;
}

bool Bench::MeasureMemoryInChild() {
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, sizeof exe);
  std::string command = std::string("\"") + exe + "\" --root " + o_.root + " --drive " + o_.drive + " --work \"" +
                        o_.work + "\" --memory-only 1";
  fflush(stdout);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(exe, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    printf("\nERROR: the memory of the compare was not measured: no child process (%lu)\n", GetLastError());
    return false;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (code != 0) printf("\nERROR: the child that measures the compare's memory failed (%lu)\n", code);
  return code == 0;
}

// Each floor and its compare run one after the other, in turn one or the other first, so that
// both see the same load of the machine.
void Bench::RunRound(int round) {
  const bool swap = round % 2 == 1;
  auto inTurn = [&](const std::function<void()>& a, const std::function<void()>& b) { swap ? (b(), a()) : (a(), b()); };
  printf("round %d (ms):", round + 1);
  for (Pair* p : {&full_, &small_, &wide_, &synthetic30_, &synthetic120_}) {
    inTurn(
        [&] {
          watch_.Time(p->floor, [&] {
            floor_.Read(p->oldFile);
            floor_.Read(p->newFile);
          });
        },
        [&] { CompareTimed(*p); });
    printf(" %s %.0f/%.0f;",
           p == &full_    ? "full"
           : p == &small_ ? "small"
           : p == &wide_  ? "wide"
                          : "synthetic",
           p->floor.wall.ms.back(), p->compare.wall.ms.back());
  }
  inTurn([&] { watch_.Time(loadFull_, [&] { Load(full_.logFile); }); },
         [&] { watch_.Time(loadSmall_, [&] { Load(small_.logFile); }); });
  printf(" load %.0f/%.0f\n", loadFull_.wall.ms.back(), loadSmall_.wall.ms.back());
  fflush(stdout);
}

// Four times the subkeys in four times the time: a merge of sorted lists. Matching each name
// by a search of the other side's list would take sixteen times as long.
void Bench::PrintGrowth() {
  const double small = synthetic30_.compare.wall.Best(), large = synthetic120_.compare.wall.Best();
  const double floorSmall = synthetic30_.floor.wall.Best(), floorLarge = synthetic120_.floor.wall.Best();
  printf("\n| %-44s | %11s | %11s | %-26s |  %s\n", "growth on a wide key (best wall times)", "30,000", "120,000",
         "target", "result");
  printf("|%s|%s|%s|%s|%s\n", std::string(46, '-').c_str(), std::string(13, '-').c_str(), std::string(13, '-').c_str(),
         std::string(28, '-').c_str(), std::string(8, '-').c_str());
  printf("| %-44s | %8.1f ms | %8.1f ms | %-26s |\n", "floor: read both files", floorSmall, floorLarge, "");
  printf("| %-44s | %8.1f ms | %8.1f ms | %-26s |\n", "compare", small, large, "");
  printf("| %-44s | %8.2f ms | %8.2f ms | %-26s |\n", "compare per 1,000 subkeys", small / 30, large / 120, "");
  const double growth = small > 0 ? large / small : 0;
  printf("| %-44s | %11s | %10.2fx | %-26s |  %s\n", "compare time 120,000 / 30,000 (data 4.00x)", "", growth,
         "<= 5.00x (linear)", growth <= 5.0 ? "pass" : "MISS");
  printf("| %-44s | %8.1f ms | %11s | %-26s |  %s\n", "compare of 30,000 subkeys", small, "",
         "far below 1 s: <= 200 ms", small <= 200 ? "pass" : "MISS");
}

}  // namespace

int main(int argc, char** argv) {
  try {
    Options options = ParseOptions(argc, argv);
    return Bench(options).Run();
  } catch (...) {
    ErrorInfo error = DescribeError(std::current_exception());
    fprintf(stderr, "compare_bench: %s\n", error.message.c_str());
    return 1;
  }
}

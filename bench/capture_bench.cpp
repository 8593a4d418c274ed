// The capture benchmark: times the registry capture, the file-structure capture and the whole
// save against bare walks of the same data, measured in the same run, and prints a table.
// Run by scripts/bench-capture.sh, pinned to one CPU together with the prefix's wineserver.
//
//   capture_bench.exe [--root HKEY_CURRENT_USER] [--key Software\QuorvelBench] [--drive Q]
//                     [--folder Q:\] [--rounds 3] [--out C:\QuorvelBenchOut\Bench.SXD]
//                     [--server-pid <Linux pid of the wineserver>] [--figures all|save]
//                     [--split-threads <cpu>,<cpu>]
//
// Capture against floor: the key record of --key and the folder record of --folder, the same
// data the floors walk. The save captures what a user selects, whole root keys and whole
// drives: --root and --drive (the script gives the file workload a drive of its own); it is
// set against the two section captures run one after the other. With the server's pid the CPU
// times include the server's; --figures save times only the save and the sections.
// --split-threads A,B (the process may use both CPUs, the server runs on A): this thread and the
// save's registry thread run on CPU A beside the server, the drives thread on CPU B, so the two
// captures can overlap without a registry round trip crossing CPUs.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "bench/BenchMemory.h"
#include "bench/BenchOptions.h"
#include "bench/BenchSelection.h"
#include "bench/BenchTable.h"
#include "bench/BenchTiming.h"
#include "capture/CaptureThread.h"
#include "capture/LocaleSort.h"
#include "capture/SaveConfiguration.h"
#include "capture/SectionCaptures.h"
#include "platform/TMyRegistry.h"
#include "core/CheckStates.h"
#include "core/Errors.h"
#include "core/MainThreadCalls.h"
#include "core/TreeModel.h"
#include "core/UserInteraction.h"
#include "datafiles/ChunkedMemoryStream.h"
#include "datafiles/Stream.h"
#include "datafiles/TWriter.h"

namespace {

// ------------------------------------------------------------------ registry floor

struct RegCounts {
  uint64_t keys = 0;
  uint64_t values = 0;
  uint64_t dataBytes = 0;
};

// The fewest calls that still read every name and every value's type and data: one
// RegQueryInfoKeyA per key for the counts and buffer sizes, one RegEnumKeyExA and
// RegOpenKeyExA per subkey, one RegEnumValueA per value (name, type and data together).
class RegistryFloor {
 public:
  RegCounts Walk(HKEY root) {
    counts_ = {};
    WalkKey(root);
    return counts_;
  }

 private:
  void WalkKey(HKEY key) {
    DWORD subkeys = 0, maxSubkeyLen = 0, values = 0, maxNameLen = 0, maxDataLen = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, &maxSubkeyLen, nullptr, &values, &maxNameLen,
                         &maxDataLen, nullptr, nullptr) != ERROR_SUCCESS)
      return;
    ++counts_.keys;
    Fit(name_, std::max(maxSubkeyLen, maxNameLen) + 1);
    Fit(data_, maxDataLen);
    for (DWORD i = 0; i < subkeys; ++i) {
      DWORD len = static_cast<DWORD>(name_.size());
      if (RegEnumKeyExA(key, i, name_.data(), &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) continue;
      HKEY child = nullptr;
      if (RegOpenKeyExA(key, name_.data(), 0, KEY_READ, &child) != ERROR_SUCCESS) continue;
      WalkKey(child);
      RegCloseKey(child);
    }
    for (DWORD i = 0; i < values; ++i) {
      DWORD type = 0;
      for (;;) {
        DWORD len = static_cast<DWORD>(name_.size());
        DWORD size = static_cast<DWORD>(data_.size());
        LONG rc = RegEnumValueA(key, i, name_.data(), &len, nullptr, &type, data_.data(), &size);
        if (rc == ERROR_MORE_DATA) {
          // Counts and sizes of RegQueryInfoKeyA are in characters of the wide form.
          Fit(name_, name_.size() * 2);
          Fit(data_, std::max<size_t>(size, data_.size() * 2));
          continue;
        }
        if (rc == ERROR_SUCCESS) {
          ++counts_.values;
          counts_.dataBytes += size;
        }
        break;
      }
    }
  }

  template <class T>
  static void Fit(std::vector<T>& buffer, size_t size) {
    if (buffer.size() < std::max<size_t>(size, 256)) buffer.resize(std::max<size_t>(size, 256));
  }

  RegCounts counts_;
  std::vector<char> name_;
  std::vector<BYTE> data_;
};

// ------------------------------------------------------------------ file floor

struct FileCounts {
  uint64_t folders = 0;
  uint64_t files = 0;
  uint64_t bytes = 0;
};

// One FindFirstFileA/FindNextFileA enumeration per folder; folders whose name begins with a dot
// are left out, as the capture leaves them out.
class FileFloor {
 public:
  FileCounts Walk(const std::string& folder) {
    counts_ = {};
    path_ = folder;
    WalkFolder();
    return counts_;
  }

 private:
  void WalkFolder() {
    ++counts_.folders;
    size_t length = path_.size();
    path_ += "*.*";
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(path_.c_str(), &entry);
    path_.resize(length);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (entry.cFileName[0] == '.') continue;
        path_ += entry.cFileName;
        path_ += '\\';
        WalkFolder();
        path_.resize(length);
      } else {
        ++counts_.files;
        counts_.bytes += entry.nFileSizeLow;
      }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }

  FileCounts counts_;
  std::string path_;
};

// ------------------------------------------------------------------ captures

// A capture run inline on the bench's own thread, the one that owns the trees.
class InlineHost : public CaptureHost {
 public:
  explicit InlineHost(QuietInteraction& ui) : ui_(ui) {}
  void ShowError(const std::string& text) override { ui_.Tell(MsgType::Error, text); }
  void OnMainThread(const std::function<void()>& call) override { call(); }

 protected:
  void DisplayProgress(const Progress&) override {}

 private:
  QuietInteraction& ui_;
};

// Each capture writes into a memory stream through a writer, as a capture thread does; the
// result is the stream's size.
template <typename Capture>
int64_t IntoMemory(Capture capture) {
  TChunkedMemoryStream stream;
  TWriter writer(stream, kStreamBufferSize);
  capture(writer);
  writer.FlushBuffer();
  return stream.Size();
}

// ------------------------------------------------------------------ locale order

using NameLists = std::vector<std::vector<std::string>>;

// Every list a capture sorts: per key its subkey names and its value names, per folder its
// folder names and its file names; and the last-write time of every file.
class NameListCollector {
 public:
  NameLists registryLists;
  NameLists fileLists;
  std::vector<FILETIME> fileTimes;

  void Registry(HKEY key) {
    DWORD subkeys = 0, values = 0, maxSub = 0, maxName = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, &maxSub, nullptr, &values, &maxName, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
      return;
    std::vector<char> name(std::max(maxSub, maxName) * 2 + 2);
    std::vector<std::string> keyNames, valueNames;
    for (DWORD i = 0; i < subkeys; ++i) {
      DWORD len = static_cast<DWORD>(name.size());
      if (RegEnumKeyExA(key, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
        keyNames.emplace_back(name.data(), len);
    }
    for (DWORD i = 0; i < values; ++i) {
      DWORD len = static_cast<DWORD>(name.size());
      if (RegEnumValueA(key, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
        valueNames.emplace_back(name.data(), len);
    }
    for (const std::string& sub : keyNames) {
      HKEY child = nullptr;
      if (RegOpenKeyExA(key, sub.c_str(), 0, KEY_READ, &child) != ERROR_SUCCESS) continue;
      Registry(child);
      RegCloseKey(child);
    }
    Keep(registryLists, std::move(keyNames));
    Keep(registryLists, std::move(valueNames));
  }

  void Files(const std::string& folder) {
    std::vector<std::string> folders, files;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*.*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        files.emplace_back(entry.cFileName);
        fileTimes.push_back(entry.ftLastWriteTime);
      } else if (entry.cFileName[0] != '.')
        folders.emplace_back(entry.cFileName);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    for (const std::string& sub : folders) Files(folder + sub + "\\");
    Keep(fileLists, std::move(folders));
    Keep(fileLists, std::move(files));
  }

 private:
  static void Keep(NameLists& lists, std::vector<std::string>&& list) {
    if (list.size() > 1) lists.push_back(std::move(list));
  }
};

// The order a capture needs, one CompareStringA per comparison.
void SortByCompareString(NameLists& lists) {
  for (auto& list : lists)
    std::sort(list.begin(), list.end(), [](const std::string& x, const std::string& y) {
      return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, x.data(), static_cast<int>(x.size()), y.data(),
                            static_cast<int>(y.size())) == CSTR_LESS_THAN;
    });
}

// The same order through the captures' own sorter: one sort key per name, compared as bytes.
void SortByLocaleSorter(NameLists& lists) {
  LocaleSorter sorter;
  for (auto& list : lists) SortByLocale(list, sorter);
}

// ------------------------------------------------------------------ table

// ------------------------------------------------------------------ the run

struct Options : WorkloadOptions {
  std::string out = "C:\\QuorvelBenchOut\\Bench.SXD";
  bool saveOnly = false;
  int registryCpu = -1, drivesCpu = -1;  // --split-threads; -1: threads left where they start
};

Options ParseOptions(int argc, char** argv) {
  Options o;
  ParseBenchOptions(argc, argv, o, [&](const std::string& name, const std::string& value) {
    if (name == "--out")
      o.out = value;
    else if (name == "--figures")
      o.saveOnly = value == "save";
    else if (name == "--split-threads")
      sscanf(value.c_str(), "%d,%d", &o.registryCpu, &o.drivesCpu);
  });
  return o;
}

DWORD_PTR registryCpuMask = 0, drivesCpuMask = 0;

// The registry capture reports on the main channel, the drives capture on the secondary one.
void PlaceCaptureThread(HANDLE thread, StatusChannel channel) {
  SetThreadAffinityMask(thread, channel == StatusChannel::Main ? registryCpuMask : drivesCpuMask);
}

class Bench {
 public:
  explicit Bench(const Options& o) : o_(o), trees_(o.root, o.drive), host_(ui_), cpu_(o.serverPid), watch_(cpu_) {}

  int Run();

 private:
  void Save() { WriteConfigurationFile(o_.out, trees_.trees, calls_, ui_); }
  void RunRound(int round);
  void SortNames();

  const Options& o_;
  HKEY root_ = nullptr;
  UniqueHKey benchKey_;
  BenchTrees trees_;
  MainThreadCalls calls_;
  QuietInteraction ui_;
  InlineHost host_;
  CpuClock cpu_;
  Stopwatch watch_;
  RegistryFloor regFloor_;
  FileFloor fileFloor_;

  Figure regFloorTime_, regCaptureTime_, fileFloorTime_, fileCaptureTime_, regSectionTime_, driveSectionTime_, sumTime_,
      saveTime_, regCompareSortTime_, regKeySortTime_, fileCompareSortTime_, fileKeySortTime_, fileTimesTime_,
      fileWriteTime_;
  int64_t regBytes_ = 0, fileBytes_ = 0, regSectionBytes_ = 0, driveSectionBytes_ = 0;
};

int Bench::Run() {
  int rootIndex = RootKeyIndex(o_.root);
  if (rootIndex < 0) {
    fprintf(stderr, "unknown root key %s\n", o_.root.c_str());
    return 2;
  }
  root_ = RootKeyHandle(rootIndex);
  HKEY key = nullptr;
  if (RegOpenKeyExA(root_, o_.key.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    fprintf(stderr, "no key %s\\%s: import the workload first\n", o_.root.c_str(), o_.key.c_str());
    return 2;
  }
  benchKey_.Reset(key);
  std::string outFolder = o_.out.substr(0, o_.out.find_last_of('\\'));
  CreateDirectoryA(outFolder.c_str(), nullptr);

  // Warm-up: the first walk of each pulls the data into the caches of Wine and Linux.
  RegCounts reg = regFloor_.Walk(benchKey_.Get());
  RegCounts wholeRoot = regFloor_.Walk(root_);
  FileCounts files = fileFloor_.Walk(o_.folder);
  printf("registry: %s\\%s: %llu keys, %llu values, %llu data bytes (whole root: %llu keys, %llu values)\n",
         o_.root.c_str(), o_.key.c_str(), static_cast<unsigned long long>(reg.keys),
         static_cast<unsigned long long>(reg.values), static_cast<unsigned long long>(reg.dataBytes),
         static_cast<unsigned long long>(wholeRoot.keys), static_cast<unsigned long long>(wholeRoot.values));
  printf("files: %s: %llu folders, %llu files, %llu bytes; the save walks drive %c: whole\n", o_.folder.c_str(),
         static_cast<unsigned long long>(files.folders), static_cast<unsigned long long>(files.files),
         static_cast<unsigned long long>(files.bytes), o_.drive);
  printf("CPU time: this process%s\n", cpu_.SeesServer() ? " and the wineserver" : " only (no --server-pid)");
  fflush(stdout);

  if (o_.registryCpu >= 0 && o_.drivesCpu >= 0) {
    registryCpuMask = DWORD_PTR{1} << o_.registryCpu;
    drivesCpuMask = DWORD_PTR{1} << o_.drivesCpu;
    SetThreadAffinityMask(GetCurrentThread(), registryCpuMask);
    CaptureThread::SetStartHook(PlaceCaptureThread);
    printf("threads: this one and the registry capture on CPU %d, the drives capture on CPU %d\n", o_.registryCpu,
           o_.drivesCpu);
  }

  // Memory first, while nothing else has raised the process's peaks.
  MemoryPeak memory;
  if (!o_.saveOnly) memory = MeasurePeak([&] { Save(); });
  for (int round = 0; round < o_.rounds; ++round) RunRound(round);
  int64_t fileSize = FileSize(o_.out);
  printf("bytes written: configuration file %lld; registry section %lld, drives and system-files sections %lld",
         static_cast<long long>(fileSize), static_cast<long long>(regSectionBytes_),
         static_cast<long long>(driveSectionBytes_));
  if (!o_.saveOnly)
    printf("; key record %lld, folder record %lld", static_cast<long long>(regBytes_),
           static_cast<long long>(fileBytes_));
  printf("\n");
  if (!o_.saveOnly) SortNames();

  std::vector<Row> rows;
  if (!o_.saveOnly) {
    rows = {
        {"registry floor: bare walk of the bench key", &regFloorTime_},
        {"registry capture: key record of the bench key", &regCaptureTime_, &regFloorTime_, "<= 1.15x floor", 1.15},
        {"file floor: bare FindFirstFileA walk of " + o_.folder, &fileFloorTime_},
        {"file capture: folder record of " + o_.folder, &fileCaptureTime_, &fileFloorTime_, "<= 1.10x floor", 1.10},
    };
  }
  rows.push_back({"registry section: whole " + o_.root, &regSectionTime_});
  rows.push_back({std::string("drives section: whole drive ") + o_.drive + ":", &driveSectionTime_});
  rows.push_back({"sum of the two sections, one after the other", &sumTime_});
  rows.push_back({"whole save: both threads, file written", &saveTime_, &sumTime_, "< 1.00x sum", 1.0, true});
  rows.push_back({"writing a file of the same size alone", &fileWriteTime_});
  if (!o_.saveOnly) {
    rows.push_back({"sort registry name lists: CompareStringA", &regCompareSortTime_});
    rows.push_back({"sort registry name lists: LocaleSorter keys", &regKeySortTime_, &regCompareSortTime_});
    rows.push_back({"sort file name lists: CompareStringA", &fileCompareSortTime_});
    rows.push_back({"sort file name lists: LocaleSorter keys", &fileKeySortTime_, &fileCompareSortTime_});
    rows.push_back({"file times to packed local time, every file", &fileTimesTime_});
  }
  PrintTable(rows);
  if (!o_.saveOnly) PrintMemory(memory, "one save", "configuration file written", fileSize);

  if (ui_.messages.load() > 0)
    printf("\nWARNING: the captures showed %d messages; the first: %s\n", ui_.messages.load(),
           ui_.firstMessage.c_str());
  DeleteFileA(o_.out.c_str());
  RemoveDirectoryA(outFolder.c_str());
  return 0;
}

// Floor and capture of the same data run one after the other, so that both see the same load
// of the machine, and in turn one or the other first. The file tree is walked once untimed
// before the file figures: Linux may have dropped part of its caches since the last round
// (other jobs), and the first walk would pay for reading them back.
void Bench::RunRound(int round) {
  const bool swap = round % 2 == 1;
  auto inTurn = [&](const std::function<void()>& a, const std::function<void()>& b) {
    if (swap) {
      b();
      a();
    } else {
      a();
      b();
    }
  };
  fileFloor_.Walk(o_.folder);
  double save = 0, regSection = 0, driveSection = 0;
  inTurn([&] { save = watch_.Time(saveTime_, [&] { Save(); }); },
         [&] {
           regSection = watch_.Time(regSectionTime_, [&] {
             regSectionBytes_ = IntoMemory([&](TWriter& w) { CaptureRegistrySection(w, trees_.registry, host_); });
           });
           driveSection = watch_.Time(driveSectionTime_, [&] {
             driveSectionBytes_ = IntoMemory([&](TWriter& w) {
               CaptureDrivesSection(w, trees_.drives, host_);
               CaptureSystemFilesSection(w, trees_.systemFiles, CurrentSystemFileFolders(), host_);
             });
           });
         });
  sumTime_.Add(regSection + driveSection, regSectionTime_.cpu.ms.back() + driveSectionTime_.cpu.ms.back());
  // The part of the save the sum has not: writing the file, the same number of bytes.
  const int64_t size = FileSize(o_.out) > 0 ? FileSize(o_.out) : regSectionBytes_ + driveSectionBytes_;
  const std::string copy = o_.out + ".write";
  std::vector<uint8_t> bytes(static_cast<size_t>(size), 0x5A);
  watch_.Time(fileWriteTime_, [&] {
    TFileStream file(copy, FileMode::Create);
    TWriter writer(file, kStreamBufferSize);
    writer.Write(bytes.data(), bytes.size());
    writer.FlushBuffer();
  });
  DeleteFileA(copy.c_str());
  printf("round %d (ms): save %.0f, sections %.0f + %.0f", round + 1, save, regSection, driveSection);
  if (!o_.saveOnly) {
    double regFloor = 0, regCapture = 0, fileFloor = 0, fileCapture = 0;
    inTurn([&] { regFloor = watch_.Time(regFloorTime_, [&] { regFloor_.Walk(benchKey_.Get()); }); },
           [&] {
             regCapture = watch_.Time(regCaptureTime_, [&] {
               regBytes_ = IntoMemory([&](TWriter& w) { WriteRegistryKeyRecord(w, host_, root_, o_.key); });
             });
           });
    fileFloor_.Walk(o_.folder);
    inTurn([&] { fileFloor = watch_.Time(fileFloorTime_, [&] { fileFloor_.Walk(o_.folder); }); },
           [&] {
             fileCapture = watch_.Time(fileCaptureTime_, [&] {
               fileBytes_ = IntoMemory([&](TWriter& w) { WriteFolderRecord(w, host_, o_.folder); });
             });
           });
    printf("; registry floor %.0f, capture %.0f; file floor %.0f, capture %.0f", regFloor, regCapture, fileFloor,
           fileCapture);
  }
  printf("\n");
  fflush(stdout);
}

// The locale order on the name lists of both walks, sorted the two ways; and the conversion of
// the file times the file capture records. These are parts of the captures' own work beyond
// the floors.
void Bench::SortNames() {
  constexpr int kSortRepeats = 3;
  NameListCollector collector;
  collector.Registry(benchKey_.Get());
  collector.Files(o_.folder);
  auto sortBoth = [&](const NameLists& lists, Figure& byCompareTime, Figure& bySorterTime, const char* what) {
    size_t names = 0;
    for (const auto& list : lists) names += list.size();
    NameLists byCompare, bySorter;
    for (int i = 0; i < kSortRepeats; ++i) {
      byCompare = lists;
      bySorter = lists;
      watch_.Time(byCompareTime, [&] { SortByCompareString(byCompare); });
      watch_.Time(bySorterTime, [&] { SortByLocaleSorter(bySorter); });
    }
    printf(
        "locale order, %s: %zu lists of 2 names or more, %zu names; the sorter's order %s the CompareStringA "
        "order\n",
        what, lists.size(), names, bySorter == byCompare ? "equals" : "DIFFERS FROM");
  };
  sortBoth(collector.registryLists, regCompareSortTime_, regKeySortTime_, "registry");
  sortBoth(collector.fileLists, fileCompareSortTime_, fileKeySortTime_, "files");
  uint32_t sink = 0;
  for (int i = 0; i < kSortRepeats; ++i)
    watch_.Time(fileTimesTime_, [&] {
      for (const FILETIME& written : collector.fileTimes) {
        FILETIME local;
        WORD date = 0, time = 0;
        if (FileTimeToLocalFileTime(&written, &local) && FileTimeToDosDateTime(&local, &date, &time))
          sink += date ^ time;
      }
    });
  printf("file times: %zu converted (checksum %u)\n", collector.fileTimes.size(), sink);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    Options options = ParseOptions(argc, argv);
    return Bench(options).Run();
  } catch (...) {
    ErrorInfo error = DescribeError(std::current_exception());
    fprintf(stderr, "capture_bench: %s\n", error.message.c_str());
    return 1;
  }
}

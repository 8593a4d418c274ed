#pragma once
// The process's memory while a piece of work runs, sampled, because Wine keeps no peak of it.

#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

inline int64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

inline PROCESS_MEMORY_COUNTERS_EX MemoryCounters() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  return counters;
}

// Committed private memory, what Windows counts as the process's pagefile usage: Wine reports
// PagefileUsage as the resident anonymous pages instead, which leave out memory that is
// allocated but not yet touched.
inline size_t CommittedPrivateBytes() {
  size_t total = 0;
  MEMORY_BASIC_INFORMATION info;
  for (const char* address = nullptr; VirtualQuery(address, &info, sizeof info) == sizeof info;) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    const char* next = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
    if (next <= address) break;
    address = next;
  }
  return total;
}

struct MemoryPeak {
  size_t startCommitted = 0, peakCommitted = 0;
  size_t startPagefile = 0, peakPagefile = 0;
  size_t startWorkingSet = 0, peakWorkingSet = 0;
};

// Samples the process's memory every 2 ms while work runs: Wine keeps no peak of its private
// memory (PeakPagefileUsage is the current value there), only of the working set.
inline MemoryPeak MeasurePeak(const std::function<void()>& work) {
  MemoryPeak peak;
  PROCESS_MEMORY_COUNTERS_EX start = MemoryCounters();
  peak.startCommitted = peak.peakCommitted = CommittedPrivateBytes();
  peak.startPagefile = peak.peakPagefile = start.PagefileUsage;
  peak.startWorkingSet = start.WorkingSetSize;
  std::atomic<bool> done{false};
  auto sample = [&] {
    peak.peakCommitted = std::max(peak.peakCommitted, CommittedPrivateBytes());
    PROCESS_MEMORY_COUNTERS_EX now = MemoryCounters();
    peak.peakPagefile = std::max(
        {peak.peakPagefile, static_cast<size_t>(now.PagefileUsage), static_cast<size_t>(now.PeakPagefileUsage)});
  };
  std::thread sampler([&] {
    while (!done.load()) {
      sample();
      Sleep(2);
    }
  });
  // Wine commits a thread's whole stack: the sampler's own is no part of the work.
  const size_t samplerStack = CommittedPrivateBytes() - peak.startCommitted;
  struct Stop {
    std::atomic<bool>& done;
    std::thread& sampler;
    ~Stop() {
      done.store(true);
      sampler.join();
    }
  };
  {
    Stop stop{done, sampler};
    work();
  }
  sample();
  peak.peakCommitted -= std::min(samplerStack, peak.peakCommitted);
  peak.peakWorkingSet = MemoryCounters().PeakWorkingSetSize;
  return peak;
}

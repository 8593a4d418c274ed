#pragma once
// Timing of the benchmarks: wall time, CPU time of the process and of the prefix's wineserver,
// and the samples of every round.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

inline double WallMs() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / ticksPerMs;
}

// CPU time of the work, wherever it runs: this process (all threads, user and kernel) and,
// when its Linux pid is known, the wineserver, which does the registry's work. On a machine
// that other jobs share, wall time grows with their load and CPU time much less (time the host
// takes from a virtual machine still counts as CPU time).
class CpuClock {
 public:
  explicit CpuClock(int serverPid)
      : statPath_(serverPid > 0 ? "Z:\\proc\\" + std::to_string(serverPid) + "\\stat" : "") {}

  bool SeesServer() const { return !statPath_.empty() && ServerMs() >= 0; }

  double Ms() const {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    double ms = (Ticks(kernel) + Ticks(user)) / 10000.0;
    double server = ServerMs();
    return server > 0 ? ms + server : ms;
  }

 private:
  static double Ticks(const FILETIME& t) {
    return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
  }

  // utime and stime of /proc/<pid>/stat (fields 14 and 15, in 1/100 s), read through drive Z:.
  double ServerMs() const {
    if (statPath_.empty()) return -1;
    HANDLE file = CreateFileA(statPath_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    char text[1024];
    DWORD read = 0;
    BOOL ok = ReadFile(file, text, sizeof text - 1, &read, nullptr);
    CloseHandle(file);
    if (!ok) return -1;
    text[read] = '\0';
    const char* fields = strrchr(text, ')');
    unsigned long long utime = 0, stime = 0;
    if (!fields || sscanf(fields + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &utime, &stime) != 2)
      return -1;
    return static_cast<double>(utime + stime) * 10.0;
  }

  std::string statPath_;
};

struct Samples {
  std::vector<double> ms;
  double Best() const { return ms.empty() ? 0 : *std::min_element(ms.begin(), ms.end()); }
  double Median() const { return MedianOf(ms); }
  static double MedianOf(std::vector<double> s) {
    if (s.empty()) return 0;
    std::sort(s.begin(), s.end());
    size_t n = s.size();
    return n % 2 ? s[n / 2] : (s[n / 2 - 1] + s[n / 2]) / 2;
  }
};

// One figure of the table: its wall and CPU time in every round.
struct Figure {
  Samples wall;
  Samples cpu;

  void Add(double wallMs, double cpuMs) {
    wall.ms.push_back(wallMs);
    cpu.ms.push_back(cpuMs);
  }
  // The ratio of each round's time to the same round's reference, the median of them: the two
  // ran seconds apart, so a change of the machine's load touches both.
  double PairedRatio(const Figure& reference) const {
    std::vector<double> ratios;
    for (size_t i = 0; i < wall.ms.size() && i < reference.wall.ms.size(); ++i)
      ratios.push_back(wall.ms[i] / reference.wall.ms[i]);
    return Samples::MedianOf(ratios);
  }
};

class Stopwatch {
 public:
  explicit Stopwatch(const CpuClock& cpu) : cpu_(cpu) {}
  double Time(Figure& figure, const std::function<void()>& work) const {
    double cpu = cpu_.Ms();
    double wall = WallMs();
    work();
    double wallMs = WallMs() - wall;
    figure.Add(wallMs, cpu_.Ms() - cpu);
    return wallMs;
  }

 private:
  const CpuClock& cpu_;
};

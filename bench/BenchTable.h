#pragma once
// The tables the benchmarks print: figures with their best and median times and their ratio to
// a reference, and the memory of the process against a target.

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "bench/BenchMemory.h"
#include "bench/BenchTiming.h"

inline std::string Format(const char* format, double value) {
  char text[64];
  snprintf(text, sizeof text, format, value);
  return text;
}

inline std::string Mb(double bytes) { return Format("%.1f MB", bytes / (1024.0 * 1024.0)); }

// A figure, and when it has a target, the figure it is set against and the highest ratio of
// best wall times that meets the target.
struct Row {
  Row(std::string name, const Figure* figure, const Figure* reference = nullptr, std::string target = "",
      double limit = 0, bool strict = false)
      : name(std::move(name)),
        figure(figure),
        reference(reference),
        target(std::move(target)),
        limit(limit),
        strict(strict) {}

  std::string name;
  const Figure* figure;
  const Figure* reference;
  std::string target;
  double limit;
  bool strict;  // the ratio must stay below the limit, not reach it
};

inline void PrintTable(const std::vector<Row>& rows) {
  printf("\n| %-46s | %9s | %9s | %9s | %-30s | %-14s |  %s\n", "figure (times in ms)", "wall best", "wall med.",
         "CPU best", "ratio: wall best (paired, CPU)", "target", "result");
  printf("|%s|%s|%s|%s|%s|%s|%s\n", std::string(48, '-').c_str(), std::string(11, '-').c_str(),
         std::string(11, '-').c_str(), std::string(11, '-').c_str(), std::string(32, '-').c_str(),
         std::string(16, '-').c_str(), std::string(8, '-').c_str());
  for (const Row& r : rows) {
    std::string ratio, result;
    if (r.reference) {
      double best = r.figure->wall.Best() / r.reference->wall.Best();
      // CPU times come in 10 ms steps: a reference below one step has no ratio.
      const bool cpuMeasured = r.reference->cpu.Best() > 0;
      double cpu = cpuMeasured ? r.figure->cpu.Best() / r.reference->cpu.Best() : 0;
      ratio = Format("%.2fx", best) + Format(" (%.2fx, ", r.figure->PairedRatio(*r.reference)) +
              (cpuMeasured ? Format("%.2fx)", cpu) : std::string("n/a)"));
      if (!r.target.empty()) {
        // Wall time is what the user waits; CPU time shows what is left of it when other jobs
        // share the machine.
        auto meets = [&](double ratio) { return r.strict ? ratio < r.limit : ratio <= r.limit; };
        result = std::string(meets(best) ? "pass" : "MISS");
        if (cpuMeasured) result += meets(cpu) ? " (CPU pass)" : " (CPU MISS)";
      }
    }
    printf("| %-46s | %9.0f | %9.0f | %9.0f | %-30s | %-14s |  %s\n", r.name.c_str(), r.figure->wall.Best(),
           r.figure->wall.Median(), r.figure->cpu.Best(), ratio.c_str(), r.target.c_str(), result.c_str());
  }
}

// The process's memory while work ran, against what the work produced (a file) plus 32 MB.
inline void PrintMemory(const MemoryPeak& memory, const std::string& during, const std::string& product,
                        int64_t productSize) {
  double limit = static_cast<double>(productSize) + 32.0 * 1024 * 1024;
  printf("\n| %-52s | %10s | %10s | %-24s |  %s\n", ("memory of the process during " + during).c_str(), "before",
         "peak", "target", "result");
  printf("|%s|%s|%s|%s|%s\n", std::string(54, '-').c_str(), std::string(12, '-').c_str(), std::string(12, '-').c_str(),
         std::string(26, '-').c_str(), std::string(8, '-').c_str());
  auto line = [&](const char* what, size_t before, size_t peak) {
    printf("| %-52s | %10s | %10s | %-24s |  %s\n", what, Mb(static_cast<double>(before)).c_str(),
           Mb(static_cast<double>(peak)).c_str(), ("<= " + Mb(limit) + " (file + 32)").c_str(),
           static_cast<double>(peak) <= limit ? "pass" : "MISS");
  };
  printf("| %-52s | %10s | %10s | %-24s |\n", product.c_str(), "", Mb(static_cast<double>(productSize)).c_str(), "");
  line("committed private bytes (Windows' PagefileUsage)", memory.startCommitted, memory.peakCommitted);
  line("private bytes touched (Wine's PagefileUsage)", memory.startPagefile, memory.peakPagefile);
  line("working set, PeakWorkingSetSize (with code)", memory.startWorkingSet, memory.peakWorkingSet);
}

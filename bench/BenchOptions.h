#pragma once
// The options both benchmarks take: where the workload is and how often to run. Each bench
// reads its own further options from the same "--name value" pairs.

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

struct WorkloadOptions {
  std::string root = "HKEY_CURRENT_USER";
  std::string key = "Software\\QuorvelBench";
  char drive = 'Q';
  std::string folder = "Q:\\";
  int rounds = 3;
  int serverPid = 0;  // the wineserver's Linux pid, for its CPU time
};

// Reads the "--name value" pairs of argv: the workload's into options, any other pair goes to
// other(name, value).
template <typename Other>
void ParseBenchOptions(int argc, char** argv, WorkloadOptions& options, Other other) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i], value = argv[i + 1];
    if (name == "--root")
      options.root = value;
    else if (name == "--key")
      options.key = value;
    else if (name == "--drive")
      options.drive = static_cast<char>(toupper(static_cast<unsigned char>(value[0])));
    else if (name == "--folder")
      options.folder = value.back() == '\\' ? value : value + "\\";
    else if (name == "--rounds")
      options.rounds = std::max(1, atoi(value.c_str()));
    else if (name == "--server-pid")
      options.serverPid = atoi(value.c_str());
    else
      other(name, value);
  }
}

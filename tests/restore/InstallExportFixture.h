#pragma once
// A compare of two small configurations whose log the install-file export then reads, and
// readers for the files the export writes.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "restore/InstallExport.h"
#include "tests/compare/CompareFixture.h"

class InstallExportFixture : public CompareFixture {
 protected:
  ResultTrees Results() { return {registryResult, driveResult, systemFileResult}; }

  // Runs the export of one command from the top node of its tree (or all of them).
  bool Export(InstallExportCommand command, KindSet kinds = kAllKinds) {
    InstallExportRequest request;
    request.command = command;
    request.kinds = kinds;
    request.baseName = Path("Setup");
    request.copyFolder = Path("Copy");
    switch (command) {
      case InstallExportCommand::Registry:
        request.start = registryResult.FirstTop();
        break;
      case InstallExportCommand::SystemFiles:
        request.start = systemFileResult.FirstTop();
        break;
      case InstallExportCommand::Drives:
        request.start = driveResult.FirstTop();
        break;
      case InstallExportCommand::All:
        break;
    }
    return ExportInstallFiles(Results(), logFile, positions, request, ui);
  }

  // The lines of a written file; every line must end in CR LF.
  std::vector<std::string> Lines(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    EXPECT_TRUE(in.good()) << name;
    const std::string content(std::istreambuf_iterator<char>(in), {});
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < content.size()) {
      const size_t end = content.find("\r\n", start);
      if (end == std::string::npos) {
        ADD_FAILURE() << name << ": the last line has no CR LF";
        break;
      }
      lines.push_back(content.substr(start, end - start));
      start = end + 2;
    }
    return lines;
  }
};

inline std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The [Version] and [Strings] sections both INF files begin with.
inline const std::vector<std::string> kInfTemplate = {
    "[Version]",
    "Signature=$Chicago$",
    "Provider=%Author%",
    "SetupClass=BASE",
    "Class=NoDriver",
    "",
    "[Strings]",
    "Product=\"SnapTrace InstallScript\"",
    "Version=\"1.0\"",
    "Info=\"SnapTrace InstallScript\"",
    "Author=\"Quorvel\"",
    "Copyright=\"Made by Quorvel from a log file of recorded changes\"",
    "",
};

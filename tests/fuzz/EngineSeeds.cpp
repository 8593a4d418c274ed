// Writes the seed inputs of the engine's fuzz targets into <folder>/<target>/: configuration
// files, logs, selection files and tree blocks built with the test builders, and the logs the
// compare itself writes, so that each fuzzer starts from valid structure of every section.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "compare/CompareConfigurations.h"
#include "core/ScriptedInteraction.h"
#include "datafiles/SelectionFile.h"
#include "datafiles/TreeBlock.h"
#include "tests/compare/ConfigurationBuilder.h"
#include "tests/compare/LogBuilder.h"
#include "tests/compare/SampleLog.h"
#include "tests/fuzz/CompareInput.h"

namespace {

// The valid side after an installation: a key, values, folders, files, an INI section and text
// lines added, changed and removed, so that the compare meets every change kind.
Configuration Installed() {
  Configuration config = ValidConfiguration();
  Key& user = config.roots[0];
  user.values = {Binary("b", {1, 2, 4}), Sz("", "default"), Sz("Path", "%WINDIR%", 2)};
  user.subkeys[0].subkeys[0].values = {Sz("a", "c"), Dword("e", -1)};
  user.subkeys[0].subkeys.push_back(Key{"Vendor", {Key{"Tool", {}, {Dword("On", 1)}}}, {Binary("Blob", Bytes(40, 7))}});
  config.roots.push_back(Key{"HKEY_LOCAL_MACHINE", {Key{"SOFTWARE", {}, {}}}, {}});
  Folder& root = config.drives[0].root;
  root.files = {FileEntry{"boot.ini", 0x2A5B6001, 12, 0x21}, FileEntry{"setup.log", 0x2A5B6000, 300, 0x20}};
  root.folders.push_back(Folder{"APP", {Folder{"BIN", {}, {FileEntry{"tool.exe", 0x2A5B6000, 4096}}}}, {}});
  config.drives.push_back(Drive{"D: Data", 18, Folder{"", {}, {FileEntry{"data.db"}}}});
  config.systemFiles = {
      SystemFile{"WIN.INI",
                 {IniSection{"[windows]", {{"load", "app.exe"}, {"run", ""}}}, IniSection{"[App]", {{"Version", "2"}}}},
                 {}},
      SystemFile{"Autoexec.bat", {}, {"@ECHO OFF", "", "SET PATH=C:\\APP"}},
      SystemFile{"Config.sys", {}, {"FILES=40"}}};
  return config;
}

// The compare's own log of two configurations.
Bytes CompareLog(const Configuration& oldConfig, const Configuration& newConfig, const std::filesystem::path& temp) {
  const std::string oldFile = (temp / "Old.SXD").string();
  const std::string newFile = (temp / "New.SXD").string();
  const std::string logFile = (temp / "Result.SXL").string();
  WriteBytesToFile(oldFile, EncodeConfiguration(oldConfig));
  WriteBytesToFile(newFile, EncodeConfiguration(newConfig));
  TreeModel trees[6];
  std::vector<std::string> excludeList{"C:\\X"};
  LogPositions positions;
  ScriptedInteraction ui;
  CompareConfigurations(oldFile, newFile, logFile,
                        {trees[0], trees[1], trees[2], trees[3], trees[4], trees[5], {21, 22}}, excludeList, positions,
                        ui);
  return ReadBytesOfFile(logFile);
}

Bytes Prefixed(uint8_t first, const Bytes& rest) {
  Bytes bytes{first};
  bytes.insert(bytes.end(), rest.begin(), rest.end());
  return bytes;
}

using Seeds = std::vector<std::pair<std::string, Bytes>>;

Seeds CompareSeeds() {
  const Bytes installed = EncodeConfiguration(Installed());
  Configuration empty;
  return {{"new-side-installed", Prefixed(0, installed)},
          {"old-side-installed", Prefixed(1, installed)},
          {"new-side-same", Prefixed(0, EncodeConfiguration(ValidConfiguration()))},
          {"new-side-empty", Prefixed(0, EncodeConfiguration(empty))}};
}

Seeds LogSeeds(const std::filesystem::path& temp) {
  return {{"sample.SXL", SampleLog().bytes},
          {"install.SXL", CompareLog(ValidConfiguration(), Installed(), temp)},
          {"uninstall.SXL", CompareLog(Installed(), ValidConfiguration(), temp)}};
}

Seeds SelectionSeeds() {
  LogSelection small;
  SampleLog sample;  // its result trees serve as bigger selection trees
  return {{"small.SXS", Encode([&](TWriter& w) {
             SaveSelections(w, small.registry, small.drives, small.systemFiles, small.excludeList);
           })},
          {"results.SXS", Encode([&](TWriter& w) {
             SaveSelections(w, sample.registry, sample.drives, sample.systemFiles, {"C:\\A.TXT", "D:\\B\\C.DAT"});
           })},
          // An older version's file: the three tree blocks without the exclude list.
          {"no-exclude-list.SXS", Encode([&](TWriter& w) {
             for (TreeModel* tree : {&small.registry, &small.drives, &small.systemFiles})
               WriteTreeBlock(w, *tree, false, false);
           })}};
}

Seeds TreeBlockSeeds() {
  SampleLog sample;
  Seeds seeds;
  for (const auto& [name, tree] : {std::pair<const char*, TreeModel*>{"registry", &sample.registry},
                                   {"drives", &sample.drives},
                                   {"system-files", &sample.systemFiles}}) {
    TreeModel* const blockTree = tree;
    seeds.emplace_back(name, Encode([&](TWriter& w) { WriteTreeBlock(w, *blockTree, false, false); }));
  }
  return seeds;
}

bool WriteSeeds(const std::filesystem::path& folder, const Seeds& seeds) {
  std::filesystem::create_directories(folder);
  for (const auto& [name, bytes] : seeds) {
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: engine_seeds <folder>\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const std::filesystem::path temp = folder / "engine-seeds.tmp";
  std::filesystem::create_directories(temp);
  const Seeds compare = CompareSeeds();
  const bool written = WriteSeeds(folder / "compare_fuzz", compare) &&
                       WriteSeeds(folder / "compare_log_fuzz", compare) &&
                       WriteSeeds(folder / "log_loader_fuzz", LogSeeds(temp)) &&
                       WriteSeeds(folder / "selection_file_fuzz", SelectionSeeds()) &&
                       WriteSeeds(folder / "tree_block_fuzz", TreeBlockSeeds());
  std::filesystem::remove_all(temp);
  return written ? 0 : 1;
}

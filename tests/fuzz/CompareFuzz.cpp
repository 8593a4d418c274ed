// Longer runs of the compare over arbitrary configuration files than the unit tests afford,
// by hand: compare_fuzz [corpus folder] (libFuzzer options apply). The first input byte picks
// the damaged side; the rest is that side's file, the other side is a small valid file.
// Anything but our own exceptions, and any flood of messages, is a finding.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "compare/CompareConfigurations.h"
#include "core/Errors.h"
#include "core/ScriptedInteraction.h"
#include "tests/compare/ConfigurationBuilder.h"

namespace {

class CountingInteraction : public ScriptedInteraction {
 public:
  MsgAnswer Ask(MsgType type, const std::string& text, MsgButtons buttons) override {
    if (messages.size() >= 50) std::abort();  // a flood: the merge lost its bound
    return ScriptedInteraction::Ask(type, text, buttons);
  }
};

Configuration Valid() {
  Configuration config;
  config.roots = {Key{"HKEY_CURRENT_USER",
                      {Key{"Software", {Key{"App", {}, {Sz("a", "b"), Dword("d", 1)}}}, {}}},
                      {Binary("b", {1, 2, 3})}}};
  config.drives = {
      Drive{"C: System", 17, Folder{"", {Folder{"WINDOWS", {}, {FileEntry{"win.ini"}}}}, {FileEntry{"boot.ini"}}}}};
  config.systemFiles = {SystemFile{"WIN.INI", {IniSection{"[windows]", {{"load", ""}}}}, {}},
                        SystemFile{"Autoexec.bat", {}, {"@ECHO OFF"}}};
  return config;
}

struct Workspace {
  Workspace() {
    path = std::filesystem::temp_directory_path() / ("quorvel-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(path);
    valid = EncodeConfiguration(Valid());
  }
  ~Workspace() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  std::filesystem::path path;
  Bytes valid;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Workspace folder;
  if (size == 0) return 0;
  const bool damageOld = data[0] & 1;
  const Bytes damaged(data + 1, data + size);
  const std::string oldFile = (folder.path / "Old.SXD").string();
  const std::string newFile = (folder.path / "New.SXD").string();
  const std::string logFile = (folder.path / "Result.SXL").string();
  std::filesystem::remove(oldFile);
  std::filesystem::remove(newFile);
  WriteBytesToFile(oldFile, damageOld ? damaged : folder.valid);
  WriteBytesToFile(newFile, damageOld ? folder.valid : damaged);

  TreeModel trees[6];
  std::vector<std::string> excludeList{"C:\\X"};
  LogPositions positions;
  CountingInteraction ui;
  try {
    CompareConfigurations(oldFile, newFile, logFile,
                          {trees[0], trees[1], trees[2], trees[3], trees[4], trees[5], {21, 22}}, excludeList,
                          positions, ui);
  } catch (const Exception&) {
  }
  if (excludeList.size() != 1) std::abort();
  return 0;
}

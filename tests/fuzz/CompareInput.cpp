#include "tests/fuzz/CompareInput.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "compare/CompareConfigurations.h"
#include "core/Errors.h"
#include "tests/fuzz/FuzzWorkspace.h"

Configuration ValidConfiguration() {
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

MsgAnswer CountingInteraction::Ask(MsgType type, const std::string& text, MsgButtons buttons) {
  if (messages.size() >= 50) std::abort();
  return ScriptedInteraction::Ask(type, text, buttons);
}

bool CompareInput(const uint8_t* data, size_t size, const std::string& logFile, UserInteraction& ui) {
  static const Bytes valid = EncodeConfiguration(ValidConfiguration());
  if (size == 0) return false;
  const bool damageOld = data[0] & 1;
  const Bytes damaged(data + 1, data + size);
  const std::string oldFile = Workspace().PathOf("Old.SXD");
  const std::string newFile = Workspace().PathOf("New.SXD");
  WriteBytesToFile(oldFile, damageOld ? damaged : valid);
  WriteBytesToFile(newFile, damageOld ? valid : damaged);

  TreeModel trees[6];
  std::vector<std::string> excludeList{"C:\\X"};
  LogPositions positions;
  bool accepted = true;
  try {
    CompareConfigurations(oldFile, newFile, logFile,
                          {trees[0], trees[1], trees[2], trees[3], trees[4], trees[5], {21, 22}}, excludeList,
                          positions, ui);
  } catch (const Exception&) {
    accepted = false;
  }
  if (excludeList.size() != 1) std::abort();
  return accepted;
}

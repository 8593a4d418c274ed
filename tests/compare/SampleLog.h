#pragma once
// One small log with every node and record kind of the three sections, written to a file, and
// the trees and positions a load of it fills.

#include <string>
#include <vector>

#include "compare/LogLayout.h"
#include "compare/LogLoader.h"
#include "core/ScriptedInteraction.h"
#include "core/TreeModel.h"
#include "tests/compare/LogBuilder.h"

// 2025-01-15 10:30:00 and 2025-01-16 08:00:00 as packed MS-DOS date and time.
inline constexpr uint32_t kTime1 = 0x5A2F53C0;
inline constexpr uint32_t kTime2 = 0x5A304000;

inline std::string ByteRun(size_t count) {
  std::string bytes;
  for (size_t i = 0; i < count; ++i) bytes.push_back(static_cast<char>(i * 7 + 1));
  return bytes;
}

struct SampleLog {
  // Record offsets of the nodes that own blocks.
  int32_t vendor = 0, changed = 0, gone = 0;             // registry
  int32_t newApp = 0, windows = 0;                       // drives
  int32_t iniSection = 0, newSection = 0, autoexec = 0;  // system files

  TreeModel registry, drives, systemFiles;
  LogSelection selection;
  LogPositions positions;
  Bytes bytes;

  SampleLog() {
    ChangeBlockBuilder reg(kRegistryChangeHeader);
    vendor = reg.AddKey(
        {"",
         {{"App", {{"Sub", {}, {LogText("Path", 9, "C:\\APP")}}}, {LogDword("Version", 9, 2)}}, {"Empty", {}, {}}},
         {LogText("", 9, ""), LogBinary("Bin", 9, ByteRun(300)), LogDword("Count", 9, -2)}});
    changed =
        reg.AddValues({LogText("Path", 11, "old"), LogText("Path", 12, "new"), LogText("Expand", 9, "%WINDIR%", 2),
                       LogBinary("Multi", 10 | 16, std::string("a\0b\0\0", 5), 7)});
    gone = reg.AddKey({"", {{"Child", {}, {LogText("V", 10, "v")}}}, {LogText("W", 10 | 16, "w")}});

    ChangeBlockBuilder drv(kDriveChangeHeader);
    newApp = drv.AddFolder({"",
                            {{"BIN", {}, {{"TOOL.EXE", 9, kTime1, 1234567, 0x20}}}},
                            {{"APP.EXE", 9, kTime1, 40960, 0x21}, {"README.TXT", 9, kTime2, 12, 0x27}}});
    windows = drv.AddFiles({{"WIN.INI", 11, kTime1, 100, 0x20},
                            {"WIN.INI", 12, kTime2, 120, 0x21},
                            {"NEW.DLL", 9, kTime2, 5000, 0x20},
                            {"OLD.DLL", 10 | 16, kTime1, 0, 0}});

    ChangeBlockBuilder sys(kSystemFileChangeHeader);
    iniSection = sys.AddEntries({{"load", 11, "a.exe"}, {"load", 12, "b.exe"}, {"run", 9, "c.exe"}});
    newSection = sys.AddEntries({{"k1", 9, "v1"}, {"k2", 9, "v2"}});
    autoexec = sys.AddEntries({{"OLD LINE", 10, "", 0}, {"NEW LINE", 9, "", 0}, {"PATH X", 9, "", 11}});

    TreeNode* top = AddLogNode(registry, nullptr, "My Computer", 0, 2, 2);
    TreeNode* hklm = AddLogNode(registry, top, "HKEY_LOCAL_MACHINE", 0, 0, 1);
    TreeNode* software = AddLogNode(registry, hklm, "SOFTWARE", 0, 0, 1);
    AddLogNode(registry, software, "Vendor", 6, 0, 1, vendor, true);
    AddLogNode(registry, software, "Changed", 8, 0, 1, changed);
    AddLogNode(registry, software, "Gone", 7 | 16, 0, 1, gone, true);
    AddLogNode(registry, top, "HKEY_USERS", 6, 0, 1);

    TreeNode* drivesTop = AddLogNode(drives, nullptr, "Drives", 0, 2, 2);
    TreeNode* c = AddLogNode(drives, drivesTop, "C: System", 0, 17, 17);
    AddLogNode(drives, c, "NEWAPP", 6, 0, 0, newApp, true);
    AddLogNode(drives, c, "WINDOWS", 8, 0, 1, windows);

    TreeNode* filesTop = AddLogNode(systemFiles, nullptr, "System Files", 0, 0, 0);
    TreeNode* winIni = AddLogNode(systemFiles, filesTop, "WIN.INI", 0, 21, 21);
    AddLogNode(systemFiles, winIni, "[windows]", 8, 21, 21, iniSection);
    AddLogNode(systemFiles, winIni, "[NewSect]", 6, 22, 22, newSection);
    AddLogNode(systemFiles, filesTop, "AUTOEXEC.BAT", 8, 22, 22, autoexec);
    AddLogNode(systemFiles, filesTop, "CONFIG.SYS", 6, 22, 22);

    TreeModel* const results[3] = {&registry, &drives, &systemFiles};
    const Bytes blocks[3] = {reg.Finish(), drv.Finish(), sys.Finish()};
    bytes = AssembleLog(selection, results, blocks, positions);
  }
};

// What the window holds after loading a log: selections, results, positions.
struct LoadedLog {
  TreeModel registrySelection, driveSelection, systemFileSelection;
  std::vector<std::string> excludeList;
  TreeModel registry, drives, systemFiles;
  LogPositions positions;
  ScriptedInteraction ui;
  std::string fileName;

  ResultTrees Results() { return {registry, drives, systemFiles}; }

  void Load(const std::string& name) {
    LoadLogFile(name, registrySelection, driveSelection, systemFileSelection, excludeList, Results(), positions, ui,
                {});
    fileName = name;
  }

  // The node at a "\"-separated path of texts from the top node.
  static TreeNode* Find(TreeModel& tree, const std::string& path) {
    TreeNode* node = nullptr;
    size_t start = 0;
    while (start <= path.size()) {
      const size_t end = std::min(path.find('\\', start), path.size());
      const std::string name = path.substr(start, end - start);
      TreeNode* found = nullptr;
      const size_t count = node ? node->Count() : tree.TopCount();
      for (size_t i = 0; i < count && !found; ++i) {
        TreeNode* candidate = node ? node->Child(i) : tree.Top(i);
        if (candidate->Text() == name) found = candidate;
      }
      if (!found) return nullptr;
      node = found;
      start = end + 1;
    }
    return node;
  }
};
